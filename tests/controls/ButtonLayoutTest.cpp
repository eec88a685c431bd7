#include "ButtonTestSupport.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

// The caption's size as the layout measures it in a room of the given size.
QSize measure(const gxButtons_H &button, const QString &text, int roomWidth, int roomHeight)
{
    return QFontMetrics(button.state().MemFont)
        .boundingRect(QRect(0, 0, roomWidth, roomHeight), Qt::TextWordWrap | Qt::TextShowMnemonic, text)
        .size();
}

ButtonPicture square(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return ButtonPicture::fromBitmap(image);
}

// Bounding box of the dark (text) pixels inside an area of a light face.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(ButtonLayout, CaptionsAreCentredShadedOnesTakeTwoMoreAndLongOnesStayInsideTheMargins)
{
    ButtonHost host(QSize(100, 30));
    host->set_Caption(QStringLiteral("OK"));
    const QSize text = measure(*host.button, QStringLiteral("OK"), 88, 18);
    const int left = (100 - text.width()) / 2, top = (30 - text.height()) / 2;
    EXPECT_EQ(host->state().CaptionRect, (ButtonBox { left, top, left + text.width(), top + text.height() }));
    host->set_CaptionStyle(2);
    EXPECT_EQ(host->state().CaptionRect.width(), text.width() + 2);
    EXPECT_EQ(host->state().CaptionRect.height(), text.height() + 2);

    ButtonHost wrapped(QSize(90, 70));
    wrapped->set_Caption(QStringLiteral("Choose the folder for the script"));
    const ButtonBox box = wrapped->state().CaptionRect;
    EXPECT_TRUE(box.left >= 6 && box.right <= 90 && box.top >= 6 && box.bottom <= 70 - 6);
    EXPECT_GT(box.height(), measure(*wrapped.button, QStringLiteral("Choose"), 78, 58).height());

    ButtonHost tall(QSize(60, 24));
    tall->set_Caption(QStringLiteral("One||Two||Three"));
    EXPECT_EQ(tall->state().CaptionRect.top, 6);
    EXPECT_EQ(tall->state().CaptionRect.bottom, 24 - 6);
}

TEST(ButtonLayout, TheLineBreakMarkGivesTwoLinesEachCentred)
{
    ButtonHost host(QSize(120, 50));
    host->set_Caption(QStringLiteral("Save||Project"));
    const ButtonBox caption = host->state().CaptionRect;
    EXPECT_EQ(caption.height(), measure(*host.button, QStringLiteral("Save\nProject"), 108, 38).height());
    EXPECT_GT(caption.height(), measure(*host.button, QStringLiteral("Project"), 108, 38).height() * 3 / 2);

    const int middle = caption.top + caption.height() / 2;
    const QRect first = inkBox(host->MemDC(), QRect(6, caption.top, 108, middle - caption.top));
    const QRect second = inkBox(host->MemDC(), QRect(6, middle, 108, caption.bottom - middle));
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    EXPECT_LT(first.width(), second.width());
    EXPECT_NEAR(first.center().x(), 60, 2);
    EXPECT_NEAR(second.center().x(), 60, 2);
}

TEST(ButtonLayout, PicturesBesideTheCaptionOrAtTheEdgesMoveIt)
{
    ButtonHost host(QSize(120, 30));
    host->set_Caption(QStringLiteral("Go"));
    host->set_Picture(square(16));
    const int textWidth = measure(*host.button, QStringLiteral("Go"), 120 - 12 - 16, 18).width();
    const ButtonState &s = host->state();

    host->set_PictureAlign(1); // the two centred together, six pixels apart
    EXPECT_EQ(s.CaptionRect.left, (120 - (textWidth + 16 + 6)) / 2 + 6 + 16);
    EXPECT_EQ(s.PictureRect, (ButtonBox { s.CaptionRect.left - 6 - 16, 7, s.CaptionRect.left - 6, 23 }));

    host->set_PictureAlign(0);
    host->set_CaptionAlign(0);
    EXPECT_EQ(s.PictureRect.left, 6);
    EXPECT_EQ(s.CaptionRect.left, 16 + 12);

    host->set_PictureAlign(2);
    host->set_CaptionAlign(1);
    EXPECT_EQ(s.PictureRect.left, 120 - 6 - 16);
    EXPECT_EQ(s.CaptionRect.left, 120 - 16 - 12 - textWidth);

    // A picture drawn over the whole button reserves no room.
    ButtonHost large(QSize(120, 60));
    large->set_Caption(QStringLiteral("Open"));
    const ButtonBox without = large->state().CaptionRect;
    large->set_Picture(square(64));
    large->set_PictureSize(4);
    EXPECT_EQ(large->state().CaptionRect, without);
}

TEST(ButtonLayout, PicturesAboveAndBelowTheCaption)
{
    ButtonHost top(QSize(60, 40));
    top->set_Caption(QString());
    top->set_Picture(square(16));
    top->set_PictureAlign(4);
    // Without a caption the caption counts as -3 pixels high.
    EXPECT_EQ(top->state().PictureRect, (ButtonBox { 22, 13, 38, 29 }));

    ButtonHost bottom(QSize(80, 60));
    bottom->set_Caption(QStringLiteral("Up"));
    bottom->set_Picture(square(16));
    bottom->set_PictureAlign(5);
    const int textHeight = measure(*bottom.button, QStringLiteral("Up"), 68, 60 - 12 - 16).height();
    const int d = (60 - (textHeight + 16)) / 2;
    EXPECT_EQ(bottom->state().CaptionRect.top, d + 1);
    EXPECT_EQ(bottom->state().PictureRect.top, d + textHeight + 3);
    EXPECT_EQ(bottom->state().PictureRect.left, (80 - 16) / 2);
}

TEST(ButtonLayout, ASlantedLeftSideNarrowsTheFace)
{
    ButtonHost host(QSize(120, 28));
    host->set_Caption(QStringLiteral("Next"));
    host->set_ButtonShape(1);
    const int outline = 29; // the slant spans the height plus one
    ASSERT_EQ(host->state().OutlineLeftX, outline);
    const int left = outline - outline / 3;
    const int textWidth = measure(*host.button, QStringLiteral("Next"), 120 - left - 12, 16).width();
    EXPECT_EQ(host->state().CaptionRect.left, (120 - left - textWidth) / 2 + left);
}

class ButtonPressedCaptionTest : public testing::TestWithParam<std::pair<int, QPoint>>
{
};

TEST_P(ButtonPressedCaptionTest, MovesWithThePressedFace)
{
    ButtonHost host(QSize(100, 36));
    host->set_ButtonShape(GetParam().first);
    host->set_Caption(QStringLiteral("Press"));
    const QRect area = host->state().CaptionRect.toRect().adjusted(-2, -2, 2, 2);
    const QRect idle = inkBox(host->MemDC(), area);
    pressAt(host.button, QPoint(50, 18));
    ASSERT_FALSE(idle.isEmpty());
    EXPECT_EQ(inkBox(host->MemDC(), area), idle.translated(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Shapes, ButtonPressedCaptionTest,
    testing::Values(std::pair(0, QPoint(1, 1)), std::pair(3, QPoint(1, 1)), std::pair(4, QPoint(0, 1)),
        std::pair(6, QPoint(0, 1))));

} // namespace

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

TEST(ButtonLayout, ACentredCaptionSitsInTheMiddle)
{
    ButtonHost host(QSize(100, 30));
    host.button->set_Caption(QStringLiteral("OK"));
    const QSize text = measure(*host.button, QStringLiteral("OK"), 88, 18);
    const ButtonBox expected { (100 - text.width()) / 2, (30 - text.height()) / 2, 0, 0 };
    EXPECT_EQ(host.button->state().CaptionRect,
        (ButtonBox { expected.left, expected.top, expected.left + text.width(), expected.top + text.height() }));
}

TEST(ButtonLayout, TheLineBreakMarkGivesTwoLinesEachCentred)
{
    ButtonHost host(QSize(120, 50));
    host.button->set_Caption(QStringLiteral("Save||Project"));
    const ButtonBox caption = host.button->state().CaptionRect;
    const int oneLine = measure(*host.button, QStringLiteral("Project"), 108, 38).height();
    EXPECT_EQ(caption.height(), measure(*host.button, QStringLiteral("Save\nProject"), 108, 38).height());
    EXPECT_GT(caption.height(), oneLine * 3 / 2);

    // Both lines are drawn about the same centre.
    const QImage &face = host.button->MemDC();
    const int middle = caption.top + caption.height() / 2;
    const QRect first = inkBox(face, QRect(6, caption.top, 108, middle - caption.top));
    const QRect second = inkBox(face, QRect(6, middle, 108, caption.bottom - middle));
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_LT(first.width(), second.width());
    EXPECT_NEAR(first.center().x(), 60, 2);
    EXPECT_NEAR(second.center().x(), 60, 2);
}

TEST(ButtonLayout, ALongCaptionWrapsInsideTheMargins)
{
    ButtonHost host(QSize(90, 70));
    const QString text = QStringLiteral("Choose the folder for the script");
    host.button->set_Caption(text);
    const ButtonBox caption = host.button->state().CaptionRect;
    EXPECT_GE(caption.left, 6);
    EXPECT_LE(caption.right, 90);
    EXPECT_GE(caption.top, 6);
    EXPECT_LE(caption.bottom, 70 - 6);
    EXPECT_GT(caption.height(), measure(*host.button, QStringLiteral("Choose"), 78, 58).height());
}

TEST(ButtonLayout, ASmallPictureLeftOfTheCaptionIsCentredWithIt)
{
    ButtonHost host(QSize(120, 30));
    host.button->set_Caption(QStringLiteral("Go"));
    host.button->set_Picture(square(16));
    host.button->set_PictureAlign(1);
    const int textWidth = measure(*host.button, QStringLiteral("Go"), 120 - 12 - 16, 18).width();
    const ButtonBox caption = host.button->state().CaptionRect;
    const ButtonBox picture = host.button->state().PictureRect;
    EXPECT_EQ(caption.left, (120 - (textWidth + 16 + 6)) / 2 + 6 + 16);
    EXPECT_EQ(caption.left - picture.right, 6);
    EXPECT_EQ(picture, (ButtonBox { picture.left, 7, picture.left + 16, 23 }));
}

TEST(ButtonLayout, PicturesAtTheEdgesPushTheCaptionInward)
{
    ButtonHost host(QSize(120, 30));
    host.button->set_Caption(QStringLiteral("Go"));
    host.button->set_Picture(square(16));
    const int textWidth = measure(*host.button, QStringLiteral("Go"), 120 - 12 - 16, 18).width();

    host.button->set_PictureAlign(0);
    host.button->set_CaptionAlign(0);
    EXPECT_EQ(host.button->state().PictureRect.left, 6);
    EXPECT_EQ(host.button->state().CaptionRect.left, 16 + 12);

    host.button->set_PictureAlign(2);
    host.button->set_CaptionAlign(1);
    EXPECT_EQ(host.button->state().PictureRect.left, 120 - 6 - 16);
    EXPECT_EQ(host.button->state().CaptionRect.left, 120 - 16 - 12 - textWidth);
}

TEST(ButtonLayout, ATopPictureWithoutCaptionCountsTheCaptionAsMinusThree)
{
    ButtonHost host(QSize(60, 40));
    host.button->set_Caption(QString());
    host.button->set_Picture(square(16));
    host.button->set_PictureAlign(4);
    EXPECT_EQ(host.button->state().PictureRect, (ButtonBox { 22, 13, 38, 29 }));
}

TEST(ButtonLayout, ABottomPictureSitsBelowTheCaption)
{
    ButtonHost host(QSize(80, 60));
    host.button->set_Caption(QStringLiteral("Up"));
    host.button->set_Picture(square(16));
    host.button->set_PictureAlign(5);
    const int textHeight = measure(*host.button, QStringLiteral("Up"), 68, 60 - 12 - 16).height();
    const int d = (60 - (textHeight + 16)) / 2;
    EXPECT_EQ(host.button->state().CaptionRect.top, d + 1);
    EXPECT_EQ(host.button->state().PictureRect.top, d + textHeight + 3);
    EXPECT_EQ(host.button->state().PictureRect.left, (80 - 16) / 2);
}

TEST(ButtonLayout, ALargePictureReservesNoSpace)
{
    ButtonHost host(QSize(120, 60));
    host.button->set_Caption(QStringLiteral("Open"));
    const ButtonBox without = host.button->state().CaptionRect;
    host.button->set_Picture(square(64));
    host.button->set_PictureSize(4);
    EXPECT_EQ(host.button->state().CaptionRect, without);
}

TEST(ButtonLayout, ASlantedLeftSideNarrowsTheFace)
{
    ButtonHost host(QSize(120, 28));
    host.button->set_Caption(QStringLiteral("Next"));
    host.button->set_ButtonShape(1);
    const int outline = 29; // the slant spans the height plus one
    ASSERT_EQ(host.button->state().OutlineLeftX, outline);
    const int left = outline - outline / 3;
    const int usable = 120 - left;
    const int textWidth = measure(*host.button, QStringLiteral("Next"), usable - 12, 16).width();
    EXPECT_EQ(host.button->state().CaptionRect.left, (usable - textWidth) / 2 + left);
}

TEST(ButtonLayout, AShadedCaptionTakesTwoPixelsMore)
{
    ButtonHost host(QSize(100, 30));
    host.button->set_Caption(QStringLiteral("Shade"));
    const ButtonBox plain = host.button->state().CaptionRect;
    host.button->set_CaptionStyle(2);
    EXPECT_EQ(host.button->state().CaptionRect.width(), plain.width() + 2);
    EXPECT_EQ(host.button->state().CaptionRect.height(), plain.height() + 2);
}

TEST(ButtonLayout, ACaptionTallerThanTheButtonStaysInsideTheMargin)
{
    ButtonHost host(QSize(60, 24));
    host.button->set_Caption(QStringLiteral("One||Two||Three"));
    EXPECT_EQ(host.button->state().CaptionRect.top, 6);
    EXPECT_EQ(host.button->state().CaptionRect.bottom, 24 - 6);
}

struct PressCase
{
    int shape;
    QPoint shift;
};

class ButtonPressedCaptionTest : public testing::TestWithParam<PressCase>
{
};

TEST_P(ButtonPressedCaptionTest, MovesWithThePressedFace)
{
    ButtonHost host(QSize(100, 36));
    host.button->set_ButtonShape(GetParam().shape);
    host.button->set_Caption(QStringLiteral("Press"));
    const QRect area = host.button->state().CaptionRect.toRect().adjusted(-2, -2, 2, 2);
    const QRect idle = inkBox(host.button->MemDC(), area);
    moveMouse(host.button, QPoint(50, 18));
    pressLeft(host.button, QPoint(50, 18));
    const QRect pressed = inkBox(host.button->MemDC(), area);
    ASSERT_FALSE(idle.isEmpty());
    EXPECT_EQ(pressed, idle.translated(GetParam().shift));
}

INSTANTIATE_TEST_SUITE_P(Shapes, ButtonPressedCaptionTest,
    testing::Values(PressCase { 0, QPoint(1, 1) }, PressCase { 3, QPoint(1, 1) }, PressCase { 4, QPoint(0, 1) },
        PressCase { 6, QPoint(0, 1) }));

} // namespace

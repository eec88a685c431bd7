#include "ButtonTestSupport.h"

#include "controls/ButtonPainter.h"
#include "controls/WizardButtonLook.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

enum class Look { Normal, Focused, Pressed, Hover, Disabled };
const char *const LookNames[] = { "normal", "focused", "pressed", "hover", "disabled" };

// Puts a button into one of its looks through the events that produce it.
void showLook(gxButtons_H *button, Look look)
{
    const QPoint centre = button->rect().center();
    switch (look) {
    case Look::Normal:
        break;
    case Look::Focused:
        sendFocus(button, QEvent::FocusIn);
        break;
    case Look::Pressed:
        moveMouse(button, centre);
        pressLeft(button, centre);
        break;
    case Look::Hover:
        moveMouse(button, centre);
        break;
    case Look::Disabled:
        button->set_Enabled(false);
        break;
    }
}

bool hasInk(const QImage &face, QRgb background)
{
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (rgbAt(face, x, y) != background)
                return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// Faces

TEST(ButtonFace, Style7WithAGradientShadesItsEdgesFromTheFace)
{
    ButtonHost host(QSize(96, 28));
    gxButtons_H *button = host.button;
    WizardButtonLook().applyTo(*button);
    button->set_Caption(QString());
    const QImage &face = button->MemDC();
    const int W = 96;
    const int H = 28;

    const OleColor faceRGB = ShiftColor(0xCB9654, 31);
    ASSERT_EQ(button->state().FaceRGB, faceRGB);
    const std::vector<OleColor> bands = GradientStep(faceRGB, ShiftColor(0xFEF3E5, 31), W);
    for (int x : { 10, 48, 80 })
        EXPECT_EQ(rgbAt(face, x, 4), rgbOf(bands[std::size_t(x)])) << x;

    const OleColor light = ShiftColor(faceRGB, 31, true);
    const OleColor dark = ShiftColor(faceRGB, -64, true);
    const QRgb black = 0;
    const QRgb white = 0xFFFFFF;
    // Top and bottom edges, outside in.
    EXPECT_EQ(rgbAt(face, 10, 0), black);
    EXPECT_EQ(rgbAt(face, 10, 1), rgbOf(light));
    EXPECT_EQ(rgbAt(face, 10, 2), white);
    EXPECT_EQ(rgbAt(face, 10, H - 3), rgbOf(faceRGB));
    EXPECT_EQ(rgbAt(face, 10, H - 2), rgbOf(dark));
    EXPECT_EQ(rgbAt(face, 10, H - 1), black);
    // Left and right edges.
    EXPECT_EQ(rgbAt(face, 0, 10), black);
    EXPECT_EQ(rgbAt(face, 1, 10), rgbOf(light));
    EXPECT_EQ(rgbAt(face, 2, 10), white);
    EXPECT_EQ(rgbAt(face, W - 3, 10), rgbOf(faceRGB));
    EXPECT_EQ(rgbAt(face, W - 2, 10), rgbOf(dark));
    EXPECT_EQ(rgbAt(face, W - 1, 10), black);
    // Rounded corners.
    EXPECT_EQ(rgbAt(face, 1, 1), black);
    EXPECT_EQ(rgbAt(face, 2, 2), rgbOf(light));
    EXPECT_EQ(rgbAt(face, 3, 3), white);
    EXPECT_EQ(rgbAt(face, W - 2, H - 2), black);
    EXPECT_EQ(rgbAt(face, W - 3, H - 3), rgbOf(dark));
    EXPECT_FALSE(button->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(button->mask().contains(QPoint(1, 0)));
    EXPECT_FALSE(button->mask().contains(QPoint(0, 1)));
    EXPECT_TRUE(button->mask().contains(QPoint(2, 0)));
}

TEST(ButtonFace, Style7PressedDarkensItsEdges)
{
    ButtonHost host(QSize(96, 28));
    gxButtons_H *button = host.button;
    WizardButtonLook().applyTo(*button);
    button->set_Caption(QString());
    moveMouse(button, QPoint(40, 14));
    pressLeft(button, QPoint(40, 14));
    const QImage &face = button->MemDC();
    const OleColor pressedFace = ShiftColor(ShiftColor(0xCB9654, 31), -64, true);
    EXPECT_EQ(rgbAt(face, 10, 2), rgbOf(ShiftColor(pressedFace, -32)));
    EXPECT_EQ(rgbAt(face, 10, 1), rgbOf(ShiftColor(pressedFace, -64)));
    EXPECT_EQ(rgbAt(face, 10, 28 - 3), rgbOf(pressedFace));
    EXPECT_EQ(rgbAt(face, 10, 28 - 2), rgbOf(ShiftColor(pressedFace, -16)));
}

TEST(ButtonFace, AHoverFaceOfItsOwnFillsTheFaceUnderTheMouse)
{
    ButtonHost host(QSize(96, 28));
    gxButtons_H *button = host.button;
    WizardButtonLook().applyTo(*button);
    button->set_HoverBackColor(0x00FF00);
    moveMouse(button, QPoint(40, 14));
    EXPECT_EQ(rgbAt(button->MemDC(), 10, 4), rgbOf(ShiftColor(0x00FF00, 31)));
    EXPECT_EQ(rgbAt(button->MemDC(), 80, 4), rgbOf(ShiftColor(0x00FF00, 31)));
}

TEST(ButtonFace, Style2DarkensDownwardRoundingHalvesToEven)
{
    ButtonHost host(QSize(96, 28));
    host.button->set_ButtonStyle(2);
    host.button->set_BackColor(ButtonColors::RGB(200, 200, 200));
    host.button->set_Caption(QString());
    const OleColor face = ShiftColor(ButtonColors::RGB(200, 200, 200), 48, true);
    // Row 14 of 28 shifts by -12.5, which rounds to -12.
    EXPECT_EQ(rgbAt(host.button->MemDC(), 10, 14), rgbOf(ShiftColor(face, -12, true)));
    EXPECT_EQ(rgbAt(host.button->MemDC(), 10, 3), rgbOf(ShiftColor(face, -3, true)));
}

TEST(ButtonFace, GradientModesMirrorAndWideButtonsUseTwoPixelBands)
{
    auto row = [](int mode, int width) {
        ButtonHost host(QSize(width, 28));
        host.button->set_Caption(QString());
        host.button->set_BackColor(0x0000FF);
        host.button->set_GradientColor(0xFF0000);
        host.button->set_GradientMode(mode);
        std::vector<QRgb> pixels;
        for (int x = 0; x < width; ++x)
            pixels.push_back(rgbAt(host.button->MemDC(), x, 14));
        return pixels;
    };
    const std::vector<QRgb> forward = row(1, 96);
    const std::vector<QRgb> backward = row(2, 96);
    EXPECT_EQ(forward[10], rgbOf(GradientStep(0x0000FF, 0xFF0000, 96)[10]));
    for (int x = 3; x < 96 - 3; ++x)
        EXPECT_EQ(backward[std::size_t(x)], forward[std::size_t(96 - 1 - x)]) << x;

    // More than a quarter of the screen wide: bands of two pixels.
    const int wide = QGuiApplication::primaryScreen()->size().width() / 4 + 20;
    const std::vector<QRgb> bands = row(1, wide);
    for (int x = 4; x < wide - 4; x += 2)
        EXPECT_EQ(bands[std::size_t(x)], bands[std::size_t(x + 1)]) << x;
    EXPECT_NE(bands[4], bands[wide - 6]);
}

TEST(ButtonFace, AFocusedRectangleShowsADottedInvertedFocusRectangle)
{
    ButtonHost host(QSize(96, 28));
    host.button->set_Caption(QString());
    const QImage idle = host.button->MemDC().copy();
    sendFocus(host.button, QEvent::FocusIn);
    const QImage &focused = host.button->MemDC();
    for (int x = 4; x < 96 - 4; ++x) {
        const QRgb expected = (x + 4) % 2 == 0 ? (~rgbAt(idle, x, 4) & RGB_MASK) : rgbAt(idle, x, 4);
        EXPECT_EQ(rgbAt(focused, x, 4), expected) << x;
    }
}

TEST(ButtonFace, AStyleOutsideTheRangeDrawsNoEdges)
{
    ButtonHost host(QSize(96, 28));
    host.button->ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("BackStyle"), 9 } }));
    sendFocus(host.button, QEvent::FocusIn);
    const QRgb face = rgbOf(host.button->state().FaceRGB);
    EXPECT_EQ(rgbAt(host.button->MemDC(), 10, 0), face);
    EXPECT_EQ(rgbAt(host.button->MemDC(), 4, 10), face);
    EXPECT_EQ(rgbAt(host.button->MemDC(), 95, 27), face);
}

// ---------------------------------------------------------------------------
// Disabled captions

// Pixels of one exact colour inside the caption's area.
int countColour(const gxButtons_H &button, QRgb colour)
{
    const QRect area = button.state().CaptionRect.toRect().adjusted(-1, -1, 2, 2);
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (rgbAt(button.MemDC(), x, y) == colour)
                ++count;
    return count;
}

TEST(ButtonCaption, DisabledCaptionsAreEtchedOrFlatByStyle)
{
    QFont big = WizardButtonLook::font(16);
    big.setBold(true);
    const QRgb white = 0xFFFFFF;
    const QRgb grey = 0x808080;

    ButtonHost etched(QSize(120, 40));
    etched.button->set_ButtonStyle(7);
    etched.button->set_Font(big);
    etched.button->set_Caption(QStringLiteral("Back"));
    etched.button->set_Enabled(false);
    EXPECT_GT(countColour(*etched.button, white), 10);
    EXPECT_GT(countColour(*etched.button, grey), 10);
    EXPECT_EQ(countColour(*etched.button, rgbOf(etched.button->ForeColor())), 0);

    ButtonHost flat(QSize(120, 40));
    flat.button->set_ButtonStyle(3);
    flat.button->set_Font(big);
    flat.button->set_Caption(QStringLiteral("Back"));
    flat.button->set_Enabled(false);
    EXPECT_GT(countColour(*flat.button, grey), 10);
    EXPECT_EQ(countColour(*flat.button, white), 0);

    ButtonHost coloured(QSize(120, 40));
    coloured.button->set_ButtonStyle(2);
    coloured.button->set_Font(big);
    coloured.button->set_Caption(QStringLiteral("Back"));
    coloured.button->set_Enabled(false);
    const OleColor text = ShiftColor(coloured.button->state().FaceRGB, -104, true);
    EXPECT_GT(countColour(*coloured.button, rgbOf(text)), 10);
}

// ---------------------------------------------------------------------------
// Shapes and regions

TEST(ButtonShape, AnEllipseIsTheButtonsWindowRegion)
{
    ButtonHost host(QSize(96, 28));
    host.button->set_ButtonShape(5);
    const QRegion region = host.button->mask();
    EXPECT_EQ(region, QRegion(QRect(0, 0, 96, 28), QRegion::Ellipse));
    EXPECT_TRUE(region.contains(QPoint(48, 14)));
    EXPECT_TRUE(region.contains(QPoint(48, 0)));
    EXPECT_TRUE(region.contains(QPoint(0, 14)));
    for (const QPoint &corner : { QPoint(0, 0), QPoint(95, 0), QPoint(0, 27), QPoint(95, 27) })
        EXPECT_FALSE(region.contains(corner));
    EXPECT_EQ(host.button->state().OutlineRightX, 96);
}

TEST(ButtonShape, TheRimOfARoundButtonIsThePageColourShaded)
{
    ButtonHost host(QSize(96, 28));
    host.button->set_ButtonShape(4);
    host.button->set_Caption(QString());
    const OleColor page = host.button->state().ParentBackRGB;
    // The rim runs from much lighter at the top to darker at the bottom.
    EXPECT_EQ(rgbAt(host.button->MemDC(), 48, 0), rgbOf(ShiftColor(page, 172)));
    EXPECT_EQ(rgbAt(host.button->MemDC(), 48, 14), rgbOf(host.button->state().FaceRGB));
    EXPECT_LT(qGray(host.button->MemDC().pixel(48, 27)), qGray(host.button->MemDC().pixel(48, 0)));
}

TEST(ButtonShape, SlantedSidesRunAtFortyFiveDegrees)
{
    ButtonHost host(QSize(96, 28));
    host.button->set_ButtonShape(1);
    EXPECT_EQ(host.button->state().OutlineLeftX, 29);
    EXPECT_TRUE(host.button->mask().contains(QPoint(1, 1)));
    EXPECT_FALSE(host.button->mask().contains(QPoint(5, 27)));
    EXPECT_TRUE(host.button->mask().contains(QPoint(29, 27)));

    host.button->set_ButtonShape(2);
    EXPECT_EQ(host.button->state().OutlineLeftX, 0);
    EXPECT_EQ(host.button->state().OutlineRightX, 96 - 29);
    EXPECT_FALSE(host.button->mask().contains(QPoint(94, 1)));
    EXPECT_TRUE(host.button->mask().contains(QPoint(93, 26)));
    EXPECT_FALSE(host.button->mask().contains(QPoint(94, 26)));
}

TEST(ButtonShape, ANarrowSlantedButtonWidensInStepsOfFive)
{
    ButtonHost narrow(QSize(30, 28));
    narrow.button->set_ButtonShape(3);
    EXPECT_EQ(narrow.button->width(), 35);
    EXPECT_EQ(narrow.button->state().OutlineRightX, 35 - 29);

    ButtonHost exact(QSize(34, 28));
    exact.button->set_ButtonShape(1);
    EXPECT_EQ(exact.button->width(), 34);
}

struct CutCase
{
    const char *name;
    int style;
    int shape;
    bool enabled;
    std::vector<QPoint> cut;
    std::vector<QPoint> kept;
};

class ButtonCornerTest : public testing::TestWithParam<CutCase>
{
};

TEST_P(ButtonCornerTest, CutsTheCornersItsStyleAsksFor)
{
    const CutCase &c = GetParam();
    ButtonHost host(QSize(96, 28));
    host.button->set_ButtonStyle(c.style);
    host.button->set_ButtonShape(c.shape);
    host.button->set_Enabled(c.enabled);
    for (const QPoint &point : c.cut)
        EXPECT_FALSE(host.button->mask().contains(point)) << point.x() << "," << point.y();
    for (const QPoint &point : c.kept)
        EXPECT_TRUE(host.button->mask().contains(point)) << point.x() << "," << point.y();
}

INSTANTIATE_TEST_SUITE_P(Corners, ButtonCornerTest,
    testing::Values(CutCase { "style7_rounded", 7, 0, true,
                        { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 95, 0 }, { 95, 1 }, { 0, 27 }, { 95, 27 } },
                        { { 2, 0 }, { 0, 2 }, { 93, 0 }, { 2, 27 } } },
        CutCase { "style0_square", 0, 0, true, {}, { { 0, 0 }, { 95, 0 }, { 0, 27 }, { 95, 27 } } },
        CutCase { "style6_square", 6, 0, true, {}, { { 0, 0 }, { 95, 0 }, { 0, 27 }, { 95, 27 } } },
        CutCase { "style1_pixels", 1, 0, true, { { 0, 0 }, { 95, 0 }, { 0, 27 }, { 95, 27 } },
            { { 1, 0 }, { 0, 1 }, { 94, 27 } } },
        CutCase { "style3_enabled", 3, 0, true, { { 0, 27 }, { 95, 0 } }, { { 0, 0 }, { 95, 27 } } },
        CutCase { "style3_disabled", 3, 0, false, {}, { { 0, 0 }, { 95, 0 }, { 0, 27 }, { 95, 27 } } },
        CutCase { "style7_both_slanted", 7, 3, true, {}, { { 0, 0 }, { 93, 27 } } },
        CutCase { "style7_left_slanted", 7, 1, true, { { 95, 0 }, { 95, 27 } }, { { 0, 0 }, { 93, 0 } } },
        CutCase { "style2_right_slanted", 2, 2, true, { { 0, 0 }, { 0, 27 } }, { { 2, 0 }, { 2, 27 } } }),
    [](const testing::TestParamInfo<CutCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Pictures

QImage squareOn(QColor background, QColor square, int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(background);
    for (int y = side / 4; y < side - side / 4; ++y)
        for (int x = side / 4; x < side - side / 4; ++x)
            image.setPixel(x, y, square.rgb());
    return image;
}

int countRed(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (rgbAt(image, x, y) == 0xFF0000)
                ++count;
    return count;
}

TEST(ButtonPicture, ABitmapLeavesOutTheColourOfItsTopLeftPixel)
{
    ButtonHost host(QSize(100, 30));
    host.button->set_Caption(QStringLiteral("Open"));
    host.button->set_Picture(ButtonPicture::fromBitmap(squareOn(Qt::magenta, Qt::red, 16)));
    const ButtonBox picture = host.button->state().PictureRect;
    EXPECT_EQ(picture, (ButtonBox { 6, 7, 22, 23 }));
    EXPECT_EQ(rgbAt(host.button->MemDC(), 14, 15), 0xFF0000u);
    EXPECT_EQ(rgbAt(host.button->MemDC(), 6, 7), rgbOf(host.button->state().FaceRGB));
    EXPECT_EQ(countRed(host.button->MemDC(), picture.toRect()), 8 * 8);
}

TEST(ButtonPicture, AnIconKeepsItsOwnTransparency)
{
    QImage withAlpha(16, 16, QImage::Format_ARGB32);
    withAlpha.fill(Qt::transparent);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            withAlpha.setPixel(x, y, qRgb(255, 0, 0));
    ButtonHost host(QSize(100, 30));
    host.button->set_Picture(ButtonPicture::fromIcon(QIcon(QPixmap::fromImage(withAlpha))));
    EXPECT_TRUE(host.button->state().PictureIsIcon);
    const ButtonBox picture = host.button->state().PictureRect;
    EXPECT_EQ(countRed(host.button->MemDC(), picture.toRect()), 8 * 8);
    EXPECT_EQ(rgbAt(host.button->MemDC(), picture.left, picture.top), rgbOf(host.button->state().FaceRGB));
}

TEST(ButtonPicture, DisabledPicturesAreEmbossedInTwoGreys)
{
    for (const bool icon : { false, true }) {
        ButtonHost host(QSize(100, 30));
        const QImage image = squareOn(Qt::magenta, Qt::red, 16);
        host.button->set_Picture(
            icon ? ButtonPicture::fromIcon(QIcon(QPixmap::fromImage(image))) : ButtonPicture::fromBitmap(image));
        host.button->set_Enabled(false);
        const ButtonBox picture = host.button->state().PictureRect;
        const QImage &face = host.button->MemDC();
        EXPECT_EQ(countRed(face, picture.toRect()), 0) << icon;
        EXPECT_EQ(rgbAt(face, picture.left + 8, picture.top + 8), 0x9C9C9Cu) << icon; // dark, on the square
        if (!icon) {
            // The light copy shows one pixel up and left of the dark one.
            EXPECT_EQ(rgbAt(face, picture.left + 3, picture.top + 3), 0xE4E4E4u);
            EXPECT_EQ(rgbAt(face, picture.left + 1, picture.top + 1), rgbOf(host.button->state().FaceRGB));
        }
    }
}

TEST(ButtonPicture, Size40CoversTheButtonAndSize48FitsInside)
{
    QImage solid(20, 20, QImage::Format_RGB32);
    solid.fill(Qt::red);
    solid.setPixel(0, 0, qRgb(0, 0, 255));
    ButtonHost cover(QSize(100, 30));
    cover.button->set_Caption(QString());
    cover.button->set_Picture(ButtonPicture::fromBitmap(solid));
    cover.button->set_PictureSize(3);
    EXPECT_EQ(rgbAt(cover.button->MemDC(), 10, 10), 0xFF0000u);
    EXPECT_EQ(rgbAt(cover.button->MemDC(), 90, 20), 0xFF0000u);
    EXPECT_NE(rgbAt(cover.button->MemDC(), 50, 0), 0xFF0000u); // the edges go on top

    QImage wide(64, 32, QImage::Format_RGB32);
    wide.fill(Qt::red);
    wide.setPixel(0, 0, qRgb(0, 0, 255));
    ButtonHost fit(QSize(100, 60));
    fit.button->set_Caption(QString());
    fit.button->set_Picture(ButtonPicture::fromBitmap(wide));
    fit.button->set_PictureSize(4);
    // 88 x 44 pixels centred: the ratio of (100-12)/64 keeps the shape;
    // the top-left pixel is the transparent one.
    EXPECT_EQ(countRed(fit.button->MemDC(), QRect(0, 0, 100, 60)), 88 * 44 - 1);
    EXPECT_EQ(rgbAt(fit.button->MemDC(), 93, 51), 0xFF0000u);
    EXPECT_NE(rgbAt(fit.button->MemDC(), 94, 51), 0xFF0000u);
    EXPECT_NE(rgbAt(fit.button->MemDC(), 50, 52), 0xFF0000u);
}

TEST(ButtonPicture, ASmallPictureMovesWithThePressedFace)
{
    ButtonHost host(QSize(100, 30));
    host.button->set_Picture(ButtonPicture::fromBitmap(squareOn(Qt::magenta, Qt::red, 16)));
    const ButtonBox picture = host.button->state().PictureRect;
    EXPECT_EQ(rgbAt(host.button->MemDC(), picture.left + 4, picture.top + 4), 0xFF0000u);
    moveMouse(host.button, QPoint(50, 15));
    pressLeft(host.button, QPoint(50, 15));
    EXPECT_NE(rgbAt(host.button->MemDC(), picture.left + 4, picture.top + 4), 0xFF0000u);
    EXPECT_EQ(rgbAt(host.button->MemDC(), picture.left + 5, picture.top + 5), 0xFF0000u);
    EXPECT_EQ(rgbAt(host.button->MemDC(), picture.left + 12, picture.top + 12), 0xFF0000u);
}

// ---------------------------------------------------------------------------
// A frame drawn elsewhere

TEST(ButtonFrame, DrawsTheSameFrameIntoAnyImage)
{
    ButtonHost host(QSize(96, 28));
    WizardButtonLook().applyTo(*host.button);
    QImage elsewhere(10, 10, QImage::Format_ARGB32);
    host.button->drawFace(elsewhere);
    EXPECT_EQ(elsewhere.size(), QSize(96, 28));
    EXPECT_EQ(elsewhere, host.button->MemDC());
}

TEST(ButtonGallery, WritesEveryStyleShapeAndLookForAPersonToCheck)
{
    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT");
    if (folder.isEmpty())
        GTEST_SKIP() << "TRESSEL_TEST_OUTPUT names no folder for the pictures";
    const QSize size(96, 28);
    const int cell = 8;
    for (const bool wizardColours : { false, true }) {
        for (int style = 0; style <= 7; ++style) {
            QImage sheet(5 * (size.width() + cell) + cell, 7 * (size.height() + cell) + cell, QImage::Format_RGB32);
            QRgb background = 0;
            {
                QPainter painter(&sheet);
                for (int shape = 0; shape <= 6; ++shape) {
                    for (int look = 0; look < 5; ++look) {
                        ButtonHost host(size);
                        gxButtons_H *button = host.button;
                        if (wizardColours)
                            WizardButtonLook().applyTo(*button);
                        button->set_ButtonStyle(style);
                        button->set_ButtonShape(shape);
                        button->set_Caption(QStringLiteral("&Next >>"));
                        showLook(button, Look(look));
                        background = host.window.palette().color(QPalette::Window).rgb() & RGB_MASK;
                        if (shape == 0 && look == 0)
                            sheet.fill(background);
                        const QImage face = visibleFace(*button, background);
                        // Every look shows at least its caption.
                        EXPECT_GT(face.size().width() * face.size().height(), 0);
                        EXPECT_TRUE(hasInk(face, background)) << style << "/" << shape << "/" << LookNames[look];
                        painter.drawImage(
                            cell + look * (size.width() + cell), cell + shape * (size.height() + cell), face);
                    }
                }
            }
            const QString name = QStringLiteral("button-style%1%2.png").arg(style).arg(wizardColours ? "-wizard" : "");
            ASSERT_TRUE(sheet.save(QDir(folder).filePath(name))) << name.toStdString();
        }
    }
}

#include "ButtonTestSupport.h"

#include "controls/WizardButtonLook.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

struct Pixel
{
    int x, y;
    OleColor colour;
};

void expectPixels(const QImage &image, const std::vector<Pixel> &pixels)
{
    for (const Pixel &p : pixels)
        EXPECT_EQ(rgbAt(image, p.x, p.y), rgbOf(p.colour)) << p.x << "," << p.y;
}

// A wizard-look button of 96 x 28 without a caption.
struct WizardButton : ButtonHost
{
    WizardButton()
        : ButtonHost(QSize(96, 28))
    {
        WizardButtonLook().applyTo(*button);
        button->set_Caption(QString());
    }
};

TEST(ButtonFace, Style7WithAGradientShadesItsEdgesFromTheFace)
{
    WizardButton host;
    const QString family = QFontInfo(host->Font()).family();
    EXPECT_TRUE(family == QLatin1String("Times New Roman") || family == QLatin1String("Liberation Serif"))
        << family.toStdString();

    const OleColor face = ShiftColor(0xCB9654, 31);
    ASSERT_EQ(host->state().FaceRGB, face);
    const std::vector<OleColor> bands = GradientStep(face, ShiftColor(0xFEF3E5, 31), 96);
    const OleColor light = ShiftColor(face, 31, true), dark = ShiftColor(face, -64, true), white = 0xFFFFFF;
    expectPixels(host->MemDC(),
        { { 10, 4, bands[10] }, { 48, 4, bands[48] }, { 80, 4, bands[80] },
            // top and bottom edges, outside in
            { 10, 0, 0 }, { 10, 1, light }, { 10, 2, white }, { 10, 25, face }, { 10, 26, dark }, { 10, 27, 0 },
            // left and right edges
            { 0, 10, 0 }, { 1, 10, light }, { 2, 10, white }, { 93, 10, face }, { 94, 10, dark }, { 95, 10, 0 },
            // rounded corners
            { 1, 1, 0 }, { 2, 2, light }, { 3, 3, white }, { 94, 26, 0 }, { 93, 25, dark } });

    pressAt(host.button, QPoint(40, 14));
    const OleColor pressed = ShiftColor(face, -64, true);
    expectPixels(host->MemDC(),
        { { 10, 2, ShiftColor(pressed, -32) }, { 10, 1, ShiftColor(pressed, -64) }, { 10, 25, pressed },
            { 10, 26, ShiftColor(pressed, -16) } });

    WizardButton hover; // a hover face of its own fills the face under the mouse
    hover->set_HoverBackColor(0x00FF00);
    sendMouse(hover.button, QEvent::MouseMove, QPoint(40, 14), Qt::NoButton);
    expectPixels(hover->MemDC(), { { 10, 4, ShiftColor(0x00FF00, 31) }, { 80, 4, ShiftColor(0x00FF00, 31) } });
}

TEST(ButtonFace, Style2DarkensDownwardRoundingHalvesToEven)
{
    ButtonHost host(QSize(96, 28));
    host->set_ButtonStyle(2);
    host->set_BackColor(RGB(200, 200, 200));
    host->set_Caption(QString());
    const OleColor face = ShiftColor(RGB(200, 200, 200), 48, true);
    // Row 14 of 28 shifts by -12.5, which rounds to -12.
    expectPixels(host->MemDC(), { { 10, 14, ShiftColor(face, -12, true) }, { 10, 3, ShiftColor(face, -3, true) } });
}

TEST(ButtonFace, GradientModesMirrorAndWideButtonsUseTwoPixelBands)
{
    auto row = [](int mode, int width) {
        ButtonHost host(QSize(width, 28));
        host->set_Caption(QString());
        host->set_BackColor(0x0000FF);
        host->set_GradientColor(0xFF0000);
        host->set_GradientMode(mode);
        std::vector<QRgb> pixels;
        for (int x = 0; x < width; ++x)
            pixels.push_back(rgbAt(host->MemDC(), x, 14));
        return pixels;
    };
    const std::vector<QRgb> forward = row(1, 96), backward = row(2, 96);
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

TEST(ButtonFace, FocusShowsADottedInvertedRectangleAndAnotherImageGetsTheSameFrame)
{
    ButtonHost host(QSize(96, 28));
    host->set_Caption(QString());
    const QImage idle = host->MemDC().copy();
    sendFocus(host.button, QEvent::FocusIn);
    for (int x = 4; x < 96 - 4; ++x) {
        const QRgb expected = x % 2 == 0 ? (~rgbAt(idle, x, 4) & RGB_MASK) : rgbAt(idle, x, 4);
        EXPECT_EQ(rgbAt(host->MemDC(), x, 4), expected) << x;
    }
    QImage elsewhere(10, 10, QImage::Format_ARGB32);
    host->drawFace(elsewhere);
    EXPECT_EQ(elsewhere, host->MemDC());
}

TEST(ButtonCaption, DisabledCaptionsAreEtchedOrFlatByStyle)
{
    QFont big = WizardButtonLook::font(16);
    big.setBold(true);
    const QRgb white = 0xFFFFFF, grey = 0x808080;
    for (const int style : { 7, 3, 2 }) {
        ButtonHost host(QSize(120, 40));
        host->set_ButtonStyle(style);
        host->set_Font(big);
        host->set_Caption(QStringLiteral("Back"));
        host->set_Enabled(false);
        // Pixels of one exact colour around the caption.
        auto count = [&](QRgb colour) {
            const QRect area = host->state().CaptionRect.toRect().adjusted(-1, -1, 2, 2);
            int n = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    n += rgbAt(host->MemDC(), x, y) == colour;
            return n;
        };
        SCOPED_TRACE(style);
        if (style == 7) { // etched: white under grey, no caption colour
            EXPECT_GT(count(white), 10);
            EXPECT_GT(count(grey), 10);
            EXPECT_EQ(count(rgbOf(host->ForeColor())), 0);
        } else if (style == 3) { // flat grey
            EXPECT_GT(count(grey), 10);
            EXPECT_EQ(count(white), 0);
        } else { // a darker shade of the face
            EXPECT_GT(count(rgbOf(ShiftColor(host->state().FaceRGB, -104, true))), 10);
        }
    }
}

// ---------------------------------------------------------------------------
// Shapes and regions

TEST(ButtonShape, AnEllipseIsTheButtonsWindowRegionAndARoundRimShadesThePage)
{
    ButtonHost host(QSize(96, 28));
    host->set_ButtonShape(5);
    const QRegion region = host->mask();
    EXPECT_EQ(region, QRegion(QRect(0, 0, 96, 28), QRegion::Ellipse));
    for (const QPoint &inside : { QPoint(48, 14), QPoint(48, 0), QPoint(0, 14) })
        EXPECT_TRUE(region.contains(inside));
    for (const QPoint &corner : { QPoint(0, 0), QPoint(95, 0), QPoint(0, 27), QPoint(95, 27) })
        EXPECT_FALSE(region.contains(corner));
    EXPECT_EQ(host->state().OutlineRightX, 96);

    host->set_ButtonShape(4);
    host->set_Caption(QString());
    // The rim runs from much lighter at the top to darker at the bottom.
    expectPixels(
        host->MemDC(), { { 48, 0, ShiftColor(host->state().ParentBackRGB, 172) }, { 48, 14, host->state().FaceRGB } });
    EXPECT_LT(qGray(host->MemDC().pixel(48, 27)), qGray(host->MemDC().pixel(48, 0)));
}

TEST(ButtonShape, SlantedSidesRunAtFortyFiveDegreesAndANarrowButtonWidensInStepsOfFive)
{
    ButtonHost host(QSize(96, 28));
    host->set_ButtonShape(1);
    EXPECT_EQ(host->state().OutlineLeftX, 29);
    host->set_ButtonShape(2);
    EXPECT_EQ(host->state().OutlineLeftX, 0);
    EXPECT_EQ(host->state().OutlineRightX, 96 - 29);

    ButtonHost narrow(QSize(30, 28));
    narrow->set_ButtonShape(3);
    EXPECT_EQ(narrow->width(), 35);
    EXPECT_EQ(narrow->state().OutlineRightX, 35 - 29);
    ButtonHost exact(QSize(34, 28));
    exact->set_ButtonShape(1);
    EXPECT_EQ(exact->width(), 34);
}

struct CutCase
{
    const char *name;
    int style, shape;
    bool enabled;
    std::vector<QPoint> cut, kept;
};

class ButtonCornerTest : public testing::TestWithParam<CutCase>
{
};

TEST_P(ButtonCornerTest, CutsTheCornersItsStyleAndShapeAskFor)
{
    const CutCase &c = GetParam();
    ButtonHost host(QSize(96, 28));
    host->set_ButtonStyle(c.style);
    host->set_ButtonShape(c.shape);
    host->set_Enabled(c.enabled);
    for (const QPoint &point : c.cut)
        EXPECT_FALSE(host->mask().contains(point)) << point.x() << "," << point.y();
    for (const QPoint &point : c.kept)
        EXPECT_TRUE(host->mask().contains(point)) << point.x() << "," << point.y();
}

const std::vector<QPoint> Corners = { { 0, 0 }, { 95, 0 }, { 0, 27 }, { 95, 27 } };
INSTANTIATE_TEST_SUITE_P(Corners, ButtonCornerTest,
    testing::Values(CutCase { "style7_rounded", 7, 0, true, { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 95, 1 }, { 0, 27 } },
                        { { 2, 0 }, { 0, 2 }, { 93, 0 }, { 2, 27 } } },
        CutCase { "style0_square", 0, 0, true, {}, Corners }, CutCase { "style6_square", 6, 0, true, {}, Corners },
        CutCase { "style1_pixels", 1, 0, true, Corners, { { 1, 0 }, { 0, 1 }, { 94, 27 } } },
        CutCase { "style3_enabled", 3, 0, true, { { 0, 27 }, { 95, 0 } }, { { 0, 0 }, { 95, 27 } } },
        CutCase { "style3_disabled", 3, 0, false, {}, Corners },
        CutCase { "style0_left_slanted", 0, 1, true, { { 5, 27 } }, { { 1, 1 }, { 29, 27 } } },
        CutCase { "style0_right_slanted", 0, 2, true, { { 94, 1 }, { 94, 26 } }, { { 93, 26 } } },
        CutCase { "style7_both_slanted", 7, 3, true, {}, { { 0, 0 }, { 93, 27 } } },
        CutCase { "style7_left_slanted", 7, 1, true, { { 95, 0 }, { 95, 27 } }, { { 0, 0 }, { 93, 0 } } },
        CutCase { "style2_right_slanted", 2, 2, true, { { 0, 0 }, { 0, 27 } }, { { 2, 0 }, { 2, 27 } } }),
    [](const testing::TestParamInfo<CutCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Pictures

// A red square in the middle of a magenta picture (magenta at the top left
// is a bitmap's transparent colour).
QImage redOnMagenta(QImage::Format format = QImage::Format_RGB32, QColor background = Qt::magenta)
{
    QImage image(16, 16, format);
    image.fill(background);
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return image;
}

int countRed(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += rgbAt(image, x, y) == 0xFF0000;
    return count;
}

TEST(ButtonPicture, BitmapsLeaveOutTheirTopLeftColourIconsKeepTheirOwnTransparency)
{
    const QImage translucent = redOnMagenta(QImage::Format_ARGB32, Qt::transparent);
    for (const bool icon : { false, true }) {
        ButtonHost host(QSize(100, 30));
        host->set_Caption(QStringLiteral("Open"));
        host->set_Picture(icon ? ButtonPicture::fromIcon(QIcon(QPixmap::fromImage(translucent)))
                               : ButtonPicture::fromBitmap(redOnMagenta()));
        const ButtonBox picture = host->state().PictureRect;
        SCOPED_TRACE(icon);
        EXPECT_EQ(host->state().PictureIsIcon, icon);
        EXPECT_EQ(picture, (ButtonBox { 6, 7, 22, 23 }));
        EXPECT_EQ(countRed(host->MemDC(), picture.toRect()), 8 * 8);
        expectPixels(host->MemDC(), { { 6, 7, host->state().FaceRGB } });

        // Pressed, the picture moves with the face.
        pressAt(host.button, QPoint(50, 15));
        EXPECT_NE(rgbAt(host->MemDC(), picture.left + 4, picture.top + 4), 0xFF0000u);
        EXPECT_EQ(rgbAt(host->MemDC(), picture.left + 5, picture.top + 5), 0xFF0000u);
        EXPECT_EQ(rgbAt(host->MemDC(), picture.left + 12, picture.top + 12), 0xFF0000u);
    }
}

TEST(ButtonPicture, DisabledPicturesAreEmbossedInTwoGreys)
{
    for (const bool icon : { false, true }) {
        ButtonHost host(QSize(100, 30));
        host->set_Picture(icon ? ButtonPicture::fromIcon(QIcon(QPixmap::fromImage(redOnMagenta())))
                               : ButtonPicture::fromBitmap(redOnMagenta()));
        host->set_Enabled(false);
        const ButtonBox picture = host->state().PictureRect;
        EXPECT_EQ(countRed(host->MemDC(), picture.toRect()), 0) << icon;
        EXPECT_EQ(rgbAt(host->MemDC(), picture.left + 8, picture.top + 8), 0x9C9C9Cu) << icon; // dark, on the square
        if (!icon) // the light copy shows one pixel up and left of the dark one
            expectPixels(host->MemDC(),
                { { picture.left + 3, picture.top + 3, 0xE4E4E4 },
                    { picture.left + 1, picture.top + 1, host->state().FaceRGB } });
    }
}

TEST(ButtonPicture, Size40CoversTheButtonAndSize48FitsInside)
{
    auto solid = [](int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.setPixel(0, 0, qRgb(0, 0, 255));
        return ButtonPicture::fromBitmap(image);
    };
    ButtonHost cover(QSize(100, 30));
    cover->set_Caption(QString());
    cover->set_Picture(solid(20, 20));
    cover->set_PictureSize(3);
    EXPECT_EQ(rgbAt(cover->MemDC(), 10, 10), 0xFF0000u);
    EXPECT_EQ(rgbAt(cover->MemDC(), 90, 20), 0xFF0000u);
    EXPECT_NE(rgbAt(cover->MemDC(), 50, 0), 0xFF0000u); // the edges go on top

    ButtonHost fit(QSize(100, 60));
    fit->set_Caption(QString());
    fit->set_Picture(solid(64, 32));
    fit->set_PictureSize(4);
    // 88 x 44 pixels centred: (100-12)/64 keeps the shape; the top-left
    // pixel is the transparent one.
    EXPECT_EQ(countRed(fit->MemDC(), QRect(0, 0, 100, 60)), 88 * 44 - 1);
    EXPECT_EQ(rgbAt(fit->MemDC(), 93, 51), 0xFF0000u);
    EXPECT_NE(rgbAt(fit->MemDC(), 94, 51), 0xFF0000u);
    EXPECT_NE(rgbAt(fit->MemDC(), 50, 52), 0xFF0000u);
}

// ---------------------------------------------------------------------------

// What the screen shows of a button: its off-screen copy inside its
// outline, the window's background outside.
QImage visibleFace(const gxButtons_H &button, QRgb outside)
{
    QImage face = button.MemDC().copy();
    const QRegion outline = button.mask();
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (!outline.isEmpty() && !outline.contains(QPoint(x, y)))
                face.setPixel(x, y, outside | 0xFF000000u);
    return face;
}

TEST(ButtonGallery, WritesEveryStyleShapeAndLookForAPersonToCheck)
{
    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT");
    if (folder.isEmpty())
        GTEST_SKIP() << "TRESSEL_TEST_OUTPUT names no folder for the pictures";
    const char *const looks[] = { "normal", "focused", "pressed", "hover", "disabled" };
    const QSize size(96, 28);
    const int cell = 8;
    for (const bool wizardColours : { false, true }) {
        for (int style = 0; style <= 7; ++style) {
            QImage sheet(5 * (size.width() + cell) + cell, 7 * (size.height() + cell) + cell, QImage::Format_RGB32);
            QPainter painter(&sheet);
            for (int shape = 0; shape <= 6; ++shape) {
                for (int look = 0; look < 5; ++look) {
                    ButtonHost host(size);
                    if (wizardColours)
                        WizardButtonLook().applyTo(*host.button);
                    host->set_ButtonStyle(style);
                    host->set_ButtonShape(shape);
                    host->set_Caption(QStringLiteral("&Next >>"));
                    const QPoint centre = host->rect().center();
                    if (look == 1)
                        sendFocus(host.button, QEvent::FocusIn);
                    else if (look == 2)
                        pressAt(host.button, centre);
                    else if (look == 3)
                        sendMouse(host.button, QEvent::MouseMove, centre, Qt::NoButton);
                    else if (look == 4)
                        host->set_Enabled(false);
                    const QRgb background = host.window.palette().color(QPalette::Window).rgb() & RGB_MASK;
                    if (shape == 0 && look == 0)
                        sheet.fill(background);
                    const QImage face = visibleFace(*host.button, background);
                    // Every look shows at least its caption.
                    bool ink = false;
                    for (int y = 0; y < face.height() && !ink; ++y)
                        for (int x = 0; x < face.width() && !ink; ++x)
                            ink = rgbAt(face, x, y) != background;
                    EXPECT_TRUE(ink) << style << "/" << shape << "/" << looks[look];
                    painter.drawImage(cell + look * (size.width() + cell), cell + shape * (size.height() + cell), face);
                }
            }
            painter.end();
            const QString name = QStringLiteral("button-style%1%2.png").arg(style).arg(wizardColours ? "-wizard" : "");
            ASSERT_TRUE(sheet.save(QDir(folder).filePath(name))) << name.toStdString();
        }
    }
}

} // namespace

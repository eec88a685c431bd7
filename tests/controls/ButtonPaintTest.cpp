#include "ButtonTestSupport.h"

#include "controls/WizardButtonLook.h"

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <functional>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

// How many pixels of an area have a matching colour (0x00RRGGBB), and their bounding box.
std::pair<int, QRect> find(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &match)
{
    std::pair<int, QRect> found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.rect().contains(x, y) && match(rgbAt(image, x, y)))
                found.first++, found.second |= QRect(x, y, 1, 1);
    return found;
}

QRect inkBox(const QImage &image, const QRect &area)
{
    return find(image, area, [](QRgb colour) { return qGray(colour) < 100; }).second;
}

void expectPixels(const QImage &image, const std::vector<std::tuple<int, int, OleColor>> &pixels)
{
    for (const auto &[x, y, colour] : pixels)
        EXPECT_EQ(rgbAt(image, x, y), rgbOf(colour)) << x << "," << y;
}

// The caption's size as the layout measures it in a room of the given size.
QSize measure(const gxButtons_H &button, const QString &text, int roomWidth, int roomHeight)
{
    return QFontMetrics(button.state().MemFont)
        .boundingRect(QRect(0, 0, roomWidth, roomHeight), Qt::TextWordWrap | Qt::TextShowMnemonic, text)
        .size();
}

// ---------------------------------------------------------------------------
// Layout

TEST(ButtonLayout, CaptionsAreCentredShadedOnesTakeTwoMoreAndLongOnesStayInsideTheMargins)
{
    ButtonHost host(QSize(100, 30));
    host->set_Caption(QStringLiteral("OK"));
    const QSize text = measure(*host.button, QStringLiteral("OK"), 88, 18);
    const int left = (100 - text.width()) / 2, top = (30 - text.height()) / 2;
    EXPECT_EQ(host->state().CaptionRect, (ButtonBox { left, top, left + text.width(), top + text.height() }));
    host->set_CaptionStyle(2);
    EXPECT_EQ(host->state().CaptionRect.toRect().size(), text + QSize(2, 2));

    host->set_CaptionStyle(0);
    host->resize(90, 70);
    host->set_Caption(QStringLiteral("Choose the folder for the script"));
    const ButtonBox box = host->state().CaptionRect;
    EXPECT_TRUE(box.left >= 6 && box.right <= 90 && box.top >= 6 && box.bottom <= 70 - 6);
    EXPECT_GT(box.height(), measure(*host.button, QStringLiteral("Choose"), 78, 58).height());

    host->resize(60, 24); // taller than the button
    host->set_Caption(QStringLiteral("One||Two||Three"));
    EXPECT_EQ(host->state().CaptionRect.top, 6);
    EXPECT_EQ(host->state().CaptionRect.bottom, 24 - 6);
}

TEST(ButtonLayout, TheLineBreakMarkGivesTwoLinesEachCentred)
{
    ButtonHost host(QSize(120, 50));
    host->set_Caption(QStringLiteral("Save||Project"));
    const ButtonBox caption = host->state().CaptionRect;
    EXPECT_EQ(caption.height(), measure(*host.button, QStringLiteral("Save\nProject"), 108, 38).height());
    const int middle = caption.top + caption.height() / 2;
    const QRect first = inkBox(host->MemDC(), QRect(6, caption.top, 108, middle - caption.top));
    const QRect second = inkBox(host->MemDC(), QRect(6, middle, 108, caption.bottom - middle));
    EXPECT_TRUE(first.isValid() && first.width() < second.width());
    EXPECT_TRUE(std::abs(first.center().x() - 60) <= 2 && std::abs(second.center().x() - 60) <= 2);
}

TEST(ButtonLayout, PicturesBesideAboveAndBelowTheCaption)
{
    ButtonHost host(QSize(120, 30));
    host->set_Caption(QStringLiteral("Go"));
    host->set_Picture(square(16));
    host->set_PictureAlign(1); // the two centred together, six pixels apart
    const int textWidth = measure(*host.button, QStringLiteral("Go"), 120 - 12 - 16, 18).width();
    const ButtonState &s = host->state();
    EXPECT_EQ(s.CaptionRect.left, (120 - (textWidth + 16 + 6)) / 2 + 6 + 16);
    EXPECT_EQ(s.PictureRect, (ButtonBox { s.CaptionRect.left - 6 - 16, 7, s.CaptionRect.left - 6, 23 }));

    host->resize(80, 60);
    host->set_Caption(QStringLiteral("Up"));
    host->set_PictureAlign(5);
    const int textHeight = measure(*host.button, QStringLiteral("Up"), 68, 60 - 12 - 16).height();
    const int d = (60 - (textHeight + 16)) / 2;
    EXPECT_EQ(s.CaptionRect.top, d + 1);
    EXPECT_EQ(s.PictureRect, (ButtonBox { 32, d + textHeight + 3, 48, d + textHeight + 19 }));
    host->resize(60, 40);
    host->set_Caption(QString());
    host->set_PictureAlign(4);
    EXPECT_EQ(s.PictureRect, (ButtonBox { 22, 13, 38, 29 })); // no caption counts as -3 pixels high

    // A picture sized to fit the whole button reserves no room.
    ButtonHost plain(QSize(60, 40));
    plain->set_Caption(QStringLiteral("Open"));
    host->set_Caption(QStringLiteral("Open"));
    host->set_PictureAlign(0);
    host->set_PictureSize(4);
    EXPECT_EQ(s.CaptionRect, plain->state().CaptionRect);
}

TEST(ButtonLayout, ASlantedLeftSideNarrowsTheFaceAndAPressedFaceMovesTheCaption)
{
    ButtonHost host(QSize(120, 28));
    host->set_Caption(QStringLiteral("Next"));
    host->set_ButtonShape(1);
    ASSERT_EQ(host->state().OutlineLeftX, 29); // the slant spans the height plus one
    const int left = 29 - 29 / 3;
    const int textWidth = measure(*host.button, QStringLiteral("Next"), 120 - left - 12, 16).width();
    EXPECT_EQ(host->state().CaptionRect.left, (120 - left - textWidth) / 2 + left);

    for (const auto &[shape, shift] : { std::pair(0, QPoint(1, 1)), std::pair(3, QPoint(1, 1)),
             std::pair(4, QPoint(0, 1)), std::pair(6, QPoint(0, 1)) }) {
        ButtonHost pressed(QSize(100, 36));
        pressed->set_ButtonShape(shape);
        pressed->set_Caption(QStringLiteral("Press"));
        const QRect area = pressed->state().CaptionRect.toRect().adjusted(-2, -2, 2, 2);
        const QRect idle = inkBox(pressed->MemDC(), area);
        pressAt(pressed.button, QPoint(50, 18));
        EXPECT_TRUE(idle.isValid()) << shape;
        EXPECT_EQ(inkBox(pressed->MemDC(), area), idle.translated(shift)) << shape;
    }
}

// ---------------------------------------------------------------------------
// Faces

TEST(ButtonFace, Style7WithAGradientShadesItsEdgesFromTheFace)
{
    ButtonHost host(QSize(96, 28));
    WizardButtonLook().applyTo(*host.button);
    host->set_Caption(QString());
    EXPECT_TRUE(QStringList({ QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif") })
                    .contains(QFontInfo(host->Font()).family()));

    const OleColor face = ShiftColor(0xCB9654, 31);
    ASSERT_EQ(host->state().FaceRGB, face);
    const std::vector<OleColor> bands = GradientStep(face, ShiftColor(0xFEF3E5, 31), 96);
    const OleColor light = ShiftColor(face, 31, true), dark = ShiftColor(face, -64, true), white = 0xFFFFFF;
    expectPixels(host->MemDC(),
        { { 10, 4, bands[10] }, { 48, 4, bands[48] }, { 80, 4, bands[80] },
            // top, bottom, left and right edges, outside in; the rounded corners
            { 10, 0, 0 }, { 10, 1, light }, { 10, 2, white }, { 10, 25, face }, { 10, 26, dark }, { 10, 27, 0 },
            { 0, 10, 0 }, { 1, 10, light }, { 2, 10, white }, { 93, 10, face }, { 94, 10, dark }, { 95, 10, 0 },
            { 1, 1, 0 }, { 2, 2, light }, { 3, 3, white }, { 94, 26, 0 }, { 93, 25, dark } });
    QRegion rounded(0, 0, 96, 28); // three pixels cut at each corner
    for (const QPoint &p : { QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(94, 0), QPoint(95, 0), QPoint(95, 1),
             QPoint(0, 26), QPoint(0, 27), QPoint(1, 27), QPoint(95, 26), QPoint(94, 27), QPoint(95, 27) })
        rounded -= QRegion(p.x(), p.y(), 1, 1);
    EXPECT_EQ(host->mask() & QRegion(0, 0, 96, 28), rounded);
    host->set_HoverBackColor(0x00FF00); // a hover face of its own fills the face under the mouse
    sendMouse(host.button, QEvent::MouseMove, QPoint(40, 14), Qt::NoButton);
    expectPixels(host->MemDC(), { { 10, 4, ShiftColor(0x00FF00, 31) }, { 80, 4, ShiftColor(0x00FF00, 31) } });
}

TEST(ButtonFace, DisabledCaptionsAreEtchedOrFlatByStyle)
{
    QFont big = WizardButtonLook::font(16);
    big.setBold(true);
    for (const int style : { 7, 3 }) {
        ButtonHost host(QSize(120, 40));
        host->set_ButtonStyle(style);
        host->set_Font(big);
        host->set_Caption(QStringLiteral("Back"));
        if (style == 3) { // the look follows the window; the setting stays the button's
            host.window.setEnabled(false);
            EXPECT_TRUE(host->Enabled());
        } else {
            host->set_Enabled(false);
        }
        const QRect area = host->state().CaptionRect.toRect().adjusted(-1, -1, 2, 2);
        auto count = [&](OleColor colour) {
            return find(host->MemDC(), area, [&](QRgb c) { return c == rgbOf(colour); }).first;
        };
        const int white = count(0xFFFFFF), grey = count(0x808080), caption = count(host->ForeColor());
        SCOPED_TRACE(
            testing::Message() << style << ": white " << white << ", grey " << grey << ", caption " << caption);
        if (style == 7) // etched: white under grey, no caption colour
            EXPECT_TRUE(white > 10 && grey > 10 && caption == 0);
        else // flat grey
            EXPECT_TRUE(grey > 10 && white == 0);
    }
}

// ---------------------------------------------------------------------------
// Shapes and regions

TEST(ButtonShape, RegionsOfEllipsesSlantsAndCutCorners)
{
    ButtonHost host(QSize(96, 28));
    auto inside = [&](std::initializer_list<QPoint> points) {
        QString map; // one letter a point: y inside, n outside
        for (const QPoint &p : points)
            map += host->mask().contains(p) ? u'y' : u'n';
        return map;
    };
    const auto corners = { QPoint(0, 0), QPoint(95, 0), QPoint(0, 27), QPoint(95, 27) };
    host->set_ButtonShape(5);
    EXPECT_EQ(host->mask(), QRegion(QRect(0, 0, 96, 28), QRegion::Ellipse));
    EXPECT_EQ(inside({ QPoint(48, 0), QPoint(0, 14), QPoint(0, 0), QPoint(95, 27) }), QStringLiteral("yynn"));
    EXPECT_EQ(host->state().OutlineRightX, 96);

    host->set_ButtonShape(1); // slants run at 45 degrees
    EXPECT_EQ(inside({ QPoint(1, 1), QPoint(29, 27), QPoint(5, 27) }), QStringLiteral("yyn"));
    host->set_ButtonShape(2);
    EXPECT_EQ(host->state().OutlineRightX, 96 - 29);
    EXPECT_EQ(inside({ QPoint(93, 26), QPoint(94, 26), QPoint(94, 1) }), QStringLiteral("ynn"));

    host->set_ButtonShape(0);
    host->set_ButtonStyle(3); // two corners, only while enabled
    EXPECT_EQ(inside(corners), QStringLiteral("ynny"));
    host->set_Enabled(false);
    EXPECT_EQ(inside(corners), QStringLiteral("yyyy"));

    host->resize(30, 28); // too narrow for two slants: widens in steps of five
    host->set_ButtonShape(3);
    EXPECT_EQ(host->width(), 35);
    EXPECT_EQ(host->state().OutlineRightX, 35 - 29);
    host->resize(34, 28);
    host->set_ButtonShape(1);
    EXPECT_EQ(host->width(), 34);
}

TEST(ButtonGallery, WritesEveryStyleShapeAndLookForAPersonToCheck)
{
    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT");
    if (folder.isEmpty())
        GTEST_SKIP() << "TRESSEL_TEST_OUTPUT names no folder for the pictures";
    const int w = 96 + 8, h = 28 + 8;
    for (const bool wizardColours : { false, true }) {
        for (int style = 0; style <= 7; ++style) {
            QImage sheet(5 * w + 8, 7 * h + 8, QImage::Format_RGB32);
            sheet.fill(QGuiApplication::palette().color(QPalette::Window));
            QPainter painter(&sheet);
            for (int shape = 0; shape <= 6; ++shape) {
                for (int look = 0; look < 5; ++look) {
                    ButtonHost host(QSize(96, 28));
                    if (wizardColours)
                        WizardButtonLook().applyTo(*host.button);
                    host->set_ButtonStyle(style);
                    host->set_ButtonShape(shape);
                    host->set_Caption(QStringLiteral("&Next >>"));
                    if (look == 1)
                        sendFocus(host.button, QEvent::FocusIn);
                    else if (look == 2)
                        pressAt(host.button, QPoint(48, 14));
                    else if (look == 3)
                        sendMouse(host.button, QEvent::MouseMove, QPoint(48, 14), Qt::NoButton);
                    host->set_Enabled(look != 4); // looks: normal, focused, pressed, hover, disabled
                    const QPoint at(8 + look * w, 8 + shape * h); // as the screen shows it: inside its outline
                    painter.setClipRegion((host->mask() & host->rect()).translated(at));
                    painter.drawImage(at, host->MemDC());
                    // Every look shows its caption.
                    const QImage withCaption = host->MemDC().copy();
                    host->set_Caption(QString());
                    EXPECT_NE(host->MemDC(), withCaption) << style << "/" << shape << "/" << look;
                }
            }
            painter.end();
            const QString name = QStringLiteral("button-style%1%2.png").arg(style).arg(wizardColours ? "-wizard" : "");
            ASSERT_TRUE(sheet.save(QDir(folder).filePath(name))) << name.toStdString();
        }
    }
}

} // namespace

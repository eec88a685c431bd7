#include "ButtonTestSupport.h"

#include "controls/WizardButtonLook.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

TEST(ButtonColours, ShadesTranslationAndGradientSteps)
{
    struct Shift
    {
        OleColor colour;
        int amount;
        bool proportionalBlue, avoidBlackWhite, invert;
        OleColor expected;
    };
    const Shift shifts[] = { { RGB(128, 128, 128), -26, false, false, false, RGB(102, 102, 102) },
        { RGB(255, 255, 255), 31, false, true, false, RGB(224, 224, 224) }, // white avoided
        { RGB(0, 0, 0), 0, false, true, false, RGB(64, 64, 64) },
        { RGB(255, 255, 255), 0, false, true, false, RGB(191, 191, 191) },
        { RGB(0, 0, 192), -32, true, false, false, RGB(0, 0, 160) }, // blue's share
        { RGB(10, 10, 100), -25, true, false, false, RGB(0, 0, 87) }, // the share truncates
        { RGB(250, 10, 5), 20, false, false, false, RGB(255, 30, 25) }, // channels clamp
        { RGB(250, 10, 5), -20, false, false, false, RGB(230, 0, 0) },
        { RGB(10, 20, 30), 0, false, false, true, RGB(245, 235, 225) } };
    for (const Shift &s : shifts)
        EXPECT_EQ(ShiftColor(s.colour, s.amount, s.proportionalBlue, s.avoidBlackWhite, s.invert), s.expected)
            << std::hex << s.colour << " by " << std::dec << s.amount;
    // Avoiding black and white while inverting flips between them; the retry is bounded.
    const OleColor flipped = ShiftColor(RGB(0, 0, 0), 255, false, true, true);
    EXPECT_TRUE(flipped == 0 || flipped == 0xFFFFFF);

    EXPECT_EQ(TranslateColor(SystemButtonFace), fromQColor(QGuiApplication::palette().color(QPalette::Button)));
    EXPECT_EQ(TranslateColor(0x00CB9654), 0x00CB9654u);
    EXPECT_EQ(toQColor(0xCB9654), QColor(0x54, 0x96, 0xCB)); // red in the low byte

    EXPECT_EQ(GradientStep(RGB(200, 0, 100), RGB(0, 200, 100), 3),
        (std::vector<OleColor> { RGB(200, 0, 100), RGB(100, 100, 100), RGB(0, 200, 100) }));
    EXPECT_EQ(GradientStep(0, RGB(255, 255, 255), 5)[1], RGB(63, 63, 63));
    // One band would divide by zero; it takes the start colour.
    EXPECT_EQ(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 1), std::vector<OleColor> { RGB(1, 2, 3) });
    EXPECT_TRUE(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 0).empty());
}

TEST(ButtonCaption, AnUnnamedButtonShowsItsNameAndTheLastAmpersandGivesTheAccessKey)
{
    ButtonHost host;
    EXPECT_EQ(host->Caption(), QStringLiteral("cmdTest"));
    QWidget window;
    auto *named = new gxButtons_H(QStringLiteral("Next >>"), &window);
    window.show();
    EXPECT_EQ(named->Caption(), QStringLiteral("Next >>"));

    // A caption without a mark keeps the key it had.
    for (const auto &[caption, key] : std::vector<std::pair<const char *, const char *>> {
             { "&Save", "S" }, { "Close", "S" }, { "&Back && &Forward", "F" }, { "Trailing&", "" } }) {
        host->set_Caption(QLatin1String(caption));
        EXPECT_EQ(host->AccessKeys(), QLatin1String(key)) << caption;
    }
}

TEST(ButtonProperties, ValuesOutsideTheRangeChangeNothingAndReportNothing)
{
    using B = gxButtons_H;
    const std::tuple<void (B::*)(int), int (B::*)() const, int, std::vector<int>> ranges[] = {
        { &B::set_ButtonStyle, &B::ButtonStyle, 7, { -1, 8 } },
        { &B::set_CaptionAlign, &B::CaptionAlign, 1, { -1, 3 } },
        { &B::set_CaptionStyle, &B::CaptionStyle, 2, { -1, 3 } },
        { &B::set_ButtonShape, &B::ButtonShape, 6, { -1, 7 } },
        { &B::set_PictureAlign, &B::PictureAlign, 3, { -1, 6 } },
        { &B::set_PictureSize, &B::PictureSize, 2, { -1, 5 } },
        { &B::set_GradientMode, &B::GradientMode, 4, { -1, 5 } },
        { &B::set_MousePointer, &B::MousePointer, 11, { -1, 16, 98 } },
    };
    for (const auto &[set, get, valid, invalid] : ranges) {
        gxButtons_H button;
        (button.*set)(valid);
        ASSERT_EQ((button.*get)(), valid);
        QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
        for (int value : invalid)
            (button.*set)(value);
        EXPECT_EQ((button.*get)(), valid);
        EXPECT_EQ(changed.count(), 0) << valid;
    }
}

TEST(ButtonProperties, APictureAboveOrBelowOrBothSidesSlantedKeepTheCaptionCentred)
{
    gxButtons_H button;
    button.set_PictureAlign(5); // without a picture nothing is refused
    button.set_CaptionAlign(1);
    EXPECT_EQ(button.CaptionAlign(), 1);
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    button.set_Picture(ButtonPicture::fromBitmap(image));
    button.set_PictureAlign(4);
    EXPECT_EQ(button.CaptionAlign(), 2); // moved to centre by the picture
    button.set_CaptionAlign(0);
    EXPECT_EQ(button.CaptionAlign(), 2); // refused
    button.set_PictureAlign(1);
    button.set_CaptionAlign(0);
    EXPECT_EQ(button.CaptionAlign(), 0); // beside the caption any alignment goes

    QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
    button.set_ButtonShape(3);
    EXPECT_EQ(button.CaptionAlign(), 2);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toString() + changed.at(1).at(0).toString(), QStringLiteral("CapAlignShape"));
}

TEST(ButtonProperties, HoverColoursFollowTheNormalOnesUntilLockedByAColourOfTheirOwn)
{
    gxButtons_H button;
    button.set_BackColor(0x112233);
    button.set_ForeColor(0x445566);
    EXPECT_EQ(button.HoverBackColor(), 0x112233u);
    EXPECT_EQ(button.HoverForeColor(), 0x445566u);

    button.set_HoverBackColor(0x00FF00);
    EXPECT_EQ(button.HoverColorLocks(), 1);
    button.set_BackColor(0x0000FF);
    button.set_ForeColor(0x123456); // still follows under lock 1
    EXPECT_EQ(button.HoverBackColor(), 0x00FF00u);
    EXPECT_EQ(button.HoverForeColor(), 0x123456u);
    button.set_HoverForeColor(0x00FFFF);
    EXPECT_EQ(button.HoverColorLocks(), 3);
    button.set_ForeColor(0x404040);
    EXPECT_EQ(button.HoverForeColor(), 0x00FFFFu);

    button.set_HoverColorLocks(0); // brings the followers back
    EXPECT_EQ(button.HoverBackColor(), button.BackColor());
    EXPECT_EQ(button.HoverForeColor(), button.ForeColor());
    button.set_HoverColorLocks(9); // any other value makes nothing follow
    button.set_ForeColor(0x010203);
    EXPECT_NE(button.HoverForeColor(), 0x010203u);

    gxButtons_H captionLocked;
    captionLocked.set_HoverForeColor(0x00FFFF);
    EXPECT_EQ(captionLocked.HoverColorLocks(), 2);

    // With a gradient the hover face is the gradient colour. A stored button
    // whose hover face still is its face: a new face moves the hover face to
    // the gradient colour, which then no longer follows.
    gxButtons_H gradient;
    gradient.set_GradientMode(1);
    gradient.set_GradientColor(0xFEF3E5);
    EXPECT_EQ(gradient.HoverBackColor(), 0xFEF3E5u);
    gradient.ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("Gradient"), 1 },
        { QStringLiteral("cGradient"), 0xFEF3E5 }, { QStringLiteral("cBack"), 0x102030 } }));
    ASSERT_EQ(gradient.HoverBackColor(), 0x102030u);
    gradient.set_BackColor(0xCB9654);
    EXPECT_EQ(gradient.HoverBackColor(), 0xFEF3E5u);
    EXPECT_EQ(gradient.HoverColorLocks(), 1);
}

TEST(ButtonProperties, EachChangeReportsItsBagKey)
{
    gxButtons_H button;
    const std::vector<std::pair<std::function<void()>, const char *>> cases = {
        { [&] { button.set_ButtonStyle(7); }, "BackStyle" },
        { [&] { button.set_Caption(QStringLiteral("x")); }, "Caption" },
        { [&] { button.set_CaptionStyle(1); }, "CapStyle" },
        { [&] { button.set_PictureSize(2); }, "ImgSize" },
        { [&] { button.set_ShowFocusRect(false); }, "Focus" },
        { [&] { button.set_GradientMode(3); }, "Gradient" },
        { [&] { button.set_GradientColor(0x123); }, "cGradient" },
        { [&] { button.set_BackColor(0x456); }, "cBack" },
        { [&] { button.set_HoverColorLocks(3); }, "LockHover" },
        { [&] { button.set_Enabled(false); }, "Enabled" },
        { [&] { button.set_MousePointer(2); }, "mPointer" },
        { [&] { button.set_FontStyle(2); }, "Font" },
    };
    for (const auto &[change, key] : cases) {
        QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
        change();
        ASSERT_GE(changed.count(), 1) << key;
        EXPECT_EQ(changed.last().at(0).toString(), QLatin1String(key));
    }
}

TEST(ButtonProperties, LookFlagsPointerAndFontFollowTheirSettings)
{
    ButtonHost host;
    host.window.setEnabled(false); // the look follows the window, the setting stays the button's
    EXPECT_TRUE(host->Enabled());
    EXPECT_FALSE(host->state().Enabled);
    host.window.setEnabled(true);

    sendFocus(host.button, QEvent::FocusIn);
    ASSERT_TRUE(host->state().StateBits & ButtonState::Focused);
    host->set_ShowFocusRect(false);
    EXPECT_FALSE(host->state().StateBits & ButtonState::Focused);

    host->set_MousePointer(11);
    EXPECT_EQ(host->cursor().shape(), Qt::WaitCursor);
    QPixmap arrow(16, 16);
    arrow.fill(Qt::black);
    host->set_MouseIcon(ButtonPicture::fromIcon(QIcon(arrow)));
    EXPECT_EQ(host->MousePointer(), 99);
    EXPECT_EQ(host->cursor().shape(), Qt::BitmapCursor);

    host->set_Font(WizardButtonLook::font(9.75)); // drawn at 15 twips a pixel
    EXPECT_EQ(host->state().MemFont.pixelSize(), 13);
}

TEST(ButtonProperties, HeldDrawingKeepsTheFaceAndHandlesAResizeOnRelease)
{
    ButtonHost host;
    host->set_ButtonShape(4);
    const QImage before = host->MemDC().copy();
    host->set_DelayDrawing(true);
    host->set_Caption(QStringLiteral("Something else"));
    host->resize(120, 40);
    EXPECT_EQ(host->MemDC(), before);
    host->set_DelayDrawing(false);
    EXPECT_EQ(host->mask(), QRegion(QRect(0, 0, 120, 40), QRegion::Ellipse));
    EXPECT_EQ(host->MemDC().size(), QSize(120, 40));
}

TEST(ButtonProperties, AnEmptyButtonTakesChangesAndInputAndDrawsNothing)
{
    for (int shape = 0; shape <= 6; ++shape) {
        ButtonHost host(QSize(0, 0));
        WizardButtonLook().applyTo(*host.button);
        host->set_ButtonShape(shape);
        host->resize(0, 0);
        host->set_Caption(QStringLiteral("&Go"));
        pressAt(host.button, QPoint(0, 0));
        sendFocus(host.button, QEvent::FocusIn);
        QImage frame(4, 4, QImage::Format_RGB32);
        host->drawFace(frame);
        EXPECT_TRUE(host->size().isEmpty()) << shape; // a slanted one may widen, yet stays empty
        EXPECT_TRUE(host->MemDC().isNull() && frame.isNull()) << shape;
    }
}

// ---------------------------------------------------------------------------
// Property bag

QVariantList describe(const gxButtons_H &b)
{
    return { b.Caption(), b.AccessKeys(), b.ButtonStyle(), b.ButtonShape(), b.CaptionAlign(), b.CaptionStyle(),
        b.state().PictureWidth, b.PictureAlign(), b.PictureSize(), b.GradientMode(), b.GradientColor(), b.BackColor(),
        b.ForeColor(), b.HoverForeColor(), b.HoverBackColor(), b.HoverColorLocks(), b.ShowFocusRect(),
        b.Font().pointSizeF(), b.FontStyle(), b.MousePointer(), b.Enabled() };
}

TEST(ButtonPropertyBag, WrittenAndReadBackGivesTheSameButton)
{
    QWidget window;
    auto *original = new gxButtons_H(&window);
    original->set_Caption(QStringLiteral("&Generate"));
    original->set_ButtonStyle(7);
    original->set_ButtonShape(2);
    original->set_CaptionAlign(0);
    original->set_CaptionStyle(1);
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    original->set_Picture(ButtonPicture::fromBitmap(image));
    original->set_PictureAlign(3);
    original->set_PictureSize(1);
    original->set_GradientMode(1);
    original->set_GradientColor(0xFEF3E5);
    original->set_BackColor(0xD08737);
    original->set_ForeColor(0x404040);
    original->set_HoverForeColor(0x00FFFF);
    original->set_HoverColorLocks(3);
    original->set_HoverBackColor(0x0000FF);
    original->set_ShowFocusRect(false);
    original->set_Font(WizardButtonLook::font(9.75));
    original->set_FontStyle(6);
    original->set_MousePointer(14);
    original->set_Enabled(false);

    PropertyBag bag;
    original->WriteProperties(bag);
    auto *copy = new gxButtons_H(&window);
    copy->ReadProperties(bag);
    EXPECT_EQ(describe(*copy),
        (QVariantList { "&Generate", "G", 7, 2, 0, 1, 16, 3, 1, 1, 0xFEF3E5u, 0xD08737u, 0x404040u, 0x00FFFFu,
            0x0000FFu, 3, false, 9.75, 6, 14, false }));
    EXPECT_EQ(copy->Picture(), original->Picture());
    EXPECT_EQ(copy->Font(), original->Font());
    EXPECT_EQ(copy->state().FaceRGB, original->state().FaceRGB);
    PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again.toVariantMap(), bag.toVariantMap());
}

TEST(ButtonPropertyBag, DefaultsAreNotWrittenAndMissingKeysReadAsDefaults)
{
    gxButtons_H original;
    original.set_Caption(QString());
    PropertyBag bag;
    original.WriteProperties(bag);
    EXPECT_EQ(bag.keys(), (QStringList { QStringLiteral("cback"), QStringLiteral("font") }));
    original.set_CaptionAlign(0);
    original.WriteProperties(bag);
    gxButtons_H copy;
    copy.ReadProperties(bag);
    EXPECT_EQ(describe(copy), describe(original)); // system colours included

    QWidget window; // keys ignore case; a missing face is the window's background
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(palette);
    auto *button = new gxButtons_H(&window);
    button->ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("CAPALIGN"), 1 } }));
    EXPECT_EQ(button->CaptionAlign(), 1);
    EXPECT_EQ(button->ForeColor(), SystemButtonText);
    EXPECT_EQ(button->BackColor(), RGB(10, 20, 30));
    EXPECT_EQ(button->HoverBackColor(), RGB(10, 20, 30));
}

TEST(ButtonPropertyBag, AStoredStyleOutOfRangeIsTakenAndDrawsAPlainFace)
{
    ButtonHost host(QSize(96, 28));
    host->ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("BackStyle"), 9 } }));
    EXPECT_EQ(host->ButtonStyle(), 9);
    sendFocus(host.button, QEvent::FocusIn);
    for (const QPoint &p : { QPoint(10, 0), QPoint(4, 10), QPoint(95, 27) })
        EXPECT_EQ(rgbAt(host->MemDC(), p.x(), p.y()), rgbOf(host->state().FaceRGB)) << p.x() << "," << p.y();
}

} // namespace

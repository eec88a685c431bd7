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
    // colour, amount, blue proportionally, avoiding black and white, inverted: the shade
    const std::tuple<OleColor, int, bool, bool, bool, OleColor> shifts[]
        = { { RGB(128, 128, 128), -26, false, false, false, RGB(102, 102, 102) },
              { RGB(255, 255, 255), 31, false, true, false, RGB(224, 224, 224) },
              { RGB(255, 255, 255), 0, false, true, false, RGB(191, 191, 191) },
              { RGB(10, 10, 100), -25, true, false, false, RGB(0, 0, 87) }, // blue's share truncates
              { RGB(250, 10, 5), 20, false, false, false, RGB(255, 30, 25) }, // channels clamp
              { RGB(10, 20, 30), 0, false, false, true, RGB(245, 235, 225) } };
    for (const auto &[colour, amount, blue, avoid, invert, expected] : shifts)
        EXPECT_EQ(ShiftColor(colour, amount, blue, avoid, invert), expected) << colour << " by " << amount;
    // Avoiding black and white while inverting flips between them; the retry is bounded.
    const OleColor flipped = ShiftColor(RGB(0, 0, 0), 255, false, true, true);
    EXPECT_TRUE(flipped == 0 || flipped == 0xFFFFFF);

    EXPECT_EQ(TranslateColor(SystemButtonFace), fromQColor(QGuiApplication::palette().color(QPalette::Button)));
    EXPECT_EQ(toQColor(0xCB9654), QColor(0x54, 0x96, 0xCB)); // red in the low byte

    EXPECT_EQ(GradientStep(RGB(200, 0, 100), RGB(0, 200, 100), 3),
        (std::vector<OleColor> { RGB(200, 0, 100), RGB(100, 100, 100), RGB(0, 200, 100) }));
    // One band would divide by zero; it takes the start colour.
    EXPECT_EQ(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 1), std::vector<OleColor> { RGB(1, 2, 3) });
    EXPECT_TRUE(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 0).empty());
}

TEST(ButtonCaption, AnUnnamedButtonShowsItsNameAndTheLastAmpersandGivesTheAccessKey)
{
    ButtonHost host;
    EXPECT_EQ(host->Caption(), QStringLiteral("cmdTest"));

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
    const std::tuple<void (B::*)(int), int (B::*)() const, int> ranges[]
        = { { &B::set_ButtonStyle, &B::ButtonStyle, 7 }, { &B::set_CaptionAlign, &B::CaptionAlign, 2 },
              { &B::set_CaptionStyle, &B::CaptionStyle, 2 }, { &B::set_ButtonShape, &B::ButtonShape, 6 },
              { &B::set_PictureAlign, &B::PictureAlign, 5 }, { &B::set_PictureSize, &B::PictureSize, 4 },
              { &B::set_GradientMode, &B::GradientMode, 4 }, { &B::set_MousePointer, &B::MousePointer, 15 } };
    for (const auto &[set, get, highest] : ranges) {
        gxButtons_H button;
        (button.*set)(highest);
        QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
        (button.*set)(-1);
        (button.*set)(highest + 1);
        EXPECT_EQ((button.*get)(), highest);
        EXPECT_EQ(changed.count(), 0) << highest;
    }
}

TEST(ButtonProperties, APictureAboveOrBelowOrBothSidesSlantedKeepTheCaptionCentred)
{
    gxButtons_H button;
    button.set_PictureAlign(5); // without a picture nothing is refused
    button.set_CaptionAlign(1);
    EXPECT_EQ(button.CaptionAlign(), 1);
    button.set_Picture(square(16));
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
    auto hover = [&] { return std::tuple(button.HoverBackColor(), button.HoverForeColor(), button.HoverColorLocks()); };
    button.set_BackColor(0x112233);
    button.set_ForeColor(0x445566);
    EXPECT_EQ(hover(), std::tuple(0x112233u, 0x445566u, 0));
    button.set_HoverBackColor(0x00FF00);
    button.set_BackColor(0x0000FF);
    button.set_ForeColor(0x123456); // the caption colour still follows under lock 1
    EXPECT_EQ(hover(), std::tuple(0x00FF00u, 0x123456u, 1));
    button.set_HoverForeColor(0x00FFFF);
    button.set_ForeColor(0x404040);
    EXPECT_EQ(hover(), std::tuple(0x00FF00u, 0x00FFFFu, 3));
    button.set_HoverColorLocks(0); // brings the followers back
    EXPECT_EQ(hover(), std::tuple(0x0000FFu, 0x404040u, 0));
    button.set_HoverColorLocks(9); // any other value makes nothing follow
    button.set_ForeColor(0x010203);
    EXPECT_EQ(hover(), std::tuple(0x0000FFu, 0x404040u, 9));
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

// Built and styled in a hidden window, as every page builds its buttons, or
// with its drawing held: it draws nothing meanwhile, then once, as it looks by then.
TEST(ButtonProperties, AHiddenOrHeldButtonDrawsWhenShownOrReleasedWithWhatChangedMeanwhile)
{
    QWidget window;
    window.resize(200, 80);
    auto *button = new gxButtons_H(QStringLiteral("Next"), &window);
    WizardButtonLook().applyTo(*button);
    button->setGeometry(10, 10, 120, 30);
    button->set_ButtonShape(4);
    button->set_Caption(QStringLiteral("Next >>"));
    EXPECT_TRUE(button->MemDC().isNull());
    window.show();
    EXPECT_EQ(button->mask(), QRegion(QRect(0, 0, 120, 30), QRegion::Ellipse));
    QImage now;
    button->drawFace(now);
    const QImage shown = button->MemDC().copy();
    EXPECT_EQ(shown, now);

    button->hide();
    button->set_Caption(QStringLiteral("Generate"));
    EXPECT_EQ(button->MemDC(), shown);
    button->show();
    button->drawFace(now);
    EXPECT_NE(button->MemDC(), shown);
    EXPECT_EQ(button->MemDC(), now);

    const QImage before = button->MemDC().copy();
    button->set_DelayDrawing(true);
    button->set_Caption(QStringLiteral("Something else"));
    button->resize(100, 40);
    EXPECT_EQ(button->MemDC(), before);
    button->set_DelayDrawing(false);
    EXPECT_EQ(button->mask(), QRegion(QRect(0, 0, 100, 40), QRegion::Ellipse));
    EXPECT_EQ(button->MemDC().size(), QSize(100, 40));
}

// A caller asking a button not yet shown (sized and styled in a hidden
// window) gets the layout of its last change, as a shown twin has it, also
// while its drawing is held; showing it then changes nothing.
TEST(ButtonProperties, AButtonNotYetShownReportsTheLayoutOfItsLastChange)
{
    using Change = std::function<void(gxButtons_H &)>;
    const std::pair<const char *, Change> changes[] = {
        { "caption", [](gxButtons_H &b) { b.set_Caption(QStringLiteral("Generate the script")); } },
        { "picture", [](gxButtons_H &b) { b.set_Picture(square(16)); } },
        { "picture on top", [](gxButtons_H &b) { b.set_PictureAlign(4); } },
        { "size", [](gxButtons_H &b) { b.resize(160, 60); } },
        { "slanted", [](gxButtons_H &b) { b.set_ButtonShape(1); } },
        { "font", [](gxButtons_H &b) { b.set_Font(QFont(b.font().family(), 14)); } },
        { "style 3 disabled", [](gxButtons_H &b) { b.set_ButtonStyle(3), b.set_Enabled(false); } },
        { "caption while held",
            [](gxButtons_H &b) { b.set_DelayDrawing(true), b.set_Caption(QStringLiteral("Save||Project")); } },
    };
    QWidget hidden;
    auto *button = new gxButtons_H(QStringLiteral("Next"), &hidden);
    button->setGeometry(10, 10, 120, 30);
    ButtonHost twin(QSize(120, 30));
    twin->set_Caption(QStringLiteral("Next"));
    const auto layout = [](const gxButtons_H &b) {
        const ButtonState &s = b.state();
        return std::tuple(s.CaptionRect.toRect(), s.PictureRect.toRect(), s.OutlineLeftX, s.OutlineRightX,
            s.Enabled, b.size());
    };
    for (const auto &[name, change] : changes) {
        change(*button);
        change(*twin.button);
        EXPECT_EQ(layout(*button), layout(*twin.button)) << name;
    }
    const auto before = layout(*button);
    hidden.show();
    EXPECT_EQ(layout(*button), before);
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
        // A slanted one may widen, yet stays empty.
        EXPECT_TRUE(host->size().isEmpty() && host->MemDC().isNull() && frame.isNull()) << shape;
    }
}

QVariantList describe(const gxButtons_H &b)
{
    return { b.Caption(), b.AccessKeys(), b.ButtonStyle(), b.ButtonShape(), b.CaptionAlign(), b.CaptionStyle(),
        b.state().PictureWidth, b.PictureAlign(), b.PictureSize(), b.GradientMode(), b.GradientColor(), b.BackColor(),
        b.ForeColor(), b.HoverForeColor(), b.HoverBackColor(), b.HoverColorLocks(), b.ShowFocusRect(),
        b.Font().pointSizeF(), b.state().MemFont.pixelSize(), b.FontStyle(), b.MousePointer(), b.Enabled() };
}

TEST(ButtonPropertyBag, EachChangeReportsItsKeyAndTheBagWrittenReadsBackTheSameButton)
{
    using B = gxButtons_H;
    auto set = [](auto setter, auto value) { return std::function<void(B &)>([=](B &b) { (b.*setter)(value); }); };
    const std::pair<const char *, std::function<void(B &)>> changes[]
        = { { "Caption", set(&B::set_Caption, QStringLiteral("&Generate")) },
              { "BackStyle", set(&B::set_ButtonStyle, 7) }, { "Shape", set(&B::set_ButtonShape, 2) },
              { "CapAlign", set(&B::set_CaptionAlign, 0) }, { "CapStyle", set(&B::set_CaptionStyle, 1) },
              { "Image", set(&B::set_Picture, square(16)) }, { "ImgAlign", set(&B::set_PictureAlign, 3) },
              { "ImgSize", set(&B::set_PictureSize, 1) }, { "Gradient", set(&B::set_GradientMode, 1) },
              { "cGradient", set(&B::set_GradientColor, 0xFEF3E5u) }, { "cBack", set(&B::set_BackColor, 0xD08737u) },
              { "cFore", set(&B::set_ForeColor, 0x404040u) }, { "cFHover", set(&B::set_HoverForeColor, 0x00FFFFu) },
              { "LockHover", set(&B::set_HoverColorLocks, 3) }, { "cBHover", set(&B::set_HoverBackColor, 0x0000FFu) },
              { "Focus", set(&B::set_ShowFocusRect, false) },
              { "Font", set(&B::set_Font, WizardButtonLook::font(9.75)) }, { "Font", set(&B::set_FontStyle, 6) },
              { "mPointer", set(&B::set_MousePointer, 14) }, { "Enabled", set(&B::set_Enabled, false) } };
    QWidget window;
    auto *original = new gxButtons_H(&window);
    for (const auto &[key, change] : changes) {
        QSignalSpy changed(original, &gxButtons_H::PropertyChanged);
        change(*original);
        ASSERT_GE(changed.count(), 1) << key;
        EXPECT_EQ(changed.last().at(0).toString(), QLatin1String(key));
    }

    PropertyBag bag;
    original->WriteProperties(bag);
    auto *copy = new gxButtons_H(&window);
    copy->ReadProperties(bag);
    EXPECT_EQ(describe(*copy),
        (QVariantList { "&Generate", "G", 7, 2, 0, 1, 16, 3, 1, 1, 0xFEF3E5u, 0xD08737u, 0x404040u, 0x00FFFFu,
            0x0000FFu, 3, false, 9.75, 13, 6, 14, false }));
    EXPECT_EQ(copy->Picture(), original->Picture());
    EXPECT_EQ(copy->Font(), original->Font());
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

    // Keys ignore case; a missing face is the window's background; stored
    // values are taken unchecked, and a style out of range draws a plain face.
    ButtonHost host(QSize(96, 28));
    QPalette palette = host.window.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    host.window.setPalette(palette);
    host->ReadProperties(
        PropertyBag(QVariantMap { { QStringLiteral("CAPALIGN"), 1 }, { QStringLiteral("backstyle"), 9 } }));
    EXPECT_EQ(std::tuple(host->CaptionAlign(), host->ButtonStyle(), host->ForeColor(), host->BackColor(),
                  host->HoverBackColor()),
        std::tuple(1, 9, SystemButtonText, RGB(10, 20, 30), RGB(10, 20, 30)));
    sendFocus(host.button, QEvent::FocusIn);
    EXPECT_EQ(rgbAt(host->MemDC(), 10, 0), rgbOf(host->state().FaceRGB));
}

} // namespace

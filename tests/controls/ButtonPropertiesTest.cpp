#include "ButtonTestSupport.h"

#include "controls/WizardButtonLook.h"

#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

ButtonPicture redSquare()
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    return ButtonPicture::fromBitmap(image);
}

TEST(ButtonCaption, AnUnnamedButtonShowsItsNameAndTheLastAmpersandGivesTheAccessKey)
{
    ButtonHost host;
    EXPECT_EQ(host->Caption(), QStringLiteral("cmdTest"));
    QWidget window;
    auto *named = new gxButtons_H(QStringLiteral("Next >>"), &window);
    window.show();
    EXPECT_EQ(named->Caption(), QStringLiteral("Next >>"));

    const std::vector<std::pair<const char *, const char *>> keys
        = { { "&Save", "S" }, { "Close", "S" }, { "&Back && &Forward", "F" }, { "Trailing&", "" } };
    for (const auto &[caption, key] : keys) {
        host->set_Caption(QLatin1String(caption)); // a caption without a mark keeps the key
        EXPECT_EQ(host->AccessKeys(), QLatin1String(key)) << caption;
    }
}

struct RangeCase
{
    const char *name;
    void (gxButtons_H::*set)(int);
    int (gxButtons_H::*get)() const;
    int valid;
    std::vector<int> invalid;
};

class ButtonRangeTest : public testing::TestWithParam<RangeCase>
{
};

TEST_P(ButtonRangeTest, ValuesOutsideTheRangeChangeNothingAndReportNothing)
{
    const RangeCase &c = GetParam();
    gxButtons_H button;
    (button.*c.set)(c.valid);
    ASSERT_EQ((button.*c.get)(), c.valid);
    QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
    for (int value : c.invalid) {
        (button.*c.set)(value);
        EXPECT_EQ((button.*c.get)(), c.valid) << value;
    }
    EXPECT_EQ(changed.count(), 0);
}

using B = gxButtons_H;
INSTANTIATE_TEST_SUITE_P(Properties, ButtonRangeTest,
    testing::Values(RangeCase { "ButtonStyle", &B::set_ButtonStyle, &B::ButtonStyle, 7, { -1, 8 } },
        RangeCase { "CaptionAlign", &B::set_CaptionAlign, &B::CaptionAlign, 1, { -1, 3 } },
        RangeCase { "CaptionStyle", &B::set_CaptionStyle, &B::CaptionStyle, 2, { -1, 3 } },
        RangeCase { "ButtonShape", &B::set_ButtonShape, &B::ButtonShape, 6, { -1, 7 } },
        RangeCase { "PictureAlign", &B::set_PictureAlign, &B::PictureAlign, 3, { -1, 6 } },
        RangeCase { "PictureSize", &B::set_PictureSize, &B::PictureSize, 2, { -1, 5 } },
        RangeCase { "GradientMode", &B::set_GradientMode, &B::GradientMode, 4, { -1, 5 } },
        RangeCase { "MousePointer", &B::set_MousePointer, &B::MousePointer, 11, { -1, 16, 98 } }),
    [](const testing::TestParamInfo<RangeCase> &info) { return std::string(info.param.name); });

TEST(ButtonAlignment, APictureAboveOrBelowOrBothSidesSlantedKeepTheCaptionCentred)
{
    gxButtons_H button;
    button.set_PictureAlign(5); // without a picture nothing is refused
    button.set_CaptionAlign(1);
    EXPECT_EQ(button.CaptionAlign(), 1);

    button.set_Picture(redSquare());
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
    EXPECT_EQ(changed.at(0).at(0).toString(), QStringLiteral("CapAlign"));
    EXPECT_EQ(changed.at(1).at(0).toString(), QStringLiteral("Shape"));
}

TEST(ButtonHoverColours, FollowTheNormalOnesUntilLockedByAColourOfTheirOwn)
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

    gxButtons_H lockedByCaption;
    lockedByCaption.set_HoverForeColor(0x00FFFF);
    EXPECT_EQ(lockedByCaption.HoverColorLocks(), 2);
}

TEST(ButtonHoverColours, WithAGradientTheHoverFaceIsTheGradientColour)
{
    gxButtons_H button;
    button.set_GradientMode(1);
    button.set_GradientColor(0xFEF3E5);
    EXPECT_EQ(button.HoverBackColor(), 0xFEF3E5u);
    EXPECT_EQ(button.HoverColorLocks(), 0);

    // A stored button whose hover face still is its face: a new face moves
    // the hover face to the gradient colour, which then no longer follows.
    button.ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("Gradient"), 1 },
        { QStringLiteral("cGradient"), 0xFEF3E5 }, { QStringLiteral("cBack"), 0x102030 } }));
    ASSERT_EQ(button.HoverBackColor(), 0x102030u);
    button.set_BackColor(0xCB9654);
    EXPECT_EQ(button.HoverBackColor(), 0xFEF3E5u);
    EXPECT_EQ(button.HoverColorLocks(), 1);
}

TEST(ButtonChanges, EachPropertyReportsItsBagKey)
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

TEST(ButtonChanges, LookFlagsPointerAndFontFollowTheirSettings)
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

TEST(ButtonDelayDrawing, HoldsRedrawsAndAResizeUntilReleased)
{
    ButtonHost host;
    host->set_ButtonShape(4);
    const QImage before = host->MemDC().copy();
    host->set_DelayDrawing(true);
    host->set_Caption(QStringLiteral("Something else"));
    host->set_ButtonStyle(7);
    EXPECT_EQ(host->MemDC(), before);
    host->resize(120, 40);
    host->set_DelayDrawing(false);
    EXPECT_EQ(host->mask(), QRegion(QRect(0, 0, 120, 40), QRegion::Ellipse));
    EXPECT_EQ(host->MemDC().size(), QSize(120, 40));
}

TEST(ButtonZeroSize, ChangesAndInputOnAnEmptyButtonDrawNothingAndDoNotFail)
{
    for (int shape = 0; shape <= 6; ++shape) {
        ButtonHost host(QSize(0, 0));
        WizardButtonLook().applyTo(*host.button);
        host->set_ButtonShape(shape);
        host->resize(0, 0);
        host->set_Caption(QStringLiteral("&Go"));
        pressAt(host.button, QPoint(0, 0));
        sendFocus(host.button, QEvent::FocusIn);
        host->Refresh();
        QImage frame(4, 4, QImage::Format_RGB32);
        host->drawFace(frame);
        EXPECT_TRUE(host->size().isEmpty()) << shape; // a slanted one may widen, yet stays empty
        EXPECT_TRUE(host->MemDC().isNull()) << shape;
        EXPECT_TRUE(frame.isNull()) << shape;
    }
}

// ---------------------------------------------------------------------------
// Property bag

TEST(ButtonPropertyBag, WrittenAndReadBackGivesTheSameButton)
{
    QWidget window;
    auto *original = new gxButtons_H(&window);
    original->set_Caption(QStringLiteral("&Generate"));
    original->set_ButtonStyle(7);
    original->set_ButtonShape(2);
    original->set_CaptionAlign(0);
    original->set_CaptionStyle(1);
    original->set_Picture(redSquare());
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

    EXPECT_EQ(copy->Caption(), original->Caption());
    EXPECT_EQ(copy->AccessKeys(), QStringLiteral("G"));
    EXPECT_EQ(copy->ButtonStyle(), 7);
    EXPECT_EQ(copy->ButtonShape(), 2);
    EXPECT_EQ(copy->CaptionAlign(), 0);
    EXPECT_EQ(copy->CaptionStyle(), 1);
    EXPECT_EQ(copy->Picture(), original->Picture());
    EXPECT_EQ(copy->state().PictureWidth, 16);
    EXPECT_EQ(copy->PictureAlign(), 3);
    EXPECT_EQ(copy->PictureSize(), 1);
    EXPECT_EQ(copy->GradientMode(), 1);
    EXPECT_EQ(copy->GradientColor(), 0xFEF3E5u);
    EXPECT_EQ(copy->BackColor(), 0xD08737u);
    EXPECT_EQ(copy->ForeColor(), 0x404040u);
    EXPECT_EQ(copy->HoverForeColor(), 0x00FFFFu);
    EXPECT_EQ(copy->HoverBackColor(), 0x0000FFu);
    EXPECT_EQ(copy->HoverColorLocks(), 3);
    EXPECT_FALSE(copy->ShowFocusRect());
    EXPECT_EQ(copy->Font(), original->Font());
    EXPECT_TRUE(copy->Font().italic());
    EXPECT_EQ(copy->FontStyle(), 6);
    EXPECT_EQ(copy->MousePointer(), 14);
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->state().FaceRGB, original->state().FaceRGB);

    PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again.toVariantMap(), bag.toVariantMap());
}

TEST(ButtonPropertyBag, ADefaultButtonWritesOnlyFontAndFaceAndReadsBackItsSystemColours)
{
    gxButtons_H original;
    original.set_Caption(QString());
    PropertyBag bag;
    original.WriteProperties(bag);
    QStringList keys = bag.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList { QStringLiteral("cback"), QStringLiteral("font") }));

    original.set_CaptionAlign(0);
    original.WriteProperties(bag);
    gxButtons_H copy;
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.CaptionAlign(), 0);
    EXPECT_EQ(copy.BackColor(), SystemButtonFace);
    EXPECT_EQ(copy.ForeColor(), SystemButtonText);
    EXPECT_EQ(copy.HoverBackColor(), SystemButtonFace);
}

TEST(ButtonPropertyBag, MissingKeysTakeDefaultsAndKeysIgnoreCase)
{
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(palette);
    auto *button = new gxButtons_H(&window);
    button->ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("CAPALIGN"), 1 } }));
    EXPECT_EQ(button->CaptionAlign(), 1);
    EXPECT_EQ(button->Caption(), QString());
    EXPECT_EQ(button->ForeColor(), SystemButtonText);
    EXPECT_EQ(button->BackColor(), RGB(10, 20, 30)); // the window's background
    EXPECT_EQ(button->HoverBackColor(), RGB(10, 20, 30));
    EXPECT_EQ(button->PictureSize(), 0);
}

TEST(ButtonPropertyBag, AStoredStyleOutOfRangeIsTakenAndDrawsAPlainFace)
{
    ButtonHost host(QSize(96, 28));
    host->ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("BackStyle"), 9 } }));
    EXPECT_EQ(host->ButtonStyle(), 9);
    sendFocus(host.button, QEvent::FocusIn);
    const QRgb face = rgbOf(host->state().FaceRGB);
    for (const QPoint &p : { QPoint(10, 0), QPoint(4, 10), QPoint(95, 27) })
        EXPECT_EQ(rgbAt(host->MemDC(), p.x(), p.y()), face) << p.x() << "," << p.y();
}

} // namespace

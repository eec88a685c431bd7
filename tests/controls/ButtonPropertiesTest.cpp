#include "ButtonTestSupport.h"

#include "controls/WizardButtonLook.h"

#include <QFontInfo>
#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

ButtonPicture redSquare(int side = 16)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::magenta); // the transparent colour, from the top-left pixel
    for (int y = side / 4; y < side - side / 4; ++y)
        for (int x = side / 4; x < side - side / 4; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    return ButtonPicture::fromBitmap(image);
}

// ---------------------------------------------------------------------------
// Creation

TEST(ButtonCreation, StartsWithTheDocumentedDefaults)
{
    gxButtons_H button;
    EXPECT_EQ(button.Caption(), gxButtons_H::SentinelCaption());
    EXPECT_EQ(button.ButtonStyle(), 0);
    EXPECT_EQ(button.CaptionAlign(), 2);
    EXPECT_EQ(button.CaptionStyle(), 0);
    EXPECT_EQ(button.ButtonShape(), 0);
    EXPECT_TRUE(button.Picture().isNone());
    EXPECT_EQ(button.PictureAlign(), 0);
    EXPECT_EQ(button.PictureSize(), 0);
    EXPECT_TRUE(button.Enabled());
    EXPECT_TRUE(button.ShowFocusRect());
    EXPECT_EQ(button.MousePointer(), 0);
    EXPECT_EQ(button.ForeColor(), SystemButtonText);
    EXPECT_EQ(button.BackColor(), SystemButtonFace);
    EXPECT_EQ(button.GradientColor(), 0u);
    EXPECT_EQ(button.GradientMode(), 0);
    EXPECT_EQ(button.HoverColorLocks(), 0);
    EXPECT_EQ(button.HoverForeColor(), 0u);
    EXPECT_EQ(button.HoverBackColor(), SystemButtonFace);
    EXPECT_FALSE(button.ResetDefaultColors());
    EXPECT_EQ(button.state().FaceRGB, TranslateColor(SystemButtonFace));
}

TEST(ButtonCreation, AnUnnamedCaptionBecomesTheObjectNameWhenShown)
{
    ButtonHost host;
    EXPECT_EQ(host.button->Caption(), QStringLiteral("cmdTest"));

    QWidget window;
    auto *named = new gxButtons_H(QStringLiteral("Next >>"), &window);
    named->setObjectName(QStringLiteral("cmdNext"));
    window.show();
    EXPECT_EQ(named->Caption(), QStringLiteral("Next >>"));
}

// ---------------------------------------------------------------------------
// Caption and access key

TEST(ButtonAccessKey, ComesFromTheLastAmpersandAndSurvivesCaptionsWithoutOne)
{
    gxButtons_H button;
    button.set_Caption(QStringLiteral("&Save"));
    EXPECT_EQ(button.AccessKeys(), QStringLiteral("S"));
    button.set_Caption(QStringLiteral("Close"));
    EXPECT_EQ(button.AccessKeys(), QStringLiteral("S"));
    button.set_Caption(QStringLiteral("&Back && &Forward"));
    EXPECT_EQ(button.AccessKeys(), QStringLiteral("F"));
    button.set_Caption(QStringLiteral("Trailing&"));
    EXPECT_EQ(button.AccessKeys(), QString());
}

// ---------------------------------------------------------------------------
// Range rules and refusals

struct RangeCase
{
    const char *name;
    std::function<void(gxButtons_H &, int)> set;
    std::function<int(const gxButtons_H &)> get;
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
    c.set(button, c.valid);
    ASSERT_EQ(c.get(button), c.valid);
    QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
    for (int value : c.invalid) {
        c.set(button, value);
        EXPECT_EQ(c.get(button), c.valid) << value;
    }
    EXPECT_EQ(changed.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Properties, ButtonRangeTest,
    testing::Values(RangeCase { "ButtonStyle", &gxButtons_H::set_ButtonStyle, &gxButtons_H::ButtonStyle, 7, { -1, 8 } },
        RangeCase { "CaptionAlign", &gxButtons_H::set_CaptionAlign, &gxButtons_H::CaptionAlign, 1, { -1, 3 } },
        RangeCase { "CaptionStyle", &gxButtons_H::set_CaptionStyle, &gxButtons_H::CaptionStyle, 2, { -1, 3 } },
        RangeCase { "ButtonShape", &gxButtons_H::set_ButtonShape, &gxButtons_H::ButtonShape, 6, { -1, 7 } },
        RangeCase { "PictureAlign", &gxButtons_H::set_PictureAlign, &gxButtons_H::PictureAlign, 3, { -1, 6 } },
        RangeCase { "PictureSize", &gxButtons_H::set_PictureSize, &gxButtons_H::PictureSize, 2, { -1, 5 } },
        RangeCase { "GradientMode", &gxButtons_H::set_GradientMode, &gxButtons_H::GradientMode, 4, { -1, 5 } },
        RangeCase { "MousePointer", &gxButtons_H::set_MousePointer, &gxButtons_H::MousePointer, 11, { -1, 16, 98 } }),
    [](const testing::TestParamInfo<RangeCase> &info) { return std::string(info.param.name); });

TEST(ButtonAlignment, APictureAboveOrBelowKeepsTheCaptionCentred)
{
    gxButtons_H button;
    button.set_CaptionAlign(0);
    button.set_Picture(redSquare());
    button.set_PictureAlign(4);
    EXPECT_EQ(button.CaptionAlign(), 2); // moved to centre by the picture
    button.set_CaptionAlign(0);
    EXPECT_EQ(button.CaptionAlign(), 2); // refused
    button.set_PictureAlign(1);
    button.set_CaptionAlign(0);
    EXPECT_EQ(button.CaptionAlign(), 0); // beside the caption any alignment goes
}

TEST(ButtonAlignment, WithoutAPictureTopAlignRefusesNothing)
{
    gxButtons_H button;
    button.set_PictureAlign(5);
    EXPECT_EQ(button.CaptionAlign(), 2);
    button.set_CaptionAlign(1);
    EXPECT_EQ(button.CaptionAlign(), 1);
}

TEST(ButtonAlignment, BothSidesSlantedCentreALeftCaption)
{
    gxButtons_H button;
    button.set_CaptionAlign(0);
    QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
    button.set_ButtonShape(3);
    EXPECT_EQ(button.CaptionAlign(), 2);
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toString(), QStringLiteral("CapAlign"));
    EXPECT_EQ(changed.at(1).at(0).toString(), QStringLiteral("Shape"));
}

TEST(ButtonPictureSize, MapsToPixelsAndBack)
{
    gxButtons_H button;
    button.set_PictureSize(4);
    EXPECT_EQ(button.state().PicturePixels, 48);
    EXPECT_EQ(button.PictureSize(), 4);
    button.set_PictureSize(1);
    EXPECT_EQ(button.state().PicturePixels, 24);
}

TEST(ButtonFontStyle, SetsBoldItalicAndUnderlineFromBits)
{
    gxButtons_H button;
    button.set_FontStyle(10);
    EXPECT_TRUE(button.Font().bold());
    EXPECT_FALSE(button.Font().italic());
    EXPECT_TRUE(button.Font().underline());
    EXPECT_EQ(button.FontStyle(), 10);
    button.set_FontStyle(4);
    EXPECT_EQ(button.FontStyle(), 4);
}

TEST(ButtonFont, TheCaptionFontIsSizedInPixelsAtFifteenTwips)
{
    gxButtons_H button;
    QFont font = WizardButtonLook::font(8.25);
    button.set_Font(font);
    EXPECT_EQ(button.state().MemFont.pixelSize(), 11);
    button.set_Font(WizardButtonLook::font(9.75));
    EXPECT_EQ(button.state().MemFont.pixelSize(), 13);
}

// ---------------------------------------------------------------------------
// Hover colours

TEST(ButtonHoverColours, FollowTheNormalColoursWhileUnlocked)
{
    gxButtons_H button;
    button.set_BackColor(0x112233);
    button.set_ForeColor(0x445566);
    EXPECT_EQ(button.HoverBackColor(), 0x112233u);
    EXPECT_EQ(button.HoverForeColor(), 0x445566u);
    EXPECT_EQ(button.HoverColorLocks(), 0);
}

TEST(ButtonHoverColours, AHoverFaceOfItsOwnStopsFollowing)
{
    gxButtons_H button;
    button.set_HoverBackColor(0x00FF00);
    EXPECT_EQ(button.HoverColorLocks(), 1);
    button.set_BackColor(0x0000FF);
    EXPECT_EQ(button.HoverBackColor(), 0x00FF00u);
    // The caption colour still follows under lock 1.
    button.set_ForeColor(0x123456);
    EXPECT_EQ(button.HoverForeColor(), 0x123456u);
}

TEST(ButtonHoverColours, AHoverCaptionColourOfItsOwnStopsFollowing)
{
    gxButtons_H button;
    button.set_HoverForeColor(0x00FFFF);
    EXPECT_EQ(button.HoverColorLocks(), 2);
    button.set_ForeColor(0x404040);
    EXPECT_EQ(button.HoverForeColor(), 0x00FFFFu);
    button.set_HoverBackColor(0xFEF3E5);
    EXPECT_EQ(button.HoverColorLocks(), 3);
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

TEST(ButtonHoverColours, SettingTheLocksBringsTheFollowersBack)
{
    gxButtons_H button;
    button.set_HoverForeColor(0x0000FF);
    button.set_HoverBackColor(0x00FF00);
    ASSERT_EQ(button.HoverColorLocks(), 3);
    button.set_HoverColorLocks(0);
    EXPECT_EQ(button.HoverBackColor(), button.BackColor());
    EXPECT_EQ(button.HoverForeColor(), button.ForeColor());
    // Any other value makes nothing follow.
    button.set_HoverColorLocks(9);
    button.set_ForeColor(0x010203);
    EXPECT_NE(button.HoverForeColor(), 0x010203u);
}

TEST(ButtonFaceColours, StylesShadeTheFace)
{
    gxButtons_H button;
    button.set_BackColor(0xCB9654);
    button.set_ButtonStyle(7);
    EXPECT_EQ(button.state().FaceRGB, RGB(0x54 + 31, 0x96 + 31, 0xCB + 31));
    EXPECT_EQ(button.state().FaceDarkRGB, RGB(0x54 - 32, 0x96 - 32, 0xCB - 32));
    button.set_ButtonStyle(2);
    EXPECT_EQ(button.state().FaceRGB, ShiftColor(0xCB9654, 48, true));
    EXPECT_EQ(button.state().FaceDarkRGB, ShiftColor(button.state().FaceRGB, -32, true));
    button.set_ButtonStyle(3);
    EXPECT_EQ(button.state().FaceDarkRGB, RGB(140, 140, 140));
}

// ---------------------------------------------------------------------------
// Side effects callers see

TEST(ButtonChanges, EachPropertyReportsItsBagKey)
{
    gxButtons_H button;
    const std::vector<std::pair<std::function<void()>, QString>> cases = {
        { [&] { button.set_ButtonStyle(7); }, QStringLiteral("BackStyle") },
        { [&] { button.set_Caption(QStringLiteral("x")); }, QStringLiteral("Caption") },
        { [&] { button.set_CaptionStyle(1); }, QStringLiteral("CapStyle") },
        { [&] { button.set_PictureSize(2); }, QStringLiteral("ImgSize") },
        { [&] { button.set_ShowFocusRect(false); }, QStringLiteral("Focus") },
        { [&] { button.set_GradientMode(3); }, QStringLiteral("Gradient") },
        { [&] { button.set_GradientColor(0x123); }, QStringLiteral("cGradient") },
        { [&] { button.set_BackColor(0x456); }, QStringLiteral("cBack") },
        { [&] { button.set_HoverColorLocks(3); }, QStringLiteral("LockHover") },
        { [&] { button.set_Enabled(false); }, QStringLiteral("Enabled") },
        { [&] { button.set_MousePointer(2); }, QStringLiteral("mPointer") },
        { [&] { button.set_FontStyle(2); }, QStringLiteral("Font") },
    };
    for (const auto &[change, key] : cases) {
        QSignalSpy changed(&button, &gxButtons_H::PropertyChanged);
        change();
        ASSERT_GE(changed.count(), 1) << key.toStdString();
        EXPECT_EQ(changed.last().at(0).toString(), key);
    }
}

TEST(ButtonEnabled, IsTheButtonsOwnSettingWhileTheLookFollowsItsWindow)
{
    QWidget window;
    auto *button = new gxButtons_H(&window);
    window.setEnabled(false);
    EXPECT_TRUE(button->Enabled());
    EXPECT_FALSE(button->state().Enabled);
    window.setEnabled(true);
    button->set_Enabled(false);
    EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(button->state().Enabled);
}

TEST(ButtonShowFocusRect, ClearsTheFocusedLook)
{
    ButtonHost host;
    sendFocus(host.button, QEvent::FocusIn);
    ASSERT_TRUE(host.button->state().StateBits & ButtonState::Focused);
    host.button->set_ShowFocusRect(false);
    EXPECT_FALSE(host.button->state().StateBits & ButtonState::Focused);
}

TEST(ButtonDelayDrawing, HoldsRedrawsUntilReleased)
{
    ButtonHost host;
    const QImage before = host.button->MemDC().copy();
    host.button->set_DelayDrawing(true);
    host.button->set_Caption(QStringLiteral("Something else"));
    host.button->set_ButtonStyle(7);
    EXPECT_EQ(host.button->MemDC(), before);
    host.button->set_DelayDrawing(false);
    EXPECT_NE(host.button->MemDC(), before);
}

TEST(ButtonDelayDrawing, AResizeWhileHeldIsHandledOnRelease)
{
    ButtonHost host;
    host.button->set_ButtonShape(4);
    host.button->set_DelayDrawing(true);
    host.button->resize(120, 40);
    host.button->set_DelayDrawing(false);
    EXPECT_EQ(host.button->mask(), QRegion(QRect(0, 0, 120, 40), QRegion::Ellipse));
    EXPECT_EQ(host.button->MemDC().size(), QSize(120, 40));
}

TEST(ButtonMousePointer, ShapesAndTheCustomIcon)
{
    gxButtons_H button;
    button.set_MousePointer(11);
    EXPECT_EQ(button.cursor().shape(), Qt::WaitCursor);
    QPixmap arrow(16, 16);
    arrow.fill(Qt::black);
    button.set_MouseIcon(ButtonPicture::fromIcon(QIcon(arrow)));
    EXPECT_EQ(button.MousePointer(), 99);
    EXPECT_EQ(button.cursor().shape(), Qt::BitmapCursor);
    button.set_MousePointer(0);
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);
}

// ---------------------------------------------------------------------------
// Property bag

TEST(ButtonPropertyBag, ADefaultButtonWritesOnlyItsFontAndFace)
{
    gxButtons_H button;
    button.set_Caption(QString());
    PropertyBag bag;
    button.WriteProperties(bag);
    QStringList keys = bag.keys();
    keys.sort();
    EXPECT_EQ(keys, (QStringList { QStringLiteral("cback"), QStringLiteral("font") }));
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
    EXPECT_EQ(copy->FontStyle(), 6);
    EXPECT_EQ(copy->MousePointer(), 14);
    EXPECT_FALSE(copy->Enabled());
    EXPECT_EQ(copy->state().FaceRGB, original->state().FaceRGB);

    PropertyBag again;
    copy->WriteProperties(again);
    EXPECT_EQ(again.toVariantMap(), bag.toVariantMap());
}

TEST(ButtonPropertyBag, SystemColoursAndLeftAlignmentSurviveASaveAndLoad)
{
    gxButtons_H original;
    original.set_CaptionAlign(0);
    PropertyBag bag;
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

TEST(ButtonPropertyBag, StoredValuesAreTakenUnchecked)
{
    ButtonHost host;
    host.button->ReadProperties(PropertyBag(QVariantMap { { QStringLiteral("BackStyle"), 9 } }));
    EXPECT_EQ(host.button->ButtonStyle(), 9);
    QImage frame;
    host.button->drawFace(frame);
    EXPECT_EQ(frame.size(), host.button->size());
}

// ---------------------------------------------------------------------------
// The wizard's look

TEST(WizardButtonLook, GivesTheSoftBevelWithTheGradientAndSerifFont)
{
    gxButtons_H button;
    WizardButtonLook().applyTo(button);
    EXPECT_EQ(button.ButtonStyle(), 7);
    EXPECT_EQ(button.CaptionAlign(), 2);
    EXPECT_EQ(button.GradientMode(), 1);
    EXPECT_EQ(button.GradientColor(), 0xFEF3E5u);
    EXPECT_EQ(button.HoverBackColor(), 0xFEF3E5u);
    EXPECT_EQ(button.BackColor(), 0xCB9654u);
    EXPECT_EQ(button.ForeColor(), 0x404040u);
    EXPECT_EQ(button.HoverForeColor(), 0x00FFFFu);
    EXPECT_EQ(button.HoverColorLocks(), 3);
    EXPECT_DOUBLE_EQ(button.Font().pointSizeF(), 9.0);
    const QString family = QFontInfo(button.Font()).family();
    EXPECT_TRUE(family == QLatin1String("Times New Roman") || family == QLatin1String("Liberation Serif"))
        << family.toStdString();

    WizardButtonLook plain;
    plain.ForeColor = 0;
    plain.HoverForeColor = 0;
    plain.HoverColorLocks = 2;
    plain.pointSize = 8.25;
    plain.applyTo(button);
    EXPECT_EQ(button.ForeColor(), 0u);
    EXPECT_EQ(button.HoverForeColor(), 0u);
    EXPECT_EQ(button.HoverColorLocks(), 2);
}

} // namespace

#include "controls/ButtonColors.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

struct ShiftCase
{
    const char *name;
    OleColor colour;
    int amount;
    bool proportionalBlue;
    bool avoidBlackWhite;
    bool invert;
    OleColor expected;
};

class ShiftColorTest : public testing::TestWithParam<ShiftCase>
{
};

TEST_P(ShiftColorTest, GivesTheShadeTheFacesAreDrawnWith)
{
    const ShiftCase &c = GetParam();
    EXPECT_EQ(ShiftColor(c.colour, c.amount, c.proportionalBlue, c.avoidBlackWhite, c.invert), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Shades, ShiftColorTest,
    testing::Values(ShiftCase { "grey_darker", RGB(128, 128, 128), -26, false, false, false, RGB(102, 102, 102) },
        ShiftCase { "light_grey_lighter", RGB(223, 223, 223), 8, false, false, false, RGB(231, 231, 231) },
        ShiftCase { "white_avoided", RGB(255, 255, 255), 31, false, true, false, RGB(224, 224, 224) },
        ShiftCase { "black_by_nothing_avoided", RGB(0, 0, 0), 0, false, true, false, RGB(64, 64, 64) },
        ShiftCase { "white_by_nothing_avoided", RGB(255, 255, 255), 0, false, true, false, RGB(191, 191, 191) },
        ShiftCase { "blue_proportional", RGB(0, 0, 192), -32, true, false, false, RGB(0, 0, 160) },
        ShiftCase { "blue_share_truncates", RGB(10, 10, 100), -25, true, false, false, RGB(0, 0, 87) },
        ShiftCase { "channels_clamp", RGB(250, 10, 5), 20, false, false, false, RGB(255, 30, 25) },
        ShiftCase { "channels_clamp_low", RGB(250, 10, 5), -20, false, false, false, RGB(230, 0, 0) },
        ShiftCase { "inverted", RGB(10, 20, 30), 0, false, false, true, RGB(245, 235, 225) },
        ShiftCase { "wizard_face_lighter", 0x00CB9654, 31, false, false, false, RGB(0x73, 0xB5, 0xEA) }),
    [](const testing::TestParamInfo<ShiftCase> &info) { return std::string(info.param.name); });

TEST(ShiftColor, AvoidingBlackAndWhiteWhileInvertingEnds)
{
    // Each retry flips between black and white; the retry is bounded.
    const OleColor result = ShiftColor(RGB(0, 0, 0), 255, false, true, true);
    EXPECT_TRUE(result == 0 || result == 0xFFFFFF);
}

TEST(TranslateColor, MapsSystemColoursToThePaletteAndKeepsRgb)
{
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(TranslateColor(SystemButtonFace), fromQColor(palette.color(QPalette::Button)));
    EXPECT_EQ(TranslateColor(SystemButtonText), fromQColor(palette.color(QPalette::ButtonText)));
    EXPECT_EQ(TranslateColor(0x00FFFFFF), 0x00FFFFFFu);
    EXPECT_EQ(TranslateColor(0x00CB9654), 0x00CB9654u);
}

TEST(TranslateColor, RgbLayoutIsRedInTheLowByte)
{
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(fromQColor(QColor(0x54, 0x96, 0xCB)), 0xCB9654u);
}

TEST(GradientStep, RunsFromStartToEndInEqualSteps)
{
    const std::vector<OleColor> colours = GradientStep(RGB(0, 0, 0), RGB(255, 255, 255), 5);
    const std::vector<OleColor> expected
        = { RGB(0, 0, 0), RGB(63, 63, 63), RGB(127, 127, 127), RGB(191, 191, 191), RGB(255, 255, 255) };
    EXPECT_EQ(colours, expected);
}

TEST(GradientStep, FallingChannelsAndASingleBand)
{
    const std::vector<OleColor> falling = GradientStep(RGB(200, 0, 100), RGB(0, 200, 100), 3);
    const std::vector<OleColor> expected = { RGB(200, 0, 100), RGB(100, 100, 100), RGB(0, 200, 100) };
    EXPECT_EQ(falling, expected);
    // One band would divide by zero; it takes the start colour.
    EXPECT_EQ(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 1), std::vector<OleColor> { RGB(1, 2, 3) });
    EXPECT_TRUE(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 0).empty());
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-12.5), -12);
    EXPECT_EQ(roundHalfEven(-0.4), 0);
    EXPECT_EQ(roundHalfEven(1.6), 2);
}

} // namespace

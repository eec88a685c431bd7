#include "controls/ButtonColors.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

using namespace ButtonColors;

namespace {

struct ShiftCase
{
    OleColor colour;
    int amount;
    bool proportionalBlue, avoidBlackWhite, invert;
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
    testing::Values(ShiftCase { RGB(128, 128, 128), -26, false, false, false, RGB(102, 102, 102) },
        ShiftCase { RGB(255, 255, 255), 31, false, true, false, RGB(224, 224, 224) }, // white avoided
        ShiftCase { RGB(0, 0, 0), 0, false, true, false, RGB(64, 64, 64) },
        ShiftCase { RGB(255, 255, 255), 0, false, true, false, RGB(191, 191, 191) },
        ShiftCase { RGB(0, 0, 192), -32, true, false, false, RGB(0, 0, 160) }, // blue's share
        ShiftCase { RGB(10, 10, 100), -25, true, false, false, RGB(0, 0, 87) }, // the share truncates
        ShiftCase { RGB(250, 10, 5), 20, false, false, false, RGB(255, 30, 25) }, // channels clamp
        ShiftCase { RGB(250, 10, 5), -20, false, false, false, RGB(230, 0, 0) },
        ShiftCase { RGB(10, 20, 30), 0, false, false, true, RGB(245, 235, 225) }));

TEST(ShiftColor, AvoidingBlackAndWhiteWhileInvertingEnds)
{
    // Each retry flips between black and white; the retry is bounded.
    const OleColor result = ShiftColor(RGB(0, 0, 0), 255, false, true, true);
    EXPECT_TRUE(result == 0 || result == 0xFFFFFF);
}

TEST(TranslateColor, MapsSystemColoursToThePaletteAndKeepsRgbWithRedInTheLowByte)
{
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(TranslateColor(SystemButtonFace), fromQColor(palette.color(QPalette::Button)));
    EXPECT_EQ(TranslateColor(SystemButtonText), fromQColor(palette.color(QPalette::ButtonText)));
    EXPECT_EQ(TranslateColor(0x00CB9654), 0x00CB9654u);
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(fromQColor(QColor(0x54, 0x96, 0xCB)), 0xCB9654u);
}

TEST(GradientStep, RunsInEqualStepsEitherWayAndASingleBandIsTheStart)
{
    EXPECT_EQ(GradientStep(RGB(0, 0, 0), RGB(255, 255, 255), 5),
        (std::vector<OleColor> { 0, RGB(63, 63, 63), RGB(127, 127, 127), RGB(191, 191, 191), RGB(255, 255, 255) }));
    EXPECT_EQ(GradientStep(RGB(200, 0, 100), RGB(0, 200, 100), 3),
        (std::vector<OleColor> { RGB(200, 0, 100), RGB(100, 100, 100), RGB(0, 200, 100) }));
    // One band would divide by zero; it takes the start colour.
    EXPECT_EQ(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 1), std::vector<OleColor> { RGB(1, 2, 3) });
    EXPECT_TRUE(GradientStep(RGB(1, 2, 3), RGB(200, 200, 200), 0).empty());
}

} // namespace

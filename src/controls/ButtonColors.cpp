#include "ButtonColors.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace ButtonColors {

namespace {

int clampChannel(int value)
{
    return std::clamp(value, 0, 255);
}

OleColor shiftOnce(OleColor colour, int amount, bool proportionalBlue, bool invert)
{
    int r = int(colour & 0xFF) + amount;
    int g = int((colour >> 8) & 0xFF) + amount;
    const int blue = int((colour >> 16) & 0xFF);
    // Integer division truncates toward zero, as the shading tables assume.
    int b = proportionalBlue ? blue + (amount * blue) / 192 : blue + amount;
    r = clampChannel(r);
    g = clampChannel(g);
    b = clampChannel(b);
    if (invert) {
        r = 255 - r;
        g = 255 - g;
        b = 255 - b;
    }
    return RGB(r, g, b);
}

// Where a system colour index comes from in the palette. Indexes follow the
// platform's numbering of system colours (15 button face, 18 button text, ...).
QColor systemColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 1: // desktop
    case 4: // menu
    case 10: // active border
    case 11: // inactive border
    case 30: // menu bar
        return palette.color(QPalette::Window);
    case 0: // scroll bar
    case 12: // application workspace
    case 16: // button shadow
        return palette.color(QPalette::Mid);
    case 2: // active caption
    case 13: // highlight
    case 27: // gradient of the active caption
    case 29: // highlighted menu item
        return palette.color(QPalette::Highlight);
    case 3: // inactive caption
    case 28: // gradient of the inactive caption
        return palette.color(QPalette::Inactive, QPalette::Highlight);
    case 5: // window
        return palette.color(QPalette::Base);
    case 6: // window frame
    case 21: // dark 3-D shadow
        return palette.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return palette.color(QPalette::WindowText);
    case 9: // caption text
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 19: // inactive caption text
        return palette.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 22: // 3-D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    case 26: // hot-tracked item
        return palette.color(QPalette::Link);
    default:
        return QColor(Qt::black);
    }
}

} // namespace

OleColor TranslateColor(OleColor oleColour)
{
    if (!isSystemColor(oleColour))
        return oleColour;
    return fromQColor(systemColor(int(oleColour & 0xFF)));
}

OleColor ShiftColor(OleColor colour, int amount, bool proportionalBlue, bool avoidBlackWhite, bool invert)
{
    OleColor result = shiftOnce(colour, amount, proportionalBlue, invert);
    // A handful of retries settles every amount; the bound only guards against
    // an inverted shift that flips between black and white for ever.
    for (int retry = 0; avoidBlackWhite && retry < 8 && (result == 0 || result == 0xFFFFFF); ++retry) {
        amount = amount == 0 ? 64 : -amount;
        result = shiftOnce(colour, amount, proportionalBlue, invert);
    }
    return result;
}

std::vector<OleColor> GradientStep(OleColor startColour, OleColor endColour, int count)
{
    std::vector<OleColor> colours;
    if (count < 1)
        return colours;
    colours.reserve(std::size_t(count));
    colours.push_back(startColour);
    if (count == 1)
        return colours; // a single band takes the start colour

    // Single-precision running channels, each step added and clamped, so
    // the bands come out as the button has always shaded them.
    float channel[3];
    float step[3];
    for (int i = 0; i < 3; ++i) {
        const int shift = 8 * i;
        channel[i] = float((startColour >> shift) & 0xFF);
        step[i] = (float((endColour >> shift) & 0xFF) - channel[i]) / float(count - 1);
    }
    for (int k = 1; k < count; ++k) {
        int whole[3];
        for (int i = 0; i < 3; ++i) {
            channel[i] = std::clamp(channel[i] + step[i], 0.0f, 255.0f);
            whole[i] = int(std::floor(channel[i]));
        }
        colours.push_back(RGB(whole[0], whole[1], whole[2]));
    }
    return colours;
}

int roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(down, 2.0) != 0.0))
        return int(down) + 1;
    return int(down);
}

QColor toQColor(OleColor colour)
{
    const OleColor rgb = TranslateColor(colour);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

OleColor fromQColor(const QColor &colour)
{
    return RGB(colour.red(), colour.green(), colour.blue());
}

} // namespace ButtonColors

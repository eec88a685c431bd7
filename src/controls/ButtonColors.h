#pragma once

#include <QColor>
#include <QtGlobal>

#include <vector>

// Colours of the push button. An OLE colour is either an RGB value laid out
// as 0x00BBGGRR or, with the high bit set, the index of a system colour in
// its low byte. Every shade the button paints is derived from these values,
// so the arithmetic works on that layout rather than on QColor.
using OleColor = quint32;

namespace ButtonColors {

inline constexpr OleColor SystemButtonFace = 0x8000000F;
inline constexpr OleColor SystemButtonText = 0x80000012;

constexpr OleColor RGB(int r, int g, int b)
{
    return OleColor(r & 0xFF) | OleColor(g & 0xFF) << 8 | OleColor(b & 0xFF) << 16;
}

inline bool isSystemColor(OleColor colour)
{
    return (colour & 0x80000000u) != 0;
}

// A system colour as the application's palette gives it; RGB values unchanged.
OleColor TranslateColor(OleColor oleColour);

// Lightens (positive amount) or darkens a colour channel by channel, clamped
// to 0..255. proportionalBlue scales the blue change by blue / 192;
// avoidBlackWhite retries with the amount negated (64 when it was 0) until the
// result is neither black nor white; invert mirrors each channel.
OleColor ShiftColor(
    OleColor colour, int amount, bool proportionalBlue = false, bool avoidBlackWhite = false, bool invert = false);

// count colours from startColour to endColour in equal steps; the first is
// startColour exactly.
std::vector<OleColor> GradientStep(OleColor startColour, OleColor endColour, int count);

// Rounds to the nearest whole number, halves to the even one.
int roundHalfEven(double value);

// RGB value (system colours translated) as a QColor, and back.
QColor toQColor(OleColor colour);
OleColor fromQColor(const QColor &colour);

} // namespace ButtonColors

#pragma once

#include <QString>

// How the wizard reads a number the user typed into a text box: the number
// at the start of the text, whatever follows it.
namespace NumericText {

// The number at the start of `text`, read up to the first character that
// cannot continue it; 0 when the text does not start with a number. Blanks,
// tabs and line feeds are passed over anywhere; "." is the decimal point; an
// exponent may follow ("1e3", "1d3"); "&H" and "&O" start hexadecimal and
// octal numbers. A number too large for a double gives the largest one.
double Val(const QString &text);

// `value` rounded to a 32-bit integer, halves to the even neighbour; values
// beyond the range give its nearest end.
qint32 to_long(double value);

} // namespace NumericText

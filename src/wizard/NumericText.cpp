#include "NumericText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace NumericText {

namespace {

bool skipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

int digit_value(char16_t c, int radix)
{
    int digit = radix;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < radix ? digit : -1;
}

// The digits after "&H" or "&O" as the 16-bit or 32-bit integer they
// spell, so that "&HFFFF" is -1.
double radix_value(QStringView digits, int radix)
{
    quint64 value = 0;
    for (const QChar c : digits) {
        const int digit = digit_value(c.unicode(), radix);
        if (digit < 0)
            break;
        value = value * radix + digit;
        if (value > 0xFFFFFFFFull)
            return static_cast<double>(value); // beyond 32 bits: no sign wrap
    }
    if (value <= 0xFFFF)
        return static_cast<qint16>(static_cast<quint16>(value));
    return static_cast<qint32>(static_cast<quint32>(value));
}

} // namespace

double Val(const QString &text)
{
    QString packed;
    packed.reserve(text.size());
    for (const QChar c : text) {
        if (!skipped(c))
            packed += c;
    }
    const auto at = [&packed](qsizetype k) -> char16_t { return k < packed.size() ? packed.at(k).unicode() : 0; };

    if (at(0) == '&') {
        if (at(1) == 'H' || at(1) == 'h')
            return radix_value(QStringView(packed).mid(2), 16);
        if (at(1) == 'O' || at(1) == 'o')
            return radix_value(QStringView(packed).mid(2), 8);
        return radix_value(QStringView(packed).mid(1), 8);
    }

    // The longest start of the text that reads as a decimal number; the
    // conversion itself ignores the locale.
    const auto is_digit = [](char16_t c) { return c >= '0' && c <= '9'; };
    qsizetype i = 0;
    bool negative = false;
    if (at(i) == '+' || at(i) == '-')
        negative = at(i++) == '-';
    std::string number;
    bool digits = false;
    for (; is_digit(at(i)); ++i, digits = true)
        number += char(at(i));
    if (at(i) == '.') {
        number += '.';
        for (++i; is_digit(at(i)); ++i, digits = true)
            number += char(at(i));
    }
    if (!digits)
        return 0;
    const char16_t mark = at(i);
    if (mark == 'e' || mark == 'E' || mark == 'd' || mark == 'D') {
        qsizetype k = i + 1;
        std::string exponent = "e";
        if (at(k) == '+' || at(k) == '-')
            exponent += char(at(k++));
        bool exponent_digits = false;
        for (; is_digit(at(k)); ++k, exponent_digits = true)
            exponent += char(at(k));
        if (exponent_digits)
            number += exponent;
    }

    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    Q_UNUSED(end);
    if (error == std::errc::result_out_of_range) {
        // Too large, or too small to tell from 0.
        const auto point = number.find('e');
        const bool tiny = point != std::string::npos && number[point + 1] == '-';
        value = tiny ? 0 : std::numeric_limits<double>::max();
    }
    return negative ? -value : value;
}

qint32 to_long(double value)
{
    const double rounded = std::nearbyint(value); // the default mode rounds halves to even
    if (rounded >= static_cast<double>(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(rounded);
}

} // namespace NumericText

#pragma once

#include "generate/Html_converter.h"

#include <QString>
#include <QStringList>

#include <iterator>
#include <random>

// Texts and values as a person types and chooses them, drawn from a seed:
// other scripts, quotes, "$", "\\", "=", ",", "<br>", "*", "#" and blanks at
// either end.
class Typist
{
public:
    explicit Typist(unsigned seed)
        : m_random(seed)
    { }

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool flag() { return number(0, 1) == 1; }

    QString text(int longest = 12)
    {
        static const char *const pieces[]
            = { "a", "Z", "7", " ", "\xC3\xA9", "\xC3\x9F", "\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80", "\"", "'",
                  "$", "\\", "=", ",", "<br>", "*", "#", ";", "^", "[[", "]]", "&", "%", "http://" };
        QString result;
        const int count = number(0, longest);
        for (int i = 0; i < count; ++i)
            result += QString::fromUtf8(pieces[number(0, int(std::size(pieces)) - 1)]);
        if (flag())
            result = QStringLiteral("  ") + result + QLatin1Char(' ');
        return result;
    }
    // A text for inside a field record, or for a list joined by ",".
    QString item() { return text().replace(QStringLiteral(";^"), QStringLiteral("; ^")); }
    QString piece()
    {
        return text()
                   .remove(QLatin1Char(','))
                   .remove(QLatin1Char(' '))
                   .replace(QStringLiteral(";^"), QStringLiteral(";x^"))
            + QLatin1Char('x');
    }
    // A text of a few lines joined by `line_break`; a typed "<br>" would
    // read back as a break, so there is none.
    QString lines(const QString &line_break)
    {
        QStringList parts;
        const int count = number(0, 5);
        for (int i = 0; i <= count; ++i)
            parts << text().remove(QStringLiteral("<br>"));
        return parts.join(line_break);
    }
    qint32 whole() { return flag() ? number(-10, 10) : qint32(m_random()); }
    double size()
    {
        static const double sizes[] = { 0, 1.5, 0.1, 250000, 1e-7, 123456.789, 3e20 };
        return flag() ? sizes[number(0, 6)] : std::uniform_real_distribution<double>(0, 1e9)(m_random);
    }
    FontSpec font() { return FontSpec { text(), size(), flag(), flag(), flag(), flag() }; }

private:
    std::mt19937 m_random;
};

#include "Html_converter.h"

namespace Html_converter {

QString color_to_html(qint32 color)
{
    const QString digits
        = (QStringLiteral("00000") + QString::number(static_cast<quint32>(color), 16).toUpper()).right(6);
    return QLatin1Char('#') + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
}

QString text_to_html(const QString &text, const FontSpec &font, qint32 color)
{
    // Sizes are kept to four decimals, as the dialog reports them.
    const double size = qRound64(font.size * 10000) / 10000.0;
    int html_size = 7;
    if (size <= 8)
        html_size = 1;
    else if (size <= 10)
        html_size = 2;
    else if (size <= 12)
        html_size = 3;
    else if (size <= 14)
        html_size = 4;
    else if (size <= 18)
        html_size = 5;
    else if (size <= 24)
        html_size = 6;

    QString html = QStringLiteral("<p align='center'>");
    if (font.bold)
        html += QStringLiteral("<b>");
    if (font.italic)
        html += QStringLiteral("<i>");
    if (font.underline)
        html += QStringLiteral("<u>");
    if (font.strikethrough)
        html += QStringLiteral("<strike>");
    html += QStringLiteral("<font face='") + font.name + QStringLiteral("' size='") + QString::number(html_size)
        + QStringLiteral("' color='") + color_to_html(color) + QStringLiteral("'>");
    html += text;
    html += QStringLiteral("</font>");
    if (font.strikethrough)
        html += QStringLiteral("</strike>");
    if (font.underline)
        html += QStringLiteral("</u>");
    if (font.italic)
        html += QStringLiteral("</i>");
    if (font.bold)
        html += QStringLiteral("</b>");
    return html + QStringLiteral("</p>");
}

} // namespace Html_converter

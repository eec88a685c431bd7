#include "FontConversion.h"

QFont to_qfont(const FontSpec &spec, const QFont &fallback)
{
    QFont font(fallback);
    if (!spec.name.isEmpty())
        font.setFamily(spec.name);
    if (spec.size > 0)
        font.setPointSizeF(spec.size);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikethrough);
    return font;
}

QColor to_qcolor(qint32 color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

qint32 from_qcolor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

#pragma once

#include <QString>

// A font as the font dialog gives it.
struct FontSpec
{
    QString name;
    double size = 0; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};

// Turns a text with the font and colour the user chose into an HTML fragment.
namespace Html_converter {

// A centred paragraph whose style tags and font tag reproduce the font. The
// text is put in as it stands.
QString text_to_html(const QString &text, const FontSpec &font, qint32 color);

// "#RRGGBB" of a colour kept as 0x00BBGGRR; only the low six digits count.
QString color_to_html(qint32 color);

} // namespace Html_converter

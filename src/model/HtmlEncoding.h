#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The character set a browser reads a page in, and the page turned into the
// UTF-8 that the parser takes.
//
// A byte order mark decides first, then the charset of the HTTP header, then
// a <meta> in the first 1024 bytes. Without any of them a browser guesses:
// UTF-8 when the bytes are valid UTF-8, else Windows-1252. A guess or a
// <meta> found early stays tentative: the first <meta> the parser meets may
// still change it.
class HtmlEncoding final
{
public:
    // Names used here for the encodings the reader decodes itself.
    static const QByteArray utf8;
    static const QByteArray windows1252;

    HtmlEncoding(QByteArrayView page, QByteArrayView http_charset);

    const QByteArray &name() const { return m_name; }
    // True when a byte order mark or the HTTP header chose the encoding.
    bool certain() const { return m_certain; }

    // The encoding an encoding label names, as browsers map labels (so
    // "iso-8859-1" and "ascii" are Windows-1252); empty for an unknown label.
    static QByteArray for_label(QByteArrayView label);
    // The encoding a <meta charset> label gives the page: the UTF-16 labels
    // and "x-user-defined" fall back as browsers make them.
    static QByteArray for_meta_label(QByteArrayView label);
    // The label after "charset=" in a Content-Type value (HTTP header or
    // <meta http-equiv> content); empty when there is none.
    static QByteArray charset_parameter(QByteArrayView content);
    // The page, without byte order mark, as UTF-8.
    static QByteArray to_utf8(const QByteArray &page, const QByteArray &encoding);
    static bool is_utf8(QByteArrayView bytes);

private:
    static QByteArray prescan(QByteArrayView page);

    QByteArray m_name;
    bool m_certain = false;
};

#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The character set a browser reads a page in, and the page turned into the
// UTF-8 that the parser takes. Encodings, their labels and their decoding
// are those of the WHATWG Encoding Standard, which browsers follow.
//
// A byte order mark decides first, then the charset of the HTTP header, then
// a <meta> in the first 1024 bytes. Without any of them a browser guesses:
// UTF-8 when the bytes are valid UTF-8, else what a charset detector makes
// of the bytes, and Windows-1252 when it makes nothing of them. A guess or a
// <meta> found early stays tentative: the first <meta> the parser meets may
// still change it.
class HtmlEncoding final
{
public:
    // Names of encodings the reader has rules of its own for.
    static const QByteArray utf8;
    static const QByteArray windows1252;
    // Stands for encodings browsers refuse to read (ISO-2022-KR, HZ, ...).
    static const QByteArray replacement;

    HtmlEncoding(QByteArrayView page, QByteArrayView http_charset);

    // The encoding's name as the standard spells it.
    const QByteArray &name() const { return m_name; }
    // The label that named it, as the header or the page wrote it; empty
    // when the encoding came from a byte order mark or a guess.
    const QByteArray &label() const { return m_label; }
    // True when a byte order mark or the HTTP header chose the encoding.
    bool certain() const { return m_certain; }
    // True when a byte order mark, the HTTP header or a <meta> named it;
    // false for a guess.
    bool declared() const { return m_certain || !m_label.isEmpty(); }

    // The encoding a label names, as browsers map labels (so "iso-8859-1"
    // and "ascii" are Windows-1252); empty for a label they do not know.
    static QByteArray for_label(QByteArrayView label);
    // The encoding a <meta charset> label gives the page: the UTF-16 labels
    // and "x-user-defined" fall back as browsers make them.
    static QByteArray for_meta_label(QByteArrayView label);
    // The encoding a browser submits a form in, and whether the page or the
    // form named it.
    struct Submission
    {
        QByteArray encoding;
        bool declared = true;
    };
    // The first label of the form's accept-charset (labels separated by
    // blanks or commas) that names an encoding, else the page's encoding;
    // UTF-16 and the replacement encoding submit UTF-8. Where neither the
    // form nor the page names one, the browser posts in its own default:
    // the encoding it guessed for the page, or windows-1252 for a guess of
    // UTF-8 (an ASCII page gives no ground for it, and browsers do not
    // guess UTF-8 for a page from a web server). Such a form is not
    // declared: on a server whose header names UTF-8 it posts UTF-8.
    static Submission for_submission(
        const QByteArray &page_encoding, bool page_declared, QByteArrayView accept_charset);
    // The label after "charset=" in a Content-Type value (HTTP header or
    // <meta http-equiv> content); empty when there is none.
    static QByteArray charset_parameter(QByteArrayView content);
    // False for the replacement encoding, and for one whose tables this
    // system lacks.
    static bool can_decode(const QByteArray &encoding);
    // The page, without byte order mark, as UTF-8.
    static QByteArray to_utf8(const QByteArray &page, const QByteArray &encoding);
    static bool is_utf8(QByteArrayView bytes);

private:
    // The label of the page's first usable <meta> charset in its first bytes.
    static QByteArray prescan(QByteArrayView page);
    // What a charset detector makes of the bytes; empty when nothing usable.
    static QByteArray detect(QByteArrayView page);

    QByteArray m_name;
    QByteArray m_label;
    bool m_certain = false;
};

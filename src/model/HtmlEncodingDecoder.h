#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The decoders of the WHATWG Encoding Standard, which browsers use: bytes in
// one of its encodings to the text they stand for, as UTF-8. Each decoder
// follows the standard's steps, so a malformed sequence gives the same
// U+FFFD, and the bytes after it the same characters, as in a browser.
class HtmlEncodingDecoder final
{
public:
    // False for the "replacement" encoding, which stands for encodings
    // browsers refuse to read, for names the standard does not give, and for
    // an encoding whose table this system cannot provide.
    static bool can_decode(QByteArrayView encoding);

    // The bytes, which hold no byte order mark, as UTF-8; empty when the
    // encoding cannot be decoded.
    static QByteArray decode(const QByteArray &bytes, QByteArrayView encoding);

    // Appends a character to UTF-8 text.
    static void append_utf8(QByteArray &text, char32_t c);
};

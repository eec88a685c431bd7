#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <span>

// The indexes of the WHATWG Encoding Standard that the reader decodes legacy
// pages with: pointer to code point, 0 where a pointer stands for nothing.
//
// The single-byte tables and gb18030's ranges are held here in full. The
// large East Asian tables are read once from the platform's converters and
// then corrected wherever those converters differ from the standard, so only
// the differences are kept here.
class HtmlEncodingIndex final
{
public:
    enum class Table { Gb18030, Big5, Jis0208, Jis0212, EucKr };

    // Bytes 0x80 to 0xFF of a single-byte encoding, by its name as the
    // standard spells it; null for any other encoding.
    static const char16_t *single_byte(QByteArrayView encoding);

    // gb18030's four-byte sequences by pointer; 0 for none.
    static char32_t gb18030_ranges(std::uint32_t pointer);

    // Every pointer a decoder can form, with its code point. Empty when this
    // system has no converter to read it from.
    static std::span<const char32_t> table(Table which);
};

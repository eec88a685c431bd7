#include "HtmlDocumentText.h"

#include "HtmlEncodingDecoder.h"

#include <algorithm>
#include <array>

namespace {

constexpr char32_t kFirstStandIn = 0x10FF00;

// Bytes that can start a character gumbo would replace: C0 controls other
// than tab, line feed, form feed and carriage return (NUL gumbo handles as a
// browser does), DEL, and the lead bytes of C1 controls and noncharacters.
constexpr std::array<bool, 256> kMayStartOne = [] {
    std::array<bool, 256> table {};
    for (int b = 0x01; b < 0x20; ++b)
        table[b] = b != 0x09 && b != 0x0A && b != 0x0C && b != 0x0D;
    table[0x7F] = true;
    table[0xC2] = true;
    table[0xEF] = true;
    for (int b = 0xF0; b <= 0xF4; ++b)
        table[b] = true;
    return table;
}();

// The character of valid UTF-8 at `at`, and its length.
char32_t decode(std::string_view text, std::size_t at, std::size_t &length)
{
    const auto byte = [&](std::size_t k) { return char32_t(static_cast<unsigned char>(text[at + k])); };
    const char32_t b = byte(0);
    if (b < 0x80) {
        length = 1;
        return b;
    }
    if (b < 0xE0) {
        length = 2;
        return ((b & 0x1F) << 6) | (byte(1) & 0x3F);
    }
    if (b < 0xF0) {
        length = 3;
        return ((b & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    }
    length = 4;
    return ((b & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
}

bool is_replaced_by_gumbo(char32_t c)
{
    return (c >= 0x01 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1F) || (c >= 0x7F && c <= 0x9F)
        || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// Stand-ins U+10FF00 + k: k below 0xA0 for the controls, 0xA0 to 0xBF for
// U+FDD0 to U+FDEF, 0xC0 to 0xE1 for the two last code points of each plane.
char32_t stand_in_for(char32_t c)
{
    if (c < 0xA0)
        return kFirstStandIn + c;
    if (c <= 0xFDEF)
        return kFirstStandIn + 0xA0 + (c - 0xFDD0);
    return kFirstStandIn + 0xC0 + (c >> 16) * 2 + (c & 1);
}

char32_t original_of(char32_t stand_in)
{
    const char32_t k = stand_in - kFirstStandIn;
    if (k < 0xA0)
        return k;
    if (k < 0xC0)
        return 0xFDD0 + (k - 0xA0);
    return ((k - 0xC0) / 2) << 16 | 0xFFFE | ((k - 0xC0) & 1);
}

bool is_stand_in(char32_t c)
{
    return c >= kFirstStandIn && c < kFirstStandIn + 0xE2;
}

// Stand-ins are four bytes: F4 8F BC..BF 80..BF.
bool stand_in_at(std::string_view text, std::size_t at)
{
    return at + 3 < text.size() && text[at] == '\xF4' && text[at + 1] == '\x8F'
        && static_cast<unsigned char>(text[at + 2]) >= 0xBC;
}

// The code point a numeric character reference at `at` ("&#...") gives, or
// 0 when there is none; `at` moves past it.
char32_t numeric_reference(std::string_view text, std::size_t &at)
{
    std::size_t i = at + 2;
    const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
    if (hex)
        ++i;
    char32_t value = 0;
    const std::size_t digits = i;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = std::min<char32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
    }
    if (i == digits)
        return 0;
    at = i;
    return value;
}

} // namespace

HtmlDocumentText::HtmlDocumentText(QByteArray utf8)
{
    const std::string_view in(utf8.constData(), std::size_t(utf8.size()));
    std::size_t first = in.size();
    for (std::size_t at = 0; at < in.size(); ++at) {
        if (!kMayStartOne[static_cast<unsigned char>(in[at])])
            continue;
        std::size_t length;
        if (is_replaced_by_gumbo(decode(in, at, length))) {
            first = at;
            break;
        }
    }
    if (first == in.size()) {
        m_text = std::move(utf8);
        return;
    }
    QByteArray out = utf8.first(qsizetype(first));
    out.reserve(utf8.size() + 64);
    for (std::size_t at = first; at < in.size();) {
        const std::size_t from = at;
        while (at < in.size() && !kMayStartOne[static_cast<unsigned char>(in[at])])
            ++at;
        out.append(in.data() + from, qsizetype(at - from));
        if (at == in.size())
            break;
        std::size_t length;
        const char32_t c = decode(in, at, length);
        if (is_replaced_by_gumbo(c)) {
            m_stand_ins.push_back(std::size_t(out.size()));
            HtmlEncodingDecoder::append_utf8(out, stand_in_for(c));
        } else {
            out.append(in.data() + at, qsizetype(length));
        }
        at += length;
    }
    m_text = std::move(out);
}

QString HtmlDocumentText::value(const GumboAttribute &attribute) const
{
    const std::string_view value(attribute.value);
    if (m_stand_ins.empty() || value.find("\xF4\x8F") == std::string_view::npos)
        return QString::fromUtf8(value.data(), qsizetype(value.size()));

    // The stand-in characters of the value in order, and for each whether
    // it is one of ours, from the text the value was read from.
    const std::string_view source(attribute.original_value.data, attribute.original_value.length);
    const std::size_t base = std::size_t(source.data() - m_text.constData());
    std::vector<bool> ours;
    for (std::size_t at = 0; at < source.size();) {
        if (stand_in_at(source, at)) {
            std::size_t length;
            if (is_stand_in(decode(source, at, length)))
                ours.push_back(std::binary_search(m_stand_ins.begin(), m_stand_ins.end(), base + at));
            at += length;
        } else if (source.substr(at, 2) == "&#") {
            const std::size_t reference = at;
            const char32_t c = numeric_reference(source, at);
            if (at == reference)
                at += 2;
            else if (is_stand_in(c))
                ours.push_back(false);
        } else {
            ++at;
        }
    }

    QByteArray restored;
    std::size_t next = 0;
    for (std::size_t at = 0; at < value.size();) {
        if (!stand_in_at(value, at)) {
            restored += value[at++];
            continue;
        }
        std::size_t length;
        const char32_t c = decode(value, at, length);
        if (is_stand_in(c) && next < ours.size() && ours[next++])
            HtmlEncodingDecoder::append_utf8(restored, original_of(c));
        else
            restored.append(value.data() + at, qsizetype(length));
        at += length;
    }
    return QString::fromUtf8(restored);
}

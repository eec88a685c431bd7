#include "HtmlEncoding.h"

#include <QList>
#include <QStringDecoder>

#include <cstring>

const QByteArray HtmlEncoding::utf8 = QByteArrayLiteral("UTF-8");
const QByteArray HtmlEncoding::windows1252 = QByteArrayLiteral("windows-1252");

namespace {

const QByteArray utf16le = QByteArrayLiteral("UTF-16LE");
const QByteArray utf16be = QByteArrayLiteral("UTF-16BE");

bool is_space(char c)
{
    return c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D || c == 0x20;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

bool is_alpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// `word` in lower case, at `at` in `text` without regard to ASCII case.
bool at_word(QByteArrayView text, qsizetype at, const char *word)
{
    const auto length = qsizetype(std::strlen(word));
    if (at < 0 || text.size() - at < length)
        return false;
    for (qsizetype i = 0; i < length; ++i) {
        if (lower(text[at + i]) != word[i])
            return false;
    }
    return true;
}

qsizetype find_word(QByteArrayView text, qsizetype from, const char *word)
{
    for (qsizetype at = from; at < text.size(); ++at) {
        if (at_word(text, at, word))
            return at;
    }
    return -1;
}

// Labels browsers give to the encodings the reader handles itself, and the
// few that they map to a different encoding than their name says.
struct Label
{
    const char *label;
    const char *encoding;
};
constexpr Label kLabels[] = {
    { "unicode-1-1-utf-8", "UTF-8" },
    { "unicode11utf8", "UTF-8" },
    { "unicode20utf8", "UTF-8" },
    { "utf-8", "UTF-8" },
    { "utf8", "UTF-8" },
    { "x-unicode20utf8", "UTF-8" },
    { "ansi_x3.4-1968", "windows-1252" },
    { "ascii", "windows-1252" },
    { "cp1252", "windows-1252" },
    { "cp819", "windows-1252" },
    { "csisolatin1", "windows-1252" },
    { "ibm819", "windows-1252" },
    { "iso-8859-1", "windows-1252" },
    { "iso-ir-100", "windows-1252" },
    { "iso8859-1", "windows-1252" },
    { "iso88591", "windows-1252" },
    { "iso_8859-1", "windows-1252" },
    { "iso_8859-1:1987", "windows-1252" },
    { "l1", "windows-1252" },
    { "latin1", "windows-1252" },
    { "us-ascii", "windows-1252" },
    { "windows-1252", "windows-1252" },
    { "x-cp1252", "windows-1252" },
    { "x-user-defined", "windows-1252" },
    { "csunicode", "UTF-16LE" },
    { "iso-10646-ucs-2", "UTF-16LE" },
    { "ucs-2", "UTF-16LE" },
    { "unicode", "UTF-16LE" },
    { "unicodefeff", "UTF-16LE" },
    { "utf-16", "UTF-16LE" },
    { "utf-16le", "UTF-16LE" },
    { "unicodefffe", "UTF-16BE" },
    { "utf-16be", "UTF-16BE" },
    { "cp1254", "windows-1254" },
    { "csisolatin5", "windows-1254" },
    { "iso-8859-9", "windows-1254" },
    { "iso-ir-148", "windows-1254" },
    { "iso8859-9", "windows-1254" },
    { "iso88599", "windows-1254" },
    { "iso_8859-9", "windows-1254" },
    { "iso_8859-9:1989", "windows-1254" },
    { "l5", "windows-1254" },
    { "latin5", "windows-1254" },
    { "windows-1254", "windows-1254" },
    { "x-cp1254", "windows-1254" },
    { "dos-874", "windows-874" },
    { "iso-8859-11", "windows-874" },
    { "iso8859-11", "windows-874" },
    { "iso885911", "windows-874" },
    { "tis-620", "windows-874" },
    { "windows-874", "windows-874" },
    { "chinese", "GBK" },
    { "csgb2312", "GBK" },
    { "csiso58gb231280", "GBK" },
    { "gb2312", "GBK" },
    { "gb_2312", "GBK" },
    { "gb_2312-80", "GBK" },
    { "gbk", "GBK" },
    { "iso-ir-58", "GBK" },
    { "x-gbk", "GBK" },
};

// Windows-1252 bytes 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

QByteArray windows1252_to_utf8(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80) {
            out += byte;
            continue;
        }
        const char16_t c = b < 0xA0 ? kWindows1252High[b - 0x80] : char16_t(b);
        if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
        }
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

// One attribute of a tag as the byte-stream prescan reads it: names and
// values lower-cased.
struct Attribute
{
    QByteArray name;
    QByteArray value;
};

// The prescan's "get an attribute": false when the tag has no further
// attribute or the text ends inside it.
bool next_attribute(QByteArrayView s, qsizetype &i, Attribute &attribute)
{
    const qsizetype n = s.size();
    while (i < n && (is_space(s[i]) || s[i] == '/'))
        ++i;
    if (i >= n || s[i] == '>')
        return false;
    attribute.name.clear();
    attribute.value.clear();
    for (;; ++i) {
        if (i >= n)
            return false;
        const char c = s[i];
        if (c == '=' && !attribute.name.isEmpty()) {
            ++i;
            break;
        }
        if (is_space(c)) {
            while (i < n && is_space(s[i]))
                ++i;
            if (i >= n)
                return false;
            if (s[i] != '=')
                return true;
            ++i;
            break;
        }
        if (c == '/' || c == '>')
            return true;
        attribute.name += lower(c);
    }
    while (i < n && is_space(s[i]))
        ++i;
    if (i >= n)
        return false;
    if (s[i] == '"' || s[i] == '\'') {
        const char quote = s[i++];
        for (; i < n; ++i) {
            if (s[i] == quote) {
                ++i;
                return true;
            }
            attribute.value += lower(s[i]);
        }
        return false;
    }
    for (; i < n; ++i) {
        if (is_space(s[i]) || s[i] == '>')
            return true;
        attribute.value += lower(s[i]);
    }
    return false;
}

} // namespace

HtmlEncoding::HtmlEncoding(QByteArrayView page, QByteArrayView http_charset)
{
    if (page.startsWith("\xEF\xBB\xBF")) {
        m_name = utf8;
        m_certain = true;
    } else if (page.startsWith("\xFE\xFF")) {
        m_name = utf16be;
        m_certain = true;
    } else if (page.startsWith("\xFF\xFE")) {
        m_name = utf16le;
        m_certain = true;
    } else if (const QByteArray declared = for_label(http_charset); !declared.isEmpty()) {
        m_name = declared;
        m_certain = true;
    } else if (const QByteArray meta = prescan(page); !meta.isEmpty()) {
        m_name = meta;
    } else {
        m_name = is_utf8(page) ? utf8 : windows1252;
    }
}

QByteArray HtmlEncoding::for_label(QByteArrayView label)
{
    qsizetype first = 0;
    qsizetype last = label.size();
    while (first < last && is_space(label[first]))
        ++first;
    while (last > first && is_space(label[last - 1]))
        --last;
    if (first == last || last - first > 64)
        return {};
    QByteArray key;
    for (qsizetype i = first; i < last; ++i)
        key += lower(label[i]);
    for (const Label &known : kLabels) {
        if (key == known.label)
            return QByteArray(known.encoding);
    }
    // Browsers know no other Unicode forms (UTF-7 and UTF-32 are refused).
    if (key.startsWith("utf"))
        return {};
    if (QStringDecoder(key.constData()).isValid())
        return key;
    return {};
}

QByteArray HtmlEncoding::for_meta_label(QByteArrayView label)
{
    const QByteArray encoding = for_label(label);
    if (encoding == utf16le || encoding == utf16be)
        return utf8;
    return encoding;
}

QByteArray HtmlEncoding::charset_parameter(QByteArrayView content)
{
    qsizetype at = 0;
    for (;;) {
        at = find_word(content, at, "charset");
        if (at < 0)
            return {};
        at += 7;
        while (at < content.size() && is_space(content[at]))
            ++at;
        if (at < content.size() && content[at] == '=')
            break;
    }
    ++at;
    while (at < content.size() && is_space(content[at]))
        ++at;
    if (at >= content.size())
        return {};
    if (content[at] == '"' || content[at] == '\'') {
        const qsizetype end = content.indexOf(content[at], at + 1);
        if (end < 0)
            return {};
        return content.sliced(at + 1, end - at - 1).toByteArray();
    }
    qsizetype end = at;
    while (end < content.size() && !is_space(content[end]) && content[end] != ';')
        ++end;
    return content.sliced(at, end - at).toByteArray();
}

QByteArray HtmlEncoding::prescan(QByteArrayView page)
{
    const QByteArrayView s = page.first(qMin(page.size(), qsizetype(1024)));
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        if (s.sliced(i).startsWith("<!--")) {
            const qsizetype end = s.indexOf("-->", i + 2);
            if (end < 0)
                break;
            i = end + 3;
            continue;
        }
        if (at_word(s, i, "<meta") && i + 5 < n && (is_space(s[i + 5]) || s[i + 5] == '/')) {
            i += 6;
            QList<QByteArray> seen;
            bool got_pragma = false;
            int need_pragma = -1; // not yet known
            bool charset_given = false;
            QByteArray charset;
            Attribute attribute;
            while (next_attribute(s, i, attribute)) {
                if (seen.contains(attribute.name))
                    continue;
                seen << attribute.name;
                if (attribute.name == "http-equiv") {
                    got_pragma = got_pragma || attribute.value == "content-type";
                } else if (attribute.name == "content" && !charset_given) {
                    const QByteArray label = charset_parameter(attribute.value);
                    const QByteArray encoding = label.isEmpty() ? QByteArray() : for_meta_label(label);
                    if (!encoding.isEmpty()) {
                        charset = encoding;
                        charset_given = true;
                        need_pragma = 1;
                    }
                } else if (attribute.name == "charset") {
                    charset = for_meta_label(attribute.value);
                    charset_given = true;
                    need_pragma = 0;
                }
            }
            if (need_pragma == -1 || (need_pragma == 1 && !got_pragma) || charset.isEmpty())
                continue;
            return charset;
        }
        if (s[i] == '<' && i + 2 < n && (is_alpha(s[i + 1]) || (s[i + 1] == '/' && is_alpha(s[i + 2])))) {
            while (i < n && !is_space(s[i]) && s[i] != '>')
                ++i;
            Attribute attribute;
            while (next_attribute(s, i, attribute)) { }
            continue;
        }
        if (s[i] == '<' && i + 1 < n && (s[i + 1] == '!' || s[i + 1] == '/' || s[i + 1] == '?')) {
            const qsizetype end = s.indexOf('>', i + 2);
            if (end < 0)
                break;
            i = end + 1;
            continue;
        }
        ++i;
    }
    return {};
}

QByteArray HtmlEncoding::to_utf8(const QByteArray &page, const QByteArray &encoding)
{
    if (encoding == utf8)
        return page.startsWith("\xEF\xBB\xBF") ? page.sliced(3) : page;
    if (encoding == windows1252)
        return windows1252_to_utf8(page);
    QByteArrayView bytes = page;
    if ((encoding == utf16le && bytes.startsWith("\xFF\xFE")) || (encoding == utf16be && bytes.startsWith("\xFE\xFF")))
        bytes = bytes.sliced(2);
    QStringDecoder decoder(encoding.constData());
    if (!decoder.isValid())
        return windows1252_to_utf8(page);
    const QString text = decoder.decode(bytes);
    return text.toUtf8();
}

bool HtmlEncoding::is_utf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = p + bytes.size();
    while (p < end) {
        // Runs of ASCII, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (word & 0x8080808080808080ull)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int more;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            if (b == 0xE0)
                low = 0xA0; // no overlong forms
            else if (b == 0xED)
                high = 0x9F; // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F; // nothing past U+10FFFF
        } else {
            return false;
        }
        if (end - p <= more)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int k = 2; k <= more; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
        }
        p += more + 1;
    }
    return true;
}

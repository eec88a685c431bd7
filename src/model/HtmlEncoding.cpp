#include "HtmlEncoding.h"

#include "HtmlEncodingDecoder.h"

#include <QList>

#include <uchardet.h>

#include <cstring>
#include <memory>
#include <span>

const QByteArray HtmlEncoding::utf8 = QByteArrayLiteral("UTF-8");
const QByteArray HtmlEncoding::windows1252 = QByteArrayLiteral("windows-1252");
const QByteArray HtmlEncoding::replacement = QByteArrayLiteral("replacement");

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

QByteArrayView ascii_trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && is_space(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && is_space(text.back()))
        text.chop(1);
    return text;
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

// Every label of the Encoding Standard (its encodings.json; see
// HtmlEncodingIndex.cpp for the source), with the encoding it names: what
// browsers accept in a charset. Any other label is ignored.
struct Encoding
{
    const char *name;
    const char *labels; // separated by spaces
};
constexpr Encoding kEncodings[] = {
    { "UTF-8", "unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8" },
    { "IBM866", "866 cp866 csibm866 ibm866" },
    { "ISO-8859-2", "csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 iso_8859-2:1987 l2 latin2" },
    { "ISO-8859-3", "csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 iso_8859-3:1988 l3 latin3" },
    { "ISO-8859-4", "csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 iso_8859-4:1988 l4 latin4" },
    { "ISO-8859-5", "csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 iso_8859-5 iso_8859-5:1988" },
    { "ISO-8859-6",
        "arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 "
        "iso-8859-6 iso-8859-6-e iso-8859-6-i iso-ir-127 iso8859-6 iso88596 "
        "iso_8859-6 iso_8859-6:1987" },
    { "ISO-8859-7",
        "csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 "
        "iso8859-7 iso88597 iso_8859-7 iso_8859-7:1987 sun_eu_greek" },
    { "ISO-8859-8",
        "csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 "
        "iso8859-8 iso88598 iso_8859-8 iso_8859-8:1988 visual" },
    { "ISO-8859-8-I", "csiso88598i iso-8859-8-i logical" },
    { "ISO-8859-10", "csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6" },
    { "ISO-8859-13", "iso-8859-13 iso8859-13 iso885913" },
    { "ISO-8859-14", "iso-8859-14 iso8859-14 iso885914" },
    { "ISO-8859-15", "csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9" },
    { "ISO-8859-16", "iso-8859-16" },
    { "KOI8-R", "cskoi8r koi koi8 koi8-r koi8_r" },
    { "KOI8-U", "koi8-ru koi8-u" },
    { "macintosh", "csmacintosh mac macintosh x-mac-roman" },
    { "windows-874", "dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874" },
    { "windows-1250", "cp1250 windows-1250 x-cp1250" },
    { "windows-1251", "cp1251 windows-1251 x-cp1251" },
    { "windows-1252",
        "ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 "
        "iso8859-1 iso88591 iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii "
        "windows-1252 x-cp1252" },
    { "windows-1253", "cp1253 windows-1253 x-cp1253" },
    { "windows-1254",
        "cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 "
        "iso_8859-9:1989 l5 latin5 windows-1254 x-cp1254" },
    { "windows-1255", "cp1255 windows-1255 x-cp1255" },
    { "windows-1256", "cp1256 windows-1256 x-cp1256" },
    { "windows-1257", "cp1257 windows-1257 x-cp1257" },
    { "windows-1258", "cp1258 windows-1258 x-cp1258" },
    { "x-mac-cyrillic", "x-mac-cyrillic x-mac-ukrainian" },
    { "GBK", "chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk" },
    { "gb18030", "gb18030" },
    { "Big5", "big5 big5-hkscs cn-big5 csbig5 x-x-big5" },
    { "EUC-JP", "cseucpkdfmtjapanese euc-jp x-euc-jp" },
    { "ISO-2022-JP", "csiso2022jp iso-2022-jp" },
    { "Shift_JIS", "csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis" },
    { "EUC-KR",
        "cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 "
        "ks_c_5601-1989 ksc5601 ksc_5601 windows-949" },
    { "replacement", "csiso2022kr hz-gb-2312 iso-2022-cn iso-2022-cn-ext iso-2022-kr replacement" },
    { "UTF-16BE", "unicodefffe utf-16be" },
    { "UTF-16LE", "csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff utf-16 utf-16le" },
    { "x-user-defined", "x-user-defined" },
};

// Names a charset detector gives that are no label of the standard, as the
// encoding a browser reads (and posts) such a page in. Browsers never guess
// Mac Cyrillic: text the detector calls so, they take for windows-1251.
constexpr Encoding kDetectorNames[] = {
    { "EUC-KR", "uhc" },
    { "windows-1251", "mac-cyrillic" },
};

bool has_word(const char *words, QByteArrayView key)
{
    QByteArrayView rest(words);
    while (!rest.isEmpty()) {
        const qsizetype space = rest.indexOf(' ');
        if ((space < 0 ? rest : rest.first(space)) == key)
            return true;
        rest = space < 0 ? QByteArrayView() : rest.sliced(space + 1);
    }
    return false;
}

QByteArray encoding_named(QByteArrayView key, std::span<const Encoding> encodings)
{
    for (const Encoding &encoding : encodings) {
        if (has_word(encoding.labels, key))
            return QByteArray(encoding.name);
    }
    return {};
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
        m_label = ascii_trimmed(http_charset).toByteArray();
        m_certain = true;
    } else if (const QByteArray label = prescan(page); !label.isEmpty()) {
        m_name = for_meta_label(label);
        m_label = label;
    } else if (is_utf8(page)) {
        m_name = utf8;
    } else {
        m_name = detect(page);
        if (m_name.isEmpty())
            m_name = windows1252;
    }
}

QByteArray HtmlEncoding::for_label(QByteArrayView label)
{
    const QByteArrayView key = ascii_trimmed(label);
    if (key.isEmpty() || key.size() > 64)
        return {};
    return encoding_named(QByteArray(key.data(), key.size()).toLower(), kEncodings);
}

QByteArray HtmlEncoding::for_meta_label(QByteArrayView label)
{
    const QByteArray encoding = for_label(label);
    if (encoding == utf16le || encoding == utf16be)
        return utf8;
    if (encoding == "x-user-defined")
        return windows1252;
    return encoding;
}

HtmlEncoding::Submission HtmlEncoding::for_submission(
    const QByteArray &page_encoding, bool page_declared, QByteArrayView accept_charset)
{
    Submission submission { {}, true };
    qsizetype at = 0;
    while (submission.encoding.isEmpty() && at < accept_charset.size()) {
        const auto separator = [&](qsizetype i) { return is_space(accept_charset[i]) || accept_charset[i] == ','; };
        while (at < accept_charset.size() && separator(at))
            ++at;
        qsizetype end = at;
        while (end < accept_charset.size() && !separator(end))
            ++end;
        if (end > at)
            submission.encoding = for_label(accept_charset.sliced(at, end - at));
        at = end;
    }
    if (submission.encoding.isEmpty()) {
        submission.encoding = page_encoding;
        submission.declared = page_declared;
        if (!page_declared && page_encoding == utf8)
            submission.encoding = windows1252;
    }
    if (submission.encoding == utf16le || submission.encoding == utf16be || submission.encoding == replacement)
        submission.encoding = utf8;
    return submission;
}

QByteArray HtmlEncoding::detect(QByteArrayView page)
{
    // Browsers guess from the first part of a page; a megabyte is plenty
    // and keeps the guess quick on large pages.
    const QByteArrayView sample = page.first(qMin(page.size(), qsizetype(1) << 20));
    const std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(), &uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), std::size_t(sample.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    const QByteArray name = QByteArray(uchardet_get_charset(detector.get())).toLower();
    QByteArray encoding = encoding_named(name, kEncodings);
    if (encoding.isEmpty())
        encoding = encoding_named(name, kDetectorNames);
    // Browsers never guess these: they come only from a byte order mark or
    // a declaration. The page is not valid UTF-8, or it would not be asked;
    // browsers then read it in a legacy encoding, however much looks UTF-8.
    if (encoding == utf16le || encoding == utf16be || encoding == replacement || encoding == "x-user-defined"
        || encoding == utf8)
        return {};
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
            QByteArray label;
            Attribute attribute;
            while (next_attribute(s, i, attribute)) {
                if (seen.contains(attribute.name))
                    continue;
                seen << attribute.name;
                if (attribute.name == "http-equiv") {
                    got_pragma = got_pragma || attribute.value == "content-type";
                } else if (attribute.name == "content" && !charset_given) {
                    const QByteArray parameter = charset_parameter(attribute.value);
                    if (!for_meta_label(parameter).isEmpty()) {
                        label = parameter;
                        charset_given = true;
                        need_pragma = 1;
                    }
                } else if (attribute.name == "charset") {
                    label = attribute.value;
                    charset_given = true;
                    need_pragma = 0;
                }
            }
            if (need_pragma == -1 || (need_pragma == 1 && !got_pragma) || for_meta_label(label).isEmpty())
                continue;
            return label;
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
    const bool bom = (encoding == utf8 && page.startsWith("\xEF\xBB\xBF"))
        || (encoding == utf16le && page.startsWith("\xFF\xFE")) || (encoding == utf16be && page.startsWith("\xFE\xFF"));
    return HtmlEncodingDecoder::decode(bom ? page.sliced(encoding == utf8 ? 3 : 2) : page, encoding);
}

bool HtmlEncoding::can_decode(const QByteArray &encoding)
{
    return HtmlEncodingDecoder::can_decode(encoding);
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

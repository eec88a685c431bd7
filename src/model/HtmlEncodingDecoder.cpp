#include "HtmlEncodingDecoder.h"

#include "HtmlEncoding.h"
#include "HtmlEncodingIndex.h"

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace {

using Table = HtmlEncodingIndex::Table;

constexpr int kEnd = -1;

// The bytes being decoded. A decoder that finds a byte it cannot use puts
// back the bytes it has not consumed, which are always the last ones read.
class Input
{
public:
    explicit Input(QByteArrayView bytes)
        : m_bytes(bytes)
    { }

    int next()
    {
        if (m_at >= m_bytes.size()) {
            m_at = m_bytes.size() + 1; // so that putting back after the end works
            return kEnd;
        }
        return static_cast<unsigned char>(m_bytes[m_at++]);
    }

    void put_back(qsizetype count) { m_at -= count; }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

class Output
{
public:
    explicit Output(qsizetype expected) { m_text.reserve(expected); }

    void put(char32_t c) { HtmlEncodingDecoder::append_utf8(m_text, c); }

    void error() { put(0xFFFD); }

    QByteArray take() { return std::move(m_text); }

private:
    QByteArray m_text;
};

bool in(int byte, int low, int high)
{
    return byte >= low && byte <= high;
}

bool is_ascii(int byte)
{
    return in(byte, 0x00, 0x7F);
}

char32_t look_up(std::span<const char32_t> table, std::uint32_t pointer)
{
    return pointer < table.size() ? table[pointer] : 0;
}

// Runs a decoder over the bytes: `step` handles each byte, and at the end
// a sequence left unfinished (`pending`) is one error.
template<typename Step, typename Pending>
QByteArray run(const QByteArray &bytes, qsizetype expected_size, Step step, Pending pending)
{
    Input input(bytes);
    Output out(expected_size);
    for (int b = input.next(); b != kEnd; b = input.next())
        step(b, input, out);
    if (pending())
        out.error();
    return out.take();
}

QByteArray utf8(const QByteArray &bytes)
{
    if (HtmlEncoding::is_utf8(bytes))
        return bytes;
    char32_t code_point = 0;
    int needed = 0;
    int seen = 0;
    int lower = 0x80;
    int upper = 0xBF;
    const auto step = [&](int b, Input &input, Output &out) {
        if (needed == 0) {
            if (is_ascii(b)) {
                out.put(char32_t(b));
            } else if (in(b, 0xC2, 0xDF)) {
                needed = 1;
                code_point = b & 0x1F;
            } else if (in(b, 0xE0, 0xEF)) {
                lower = b == 0xE0 ? 0xA0 : 0x80;
                upper = b == 0xED ? 0x9F : 0xBF;
                needed = 2;
                code_point = b & 0xF;
            } else if (in(b, 0xF0, 0xF4)) {
                lower = b == 0xF0 ? 0x90 : 0x80;
                upper = b == 0xF4 ? 0x8F : 0xBF;
                needed = 3;
                code_point = b & 0x7;
            } else {
                out.error();
            }
            return;
        }
        const bool fits = in(b, lower, upper);
        lower = 0x80;
        upper = 0xBF;
        if (!fits) {
            code_point = 0;
            needed = seen = 0;
            input.put_back(1);
            out.error();
            return;
        }
        code_point = (code_point << 6) | (b & 0x3F);
        if (++seen != needed)
            return;
        out.put(code_point);
        code_point = 0;
        needed = seen = 0;
    };
    return run(bytes, bytes.size() + 16, step, [&] { return needed != 0; });
}

QByteArray utf16(const QByteArray &bytes, bool big_endian)
{
    int lead_byte = kEnd;
    char32_t lead_surrogate = 0;
    const auto step = [&](int b, Input &input, Output &out) {
        if (lead_byte == kEnd) {
            lead_byte = b;
            return;
        }
        const char32_t unit = big_endian ? (lead_byte << 8) + b : (b << 8) + lead_byte;
        lead_byte = kEnd;
        if (lead_surrogate != 0) {
            const char32_t lead = std::exchange(lead_surrogate, 0);
            if (in(int(unit), 0xDC00, 0xDFFF)) {
                out.put(0x10000 + ((lead - 0xD800) << 10) + (unit - 0xDC00));
            } else {
                input.put_back(2);
                out.error();
            }
        } else if (in(int(unit), 0xD800, 0xDBFF)) {
            lead_surrogate = unit;
        } else if (in(int(unit), 0xDC00, 0xDFFF)) {
            out.error();
        } else {
            out.put(unit);
        }
    };
    return run(bytes, bytes.size() * 3 / 2 + 16, step, [&] { return lead_byte != kEnd || lead_surrogate != 0; });
}

QByteArray single_byte(const QByteArray &bytes, const char16_t *high)
{
    Output out(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80)
            out.put(b);
        else if (const char16_t c = high[b - 0x80])
            out.put(c);
        else
            out.error();
    }
    return out.take();
}

QByteArray x_user_defined(const QByteArray &bytes)
{
    Output out(bytes.size() * 3);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        out.put(b < 0x80 ? char32_t(b) : 0xF780 + b - 0x80);
    }
    return out.take();
}

bool put_found(char32_t c, Output &out)
{
    if (c != 0)
        out.put(c);
    return c != 0;
}

// After a lead byte and the byte that follows it made no character: an
// error, and an ASCII byte is read again as itself.
void after_pair(bool found, int b, Input &input, Output &out)
{
    if (found)
        return;
    if (is_ascii(b))
        input.put_back(1);
    out.error();
}

QByteArray gb18030(const QByteArray &bytes)
{
    const std::span<const char32_t> table = HtmlEncodingIndex::table(Table::Gb18030);
    int first = 0;
    int second = 0;
    int third = 0;
    const auto step = [&](int b, Input &input, Output &out) {
        if (third != 0) {
            if (!in(b, 0x30, 0x39)) {
                input.put_back(3);
                first = second = third = 0;
                out.error();
                return;
            }
            const auto pointer = std::uint32_t(
                ((first - 0x81) * (10 * 126 * 10)) + ((second - 0x30) * (10 * 126)) + ((third - 0x81) * 10) + b - 0x30);
            first = second = third = 0;
            if (!put_found(HtmlEncodingIndex::gb18030_ranges(pointer), out))
                out.error();
        } else if (second != 0) {
            if (in(b, 0x81, 0xFE)) {
                third = b;
                return;
            }
            input.put_back(2);
            first = second = 0;
            out.error();
        } else if (first != 0) {
            if (in(b, 0x30, 0x39)) {
                second = b;
                return;
            }
            const int lead = std::exchange(first, 0);
            char32_t c = 0;
            if (in(b, 0x40, 0x7E) || in(b, 0x80, 0xFE))
                c = look_up(table, std::uint32_t((lead - 0x81) * 190 + (b - (b < 0x7F ? 0x40 : 0x41))));
            after_pair(put_found(c, out), b, input, out);
        } else if (is_ascii(b)) {
            out.put(char32_t(b));
        } else if (b == 0x80) {
            out.put(0x20AC);
        } else if (b == 0xFF) {
            out.error();
        } else {
            first = b;
        }
    };
    return run(bytes, bytes.size() * 3 / 2 + 16, step, [&] { return first != 0 || second != 0 || third != 0; });
}

// Big5, Shift_JIS and EUC-KR: a byte is a character of its own, or it
// leads a pair. `single` writes the character of a byte above ASCII that
// leads nothing and says whether it had one; `pair` writes the character of
// a lead byte and the byte after it, or says there is none.
template<typename IsLead, typename Single, typename Pair>
QByteArray lead_and_trail(const QByteArray &bytes, IsLead is_lead, Single single, Pair pair)
{
    int lead = 0;
    const auto step = [&](int b, Input &input, Output &out) {
        if (lead != 0)
            after_pair(pair(std::exchange(lead, 0), b, out), b, input, out);
        else if (is_ascii(b))
            out.put(char32_t(b));
        else if (is_lead(b))
            lead = b;
        else if (!single(b, out))
            out.error();
    };
    return run(bytes, bytes.size() * 3 / 2 + 16, step, [&] { return lead != 0; });
}

bool no_single(int, Output &)
{
    return false;
}

QByteArray big5(const QByteArray &bytes)
{
    const std::span<const char32_t> table = HtmlEncodingIndex::table(Table::Big5);
    const auto pair = [table](int lead, int b, Output &out) {
        if (!in(b, 0x40, 0x7E) && !in(b, 0xA1, 0xFE))
            return false;
        const auto pointer = std::uint32_t((lead - 0x81) * 157 + (b - (b < 0x7F ? 0x40 : 0x62)));
        // Four pointers stand for a letter with a combining mark.
        if (pointer == 1133 || pointer == 1135 || pointer == 1164 || pointer == 1166) {
            out.put(pointer < 1164 ? 0xCA : 0xEA);
            out.put((pointer == 1133 || pointer == 1164) ? 0x304 : 0x30C);
            return true;
        }
        return put_found(look_up(table, pointer), out);
    };
    return lead_and_trail(
        bytes, [](int b) { return in(b, 0x81, 0xFE); }, no_single, pair);
}

QByteArray shift_jis(const QByteArray &bytes)
{
    const std::span<const char32_t> jis0208 = HtmlEncodingIndex::table(Table::Jis0208);
    const auto single = [](int b, Output &out) {
        if (b == 0x80)
            out.put(0x80);
        else if (in(b, 0xA1, 0xDF))
            out.put(0xFF61 - 0xA1 + b);
        return b == 0x80 || in(b, 0xA1, 0xDF);
    };
    const auto pair = [jis0208](int lead, int b, Output &out) {
        if (!in(b, 0x40, 0x7E) && !in(b, 0x80, 0xFC))
            return false;
        const auto pointer = std::uint32_t((lead - (lead < 0xA0 ? 0x81 : 0xC1)) * 188 + b - (b < 0x7F ? 0x40 : 0x41));
        // The user-defined area maps to private use.
        if (pointer >= 8836 && pointer <= 10715) {
            out.put(0xE000 - 8836 + pointer);
            return true;
        }
        return put_found(look_up(jis0208, pointer), out);
    };
    return lead_and_trail(
        bytes, [](int b) { return in(b, 0x81, 0x9F) || in(b, 0xE0, 0xFC); }, single, pair);
}

QByteArray euc_kr(const QByteArray &bytes)
{
    const std::span<const char32_t> table = HtmlEncodingIndex::table(Table::EucKr);
    const auto pair = [table](int lead, int b, Output &out) {
        return in(b, 0x41, 0xFE) && put_found(look_up(table, std::uint32_t((lead - 0x81) * 190 + (b - 0x41))), out);
    };
    return lead_and_trail(
        bytes, [](int b) { return in(b, 0x81, 0xFE); }, no_single, pair);
}

QByteArray euc_jp(const QByteArray &bytes)
{
    const std::span<const char32_t> jis0208 = HtmlEncodingIndex::table(Table::Jis0208);
    const std::span<const char32_t> jis0212 = HtmlEncodingIndex::table(Table::Jis0212);
    bool from_jis0212 = false;
    int lead = 0;
    const auto step = [&](int b, Input &input, Output &out) {
        if (lead == 0x8E && in(b, 0xA1, 0xDF)) {
            lead = 0;
            out.put(0xFF61 - 0xA1 + b);
        } else if (lead == 0x8F && in(b, 0xA1, 0xFE)) {
            from_jis0212 = true;
            lead = b;
        } else if (lead != 0) {
            const int l = std::exchange(lead, 0);
            char32_t c = 0;
            if (in(l, 0xA1, 0xFE) && in(b, 0xA1, 0xFE))
                c = look_up(from_jis0212 ? jis0212 : jis0208, std::uint32_t((l - 0xA1) * 94 + b - 0xA1));
            from_jis0212 = false;
            after_pair(put_found(c, out), b, input, out);
        } else if (is_ascii(b)) {
            out.put(char32_t(b));
        } else if (b == 0x8E || b == 0x8F || in(b, 0xA1, 0xFE)) {
            lead = b;
        } else {
            out.error();
        }
    };
    return run(bytes, bytes.size() * 3 / 2 + 16, step, [&] { return lead != 0; });
}

QByteArray iso_2022_jp(const QByteArray &bytes)
{
    const std::span<const char32_t> jis0208 = HtmlEncodingIndex::table(Table::Jis0208);
    enum class State { Ascii, Roman, Katakana, LeadByte, TrailByte, EscapeStart, Escape };
    Input input(bytes);
    Output out(bytes.size() * 3 / 2 + 16);
    State state = State::Ascii;
    State output_state = State::Ascii;
    int lead = 0;
    bool output_flag = false;
    for (;;) {
        const int b = input.next();
        switch (state) {
        case State::Ascii:
        case State::Roman:
        case State::Katakana:
        case State::LeadByte:
            if (b == 0x1B) {
                state = State::EscapeStart;
                continue;
            }
            if (b == kEnd)
                return out.take();
            output_flag = false;
            if (state == State::Ascii && is_ascii(b) && b != 0x0E && b != 0x0F)
                out.put(char32_t(b));
            else if (state == State::Roman && b == 0x5C)
                out.put(0xA5);
            else if (state == State::Roman && b == 0x7E)
                out.put(0x203E);
            else if (state == State::Roman && is_ascii(b) && b != 0x0E && b != 0x0F)
                out.put(char32_t(b));
            else if (state == State::Katakana && in(b, 0x21, 0x5F))
                out.put(0xFF61 - 0x21 + b);
            else if (state == State::LeadByte && in(b, 0x21, 0x7E)) {
                lead = b;
                state = State::TrailByte;
            } else
                out.error();
            continue;
        case State::TrailByte:
            if (b == 0x1B) {
                state = State::EscapeStart;
                out.error();
                continue;
            }
            state = State::LeadByte;
            if (in(b, 0x21, 0x7E)) {
                if (const char32_t c = look_up(jis0208, std::uint32_t((lead - 0x21) * 94 + b - 0x21)))
                    out.put(c);
                else
                    out.error();
                continue;
            }
            if (b == kEnd)
                input.put_back(1);
            out.error();
            continue;
        case State::EscapeStart:
            if (b == 0x24 || b == 0x28) {
                lead = b;
                state = State::Escape;
                continue;
            }
            input.put_back(1);
            output_flag = false;
            state = output_state;
            out.error();
            continue;
        case State::Escape: {
            const int l = lead;
            lead = 0;
            std::optional<State> chosen;
            if (l == 0x28 && b == 0x42)
                chosen = State::Ascii;
            else if (l == 0x28 && b == 0x4A)
                chosen = State::Roman;
            else if (l == 0x28 && b == 0x49)
                chosen = State::Katakana;
            else if (l == 0x24 && (b == 0x40 || b == 0x42))
                chosen = State::LeadByte;
            if (chosen) {
                state = output_state = *chosen;
                const bool was_output = output_flag;
                output_flag = true;
                if (was_output)
                    out.error();
                continue;
            }
            input.put_back(2);
            output_flag = false;
            state = output_state;
            out.error();
            continue;
        }
        }
    }
}

// The table a multi-byte encoding needs, if any.
std::optional<Table> table_of(QByteArrayView encoding)
{
    if (encoding == "GBK" || encoding == "gb18030")
        return Table::Gb18030;
    if (encoding == "Big5")
        return Table::Big5;
    if (encoding == "EUC-JP" || encoding == "ISO-2022-JP" || encoding == "Shift_JIS")
        return Table::Jis0208;
    if (encoding == "EUC-KR")
        return Table::EucKr;
    return std::nullopt;
}

} // namespace

bool HtmlEncodingDecoder::can_decode(QByteArrayView encoding)
{
    if (const std::optional<Table> table = table_of(encoding)) {
        return !HtmlEncodingIndex::table(*table).empty()
            && (encoding != "EUC-JP" || !HtmlEncodingIndex::table(Table::Jis0212).empty());
    }
    return encoding == "UTF-8" || encoding == "UTF-16BE" || encoding == "UTF-16LE" || encoding == "x-user-defined"
        || HtmlEncodingIndex::single_byte(encoding);
}

QByteArray HtmlEncodingDecoder::decode(const QByteArray &bytes, QByteArrayView encoding)
{
    if (!can_decode(encoding))
        return {};
    if (encoding == "UTF-8")
        return utf8(bytes);
    if (const char16_t *high = HtmlEncodingIndex::single_byte(encoding))
        return single_byte(bytes, high);
    if (encoding == "UTF-16BE" || encoding == "UTF-16LE")
        return utf16(bytes, encoding == "UTF-16BE");
    if (encoding == "x-user-defined")
        return x_user_defined(bytes);
    if (encoding == "GBK" || encoding == "gb18030")
        return gb18030(bytes);
    if (encoding == "Big5")
        return big5(bytes);
    if (encoding == "EUC-JP")
        return euc_jp(bytes);
    if (encoding == "ISO-2022-JP")
        return iso_2022_jp(bytes);
    if (encoding == "Shift_JIS")
        return shift_jis(bytes);
    return euc_kr(bytes);
}

void HtmlEncodingDecoder::append_utf8(QByteArray &text, char32_t c)
{
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xF0 | (c >> 18));
        text += char(0x80 | ((c >> 12) & 0x3F));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
}

#include "php_text.h"

#include "model/Cprefrences.h"
#include "model/Field.h"
#include "model/globals.h"

#include <charconv>

namespace php_text {

QString line(const QString &text)
{
    return text + CRLF;
}

QString lines(const QStringList &texts)
{
    QString result;
    for (const QString &text : texts)
        result += text + CRLF;
    return result;
}

QString failure_block(const Field &field, const QString &fallback_html)
{
    if (!globals::prefs()->is_embeded_result_page || fallback_html.isEmpty()
        || !globals::trim_blanks(field.error_html).isEmpty())
        return form_failure(QLatin1Char('"') + literal_html(field.error_html) + QLatin1Char('"'));
    return form_failure(QLatin1Char('"') + literal(fallback_html) + QLatin1Char('"'));
}

QString form_failure(const QString &expression)
{
    const auto &prefs = globals::prefs();
    if (!prefs->is_embeded_result_page) {
        return line(QStringLiteral("header(\"Location: ") + literal(prefs->error_page) + QStringLiteral("\");"))
            + line(QStringLiteral("exit;"));
    }
    return answer_and_stop(expression);
}

QString answer_and_stop(const QString &expression)
{
    const auto &prefs = globals::prefs();
    if (!prefs->is_embeded_result_page || !prefs->is_footer)
        return line(QStringLiteral("die(") + expression + QStringLiteral(");"));
    return line(QStringLiteral("echo(") + expression + QStringLiteral(");")) + line(footer_include())
        + line(QStringLiteral("exit;"));
}

QString footer_include()
{
    return QStringLiteral("include(\"") + literal(globals::prefs()->footer_img) + QStringLiteral("\");");
}

QString failed(const QString &reason, bool shown)
{
    return line(QStringLiteral("$tsl_failed(") + reason + QStringLiteral(", ")
        + (shown ? QStringLiteral("true") : QStringLiteral("false")) + QStringLiteral(");"));
}

QString check_body(const Field &field, const QString &fallback_html)
{
    return line(QStringLiteral("{")) + failure_block(field, fallback_html) + line(QStringLiteral("}"));
}

QString when_entered(const QString &name, const QString &checks)
{
    if (checks.isEmpty())
        return checks;
    return line(QStringLiteral("if ($") + name + QStringLiteral(" !== \"\")")) + line(QStringLiteral("{")) + checks
        + line(QStringLiteral("}"));
}

namespace {

// Which backslash pairs already in the text stand as the user wrote them.
enum class KeptEscapes { None, All, Quotes };

QString double_quoted(const QString &text, KeptEscapes kept)
{
    QString result;
    result.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c == QLatin1Char('\\') && i + 1 < text.size();
        if (pair && (kept == KeptEscapes::All || (kept == KeptEscapes::Quotes && text.at(i + 1) == QLatin1Char('"')))) {
            result += c;
            result += text.at(++i);
            continue;
        }
        // A lone backslash, a quote or a dollar sign is literal text.
        if (c == QLatin1Char('\\') || c == QLatin1Char('"') || c == QLatin1Char('$'))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}

} // namespace

QString literal(const QString &text)
{
    return double_quoted(text, KeptEscapes::None);
}

QString literal_keeping_escapes(const QString &text)
{
    return double_quoted(text, KeptEscapes::All);
}

QString literal_html(const QString &text)
{
    return double_quoted(text, KeptEscapes::Quotes);
}

QString single_quoted(const QString &text)
{
    QString result;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            result += QLatin1Char('\\');
        result += c;
    }
    return result;
}

QStringList request_keys(const QString &posted_name)
{
    qsizetype i = 0;
    while (i < posted_name.size() && posted_name.at(i) == QLatin1Char(' '))
        ++i;
    QString base;
    QStringList keys;
    for (; i < posted_name.size(); ++i) {
        const QChar c = posted_name.at(i);
        if (c != QLatin1Char('[')) {
            base += (c == QLatin1Char(' ') || c == QLatin1Char('.')) ? QLatin1Char('_') : c;
            continue;
        }
        if (posted_name.indexOf(QLatin1Char(']'), i + 1) < 0) {
            // A "[" without its "]" stays part of the name, as "_".
            base += QLatin1Char('_') + posted_name.mid(i + 1);
            break;
        }
        // Each "[...]" directly after the previous one is a key.
        while (i < posted_name.size() && posted_name.at(i) == QLatin1Char('[')) {
            const qsizetype end = posted_name.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0)
                break;
            const QString key = posted_name.mid(i + 1, end - i - 1);
            if (key.isEmpty())
                break;
            keys << key;
            i = end + 1;
        }
        break;
    }
    return QStringList { base } + keys;
}

QString request_item(const QString &array_name, const QString &posted_name, const QString &entry)
{
    QStringList keys = request_keys(posted_name);
    if (!entry.isEmpty())
        keys.insert(1, entry);
    QString expression = QLatin1Char('$') + array_name;
    for (const QString &key : keys)
        expression += QStringLiteral("['") + single_quoted(key) + QStringLiteral("']");
    return expression;
}

QString number(double value)
{
    // Fifteen significant digits, as the user typed the number, then the
    // shortest plain text of that.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace php_text

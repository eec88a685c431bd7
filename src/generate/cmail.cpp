#include "cmail.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"

#include <QSet>

namespace {

bool is_name_char(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

// The variables a mail text may quote: the fields, the web address and
// stored name of each upload, and the visitor's address.
QSet<QString> quotable_variables(CForm *form)
{
    QSet<QString> names { QStringLiteral("tsl_ip") };
    if (!form)
        return names;
    for (const auto &entry : *form->fields()) {
        const Field &field = *entry.value;
        names.insert(field.name);
        if (field.field_type == QLatin1String("file")) {
            const QString n = globals::trim_blanks(field.name);
            names.insert(n + QStringLiteral("_URL"));
            names.insert(n + QStringLiteral("_Name"));
        }
    }
    return names;
}

// A mail text for inside a double-quoted PHP string: references to the
// form's variables stay references, and so does the line break that ends a
// line; every other "$", backslash and double quote is literal text.
QString mail_text(const QString &text, const QSet<QString> &variables)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            if (i == text.size() - 2 && text.at(i + 1) == QLatin1Char('n')) {
                result += QStringLiteral("\\n");
                break;
            }
            result += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('"')) {
            result += QStringLiteral("\\\"");
        } else if (c == QLatin1Char('$')) {
            qsizetype end = i + 1;
            if (end < text.size() && !text.at(end).isDigit()) {
                while (end < text.size() && is_name_char(text.at(end)))
                    ++end;
            }
            const QString name = text.mid(i + 1, end - i - 1);
            if (!variables.contains(name)) {
                result += QStringLiteral("\\$");
                continue;
            }
            // Braces keep PHP from reading a following "[" or "->", or a
            // "{" before it, as part of the expression.
            const bool braced = result.endsWith(QLatin1Char('{')) || text.mid(end).startsWith(QLatin1Char('['))
                || text.mid(end).startsWith(QStringLiteral("->"));
            result += braced ? QStringLiteral("{$") + name + QLatin1Char('}') : QLatin1Char('$') + name;
            i = end - 1;
        } else {
            result += c;
        }
    }
    return result;
}

// One valid address and nothing else: no header or recipient can ride on it.
QString is_one_address(const QString &variable)
{
    return QStringLiteral("filter_var(%1, FILTER_VALIDATE_EMAIL) !== false && strpbrk(%1, \"\\r\\n\") === false")
        .arg(variable);
}

} // namespace

const std::shared_ptr<StringCollection> &cmail::message_lines()
{
    if (!m_message_lines)
        m_message_lines = std::make_shared<StringCollection>();
    return m_message_lines;
}

const std::shared_ptr<StringCollection> &cmail::recipients()
{
    if (!m_recipients)
        m_recipients = std::make_shared<StringCollection>();
    return m_recipients;
}

QString cmail::get_txtMail_code()
{
    using php_text::line;
    const QSet<QString> variables = quotable_variables(form.get());
    QString code;

    const auto headers = [&](const QString &address) {
        return line(QStringLiteral("$tsl_header = \"From: ") + address + QStringLiteral("\\n\""))
            + line(QStringLiteral("  . \"Reply-To: ") + address + QStringLiteral("\\n\";"));
    };
    if (is_autoresponde || is_GeneericEmail) {
        code += headers(php_text::literal(sender));
    } else {
        // The visitor's own address goes into the headers only when it is one.
        const QString visitor = QLatin1Char('$') + sender;
        code += line(QStringLiteral("$tsl_header = \"\";"));
        code += line(QStringLiteral("if (") + is_one_address(visitor) + QStringLiteral(") {"));
        code += headers(visitor);
        code += line(QStringLiteral("}"));
    }
    code += line(QStringLiteral("$tsl_subject = \"") + php_text::literal(subject) + QStringLiteral("\";"));
    const QString to = is_autoresponde ? mail_text(email_to, variables) : php_text::literal(email_to);
    code += line(QStringLiteral("$tsl_email_to = \"") + to + QStringLiteral("\";"));

    QStringList parts;
    if (!is_autoresponde && form && form->is_send_ip)
        parts << QStringLiteral("Visitor's IP: $tsl_ip\\n");
    for (const auto &entry : *message_lines())
        parts << mail_text(entry.value, variables);
    if (parts.isEmpty()) {
        // An empty body is still a text, not an undefined variable.
        code += line(QStringLiteral("$tsl_message = \"\";"));
    }
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString opening = i == 0 ? QStringLiteral("$tsl_message = ") : QStringLiteral(". ");
        const QString end = i == parts.size() - 1 ? QStringLiteral(";") : QString();
        code += line(opening + QLatin1Char('"') + parts.at(i) + QLatin1Char('"') + end);
    }

    // The auto-response goes only to one valid address of the visitor's.
    if (is_autoresponde)
        code += line(QStringLiteral("if (") + is_one_address(QStringLiteral("$tsl_email_to")) + QLatin1Char(')'));
    code += line(QStringLiteral("@mail($tsl_email_to, $tsl_subject ,$tsl_message ,$tsl_header ) ;"));
    return code;
}

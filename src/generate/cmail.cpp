#include "cmail.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"

#include <QRegularExpression>
#include <QSet>

namespace {

bool is_name_char(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

// The variables of the form a mail text may quote: the fields, and the web
// address and stored name of each upload.
QSet<QString> form_variables(CForm *form)
{
    QSet<QString> names;
    if (!form)
        return names;
    for (const auto &entry : *form->fields()) {
        const Field &field = *entry.value;
        if (!field.name.isEmpty())
            names.insert(field.name);
        if (field.field_type == QLatin1String("file")) {
            const QString n = globals::trim_blanks(field.name);
            names.insert(n + QStringLiteral("_URL"));
            names.insert(n + QStringLiteral("_Name"));
        }
    }
    return names;
}

// Where the name that starts at `from` ends.
qsizetype name_end(const QString &text, qsizetype from)
{
    while (from < text.size() && is_name_char(text.at(from)))
        ++from;
    return from;
}

// A mail text for inside a double-quoted PHP string: references to the
// form's variables stay references (a "#" right after one is its
// placeholder's closing mark and goes), and so does the line break that ends
// a line other than the last; every other "$", backslash and double quote is
// literal text.
QString mail_text(const QString &text, const QSet<QString> &variables, bool last = true)
{
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\')) {
            if (!last && i == text.size() - 2 && text.at(i + 1) == QLatin1Char('n')) {
                result += QStringLiteral("\\n");
                break;
            }
            result += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('"')) {
            result += QStringLiteral("\\\"");
        } else if (c == QLatin1Char('$')) {
            qsizetype end = i + 1;
            if (end < text.size() && !text.at(end).isDigit())
                end = name_end(text, end);
            const QString name = text.mid(i + 1, end - i - 1);
            if (!variables.contains(name)) {
                result += QStringLiteral("\\$");
                continue;
            }
            if (end < text.size() && text.at(end) == QLatin1Char('#'))
                ++end;
            // Braces keep PHP from reading what follows ("[", "->" or more
            // of a name), or a "{" before it, as part of the expression.
            const QStringView rest = QStringView(text).mid(end);
            const bool braced = result.endsWith(QLatin1Char('{')) || rest.startsWith(QLatin1Char('['))
                || rest.startsWith(QStringLiteral("->")) || (!rest.isEmpty() && is_name_char(rest.front()));
            result += braced ? QStringLiteral("{$") + name + QLatin1Char('}') : QLatin1Char('$') + name;
            i = end - 1;
        } else {
            result += c;
        }
    }
    return result;
}

// A typed line with each #name# of a form variable made the reference $name.
// The closing "#" may be left out, as a reference reads; it is kept where
// the next character is "#" or would lengthen the name.
QString with_references(const QString &line, const QSet<QString> &variables)
{
    QString result;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        const qsizetype end = c == QLatin1Char('#') ? name_end(line, i + 1) : i;
        if (end == i || !variables.contains(line.mid(i + 1, end - i - 1))) {
            result += c;
            continue;
        }
        result += QLatin1Char('$') + line.mid(i + 1, end - i - 1);
        i = end - 1;
        if (end < line.size() && line.at(end) == QLatin1Char('#')) {
            ++i;
            if (end + 1 < line.size() && (line.at(end + 1) == QLatin1Char('#') || is_name_char(line.at(end + 1))))
                result += QLatin1Char('#');
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

// Whether a text needs encoding to stand in a mail header.
bool is_plain_ascii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
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

void cmail::set_message(const QString &body)
{
    StringCollection &lines = *message_lines();
    lines.Clear();
    const QSet<QString> variables = form_variables(form.get());
    QString text = body;
    // The box gives "\n"; a pasted text may still carry CR LF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The last line has no break to end it, so a "\n" typed at its end
    // stays text; line breaks that end the body add nothing a reader sees.
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    // Lines are cut at the line breaks only, so a "|" typed in the body
    // stays in the mail.
    const QStringList typed = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < typed.size(); ++i) {
        QString line = with_references(typed.at(i), variables);
        if (i < typed.size() - 1)
            line += QStringLiteral("\\n");
        line.replace(QLatin1Char('"'), QLatin1Char('\''));
        if (!line.isEmpty())
            lines.Add(line);
    }
}

QString cmail::get_txtMail_code(bool fails_submission)
{
    using php_text::line;
    QSet<QString> variables = form_variables(form.get());
    variables.insert(QStringLiteral("tsl_ip"));
    QString code;

    // Mail servers deliver, and readers show, mail that says what it holds.
    QStringList headers;
    QString from;
    if (is_autoresponde || is_GeneericEmail) {
        from = php_text::literal(sender);
        headers << QStringLiteral("From: ") + from << QStringLiteral("Reply-To: ") + from;
    } else {
        // Mail from the site names the site's owner as its sender: mail
        // claiming to come from the visitor's domain is dropped as forged.
        const QString owner = globals::trim_blanks(email_to.section(QRegularExpression(QStringLiteral("[,;]")), 0, 0));
        if (!owner.isEmpty()) {
            from = php_text::literal(owner);
            headers << QStringLiteral("From: ") + from;
        }
    }
    headers << QStringLiteral("MIME-Version: 1.0") << QStringLiteral("Content-Type: text/plain; charset=UTF-8");
    for (qsizetype i = 0; i < headers.size(); ++i) {
        code += line((i == 0 ? QStringLiteral("$tsl_header = \"") : QStringLiteral("  . \"")) + headers.at(i)
            + QStringLiteral("\\r\\n\"") + (i == headers.size() - 1 ? QStringLiteral(";") : QString()));
    }
    if (!is_autoresponde && !is_GeneericEmail) {
        // Replies go to the visitor, when the address is one.
        const QString visitor = QLatin1Char('$') + sender;
        code += line(QStringLiteral("if (") + is_one_address(visitor) + QStringLiteral(") {"));
        code += line(QStringLiteral("$tsl_header .= \"Reply-To: ") + visitor + QStringLiteral("\\r\\n\";"));
        code += line(QStringLiteral("}"));
    }
    code += line(QStringLiteral("$tsl_subject = \"") + php_text::literal(subject) + QStringLiteral("\";"));
    if (!is_plain_ascii(subject)) {
        // Encoded words of whole characters, each short enough for a line.
        code += line(QStringLiteral("preg_match_all('/.{1,10}/su', $tsl_subject, $tsl_parts);"));
        code += line(QStringLiteral("$tsl_subject = \"=?UTF-8?B?\" . implode(\"?=\\r\\n =?UTF-8?B?\", "
                                    "array_map('base64_encode', $tsl_parts[0])) . \"?=\";"));
    }
    const QString to = is_autoresponde ? mail_text(email_to, variables) : php_text::literal(email_to);
    code += line(QStringLiteral("$tsl_email_to = \"") + to + QStringLiteral("\";"));

    QStringList parts;
    if (!is_autoresponde && form && form->is_send_ip)
        parts << QStringLiteral("Visitor's IP: $tsl_ip\\n");
    const StringCollection &lines = *message_lines();
    for (qsizetype i = 1; i <= lines.Count(); ++i)
        parts << mail_text(lines.Item(i), variables, i == lines.Count());
    if (parts.isEmpty()) {
        // An empty body is still a text, not an undefined variable.
        code += line(QStringLiteral("$tsl_message = \"\";"));
    }
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString opening = i == 0 ? QStringLiteral("$tsl_message = ") : QStringLiteral(". ");
        const QString end = i == parts.size() - 1 ? QStringLiteral(";") : QString();
        code += line(opening + QLatin1Char('"') + parts.at(i) + QLatin1Char('"') + end);
    }
    // One kind of line end throughout, whatever the visitor's values hold.
    code += line(QStringLiteral("$tsl_message = preg_replace('/\\r\\n|\\r|\\n/', \"\\r\\n\", $tsl_message);"));
    // Each encoding keeps every body line short, as mail servers need,
    // however long a paragraph the visitor typed. Quoted-printable keeps
    // mostly ASCII text readable; it triples other letters, which base64
    // carries at four bytes for three.
    code += php_text::lines({
        QStringLiteral("if (preg_match_all('/[\\x80-\\xFF]/', $tsl_message) * 2 > strlen($tsl_message)) {"),
        QStringLiteral("$tsl_message = wordwrap(base64_encode($tsl_message), 76, \"\\r\\n\", true);"),
        QStringLiteral("$tsl_header .= \"Content-Transfer-Encoding: base64\\r\\n\";"),
        QStringLiteral("} else {"),
        QStringLiteral("$tsl_message = quoted_printable_encode($tsl_message);"),
        QStringLiteral("$tsl_header .= \"Content-Transfer-Encoding: quoted-printable\\r\\n\";"),
        QStringLiteral("}"),
    });

    // Bounces go to the sender, not to the web server's own user. PHP hands
    // the envelope sender to sendmail through the shell, escaped as
    // escapeshellcmd escapes: it leaves paired quotes for the shell to
    // remove, so only an address with no double quote (and so no blank) and
    // at most one single quote reaches sendmail as it is.
    QString envelope;
    if (!from.isEmpty()) {
        code += line(QStringLiteral("$tsl_sender = \"") + from + QStringLiteral("\";"));
        code
            += line(QStringLiteral("$tsl_envelope = (filter_var($tsl_sender, FILTER_VALIDATE_EMAIL) !== false && "
                                   "strpos($tsl_sender, \"\\\"\") === false && substr_count($tsl_sender, \"'\") < 2) ? "
                                   "\"-f\" . $tsl_sender : \"\";"));
        envelope = QStringLiteral(", $tsl_envelope");
    }

    // The auto-response goes only to one valid address of the visitor's.
    if (is_autoresponde)
        code += line(QStringLiteral("if (") + is_one_address(QStringLiteral("$tsl_email_to")) + QLatin1Char(')'));
    // A mail the mail program refused is logged, never taken for sent.
    const QString what = is_autoresponde ? QStringLiteral("auto-response to the visitor not sent")
                                         : QStringLiteral("mail to the form owner not sent");
    code += line(QStringLiteral("if (!@mail($tsl_email_to, $tsl_subject ,$tsl_message ,$tsl_header") + envelope
        + QStringLiteral(" ) )"));
    code += line(QStringLiteral("{"));
    if (fails_submission)
        code += php_text::failed(QLatin1Char('"') + what + QLatin1Char('"'), false);
    else
        code += line(QStringLiteral("error_log(__FILE__ . \": ") + what + QStringLiteral("\");"));
    code += line(QStringLiteral("}"));
    return code;
}

#include "ProjectFormat.h"

#include "globals.h"

#include <QLocale>

namespace ProjectFormat {

const QStringList &prefrences_keys()
{
    static const QStringList keys { "is_autoresponde", "is_csv", "php_des", "script_name", "des_folder", "is_mysql",
        "is_email", "success_page", "success_path", "error_page", "error_path", "is_embeded_result_page", "header_path",
        "footer_path", "header_img", "footer_img", "is_upload", "is_header", "is_footer", "is_creditcard",
        "success_message", "txt_success_message", "is_create_tble", "mysql_table", "primary_key" };
    return keys;
}

const QStringList &webpage_keys()
{
    static const QStringList keys { "pagetype", "URL", "path", "nforms", "SelectedFormTitle", "is_date", "date_format",
        "is_convert_date" };
    return keys;
}

const QStringList &email_keys()
{
    static const QStringList keys { "sender", "is_GeneericEmail", "is_multiRecipients", "email_to", "subject" };
    return keys;
}

const QStringList &auto_responde_keys()
{
    static const QStringList keys { "sender", "email_to", "subject", "nLine" };
    return keys;
}

const QStringList &csv_keys()
{
    static const QStringList keys { "separator", "filename", "format", "EndLine" };
    return keys;
}

const QStringList &mysql_keys()
{
    static const QStringList keys { "isConnect", "SuccessfullyConnected", "host", "user", "pw", "port", "db", "table" };
    return keys;
}

QStringList font_keys(const QString &prefix)
{
    QStringList keys;
    for (const char *member : { "_font", "_size", "_bold", "_italic", "_underline", "_strikethrough", "_color" })
        keys << prefix + QLatin1String(member);
    return keys;
}

const QStringList &pages_keys()
{
    static const QStringList keys = QStringList { QStringLiteral("is_send_ip") } + font_keys(QStringLiteral("alert"))
        + font_keys(QStringLiteral("message"));
    return keys;
}

const QStringList &version_keys()
{
    static const QStringList keys { "format" };
    return keys;
}

QString mysql_name(const QString &text)
{
    const auto plain = [](const QString &words) {
        return globals::ascii_lower(globals::trim_blanks(words)).remove(QLatin1Char('\''));
    };
    const QString name = plain(text);
    return name == plain(kDatabasePrompt) || name == plain(kTablePrompt) ? QString() : text;
}

QString boolean(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString real(double value)
{
    // Written with the C locale's digits, so that no group separator or
    // other script's digits can stand in it.
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (QLocale().decimalPoint() == QLatin1String(","))
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

template<> std::optional<bool> value_of(const QString &text)
{
    const QString word = globals::trim_blanks(text);
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

template<> std::optional<double> value_of(const QString &text)
{
    QString number = globals::trim_blanks(text);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(number, &ok);
    return ok ? std::optional(value) : std::nullopt;
}

template<> std::optional<qint32> value_of(const QString &text)
{
    bool ok = false;
    const qint32 value = globals::trim_blanks(text).toInt(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

template<> std::optional<qint16> value_of(const QString &text)
{
    bool ok = false;
    const qint16 value = globals::trim_blanks(text).toShort(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

QString get_variable(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return line;
    return globals::trim_blanks(line.left(equals));
}

QString get_value(const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return globals::trim_blanks(line);
    return line.mid(equals + 1);
}

} // namespace ProjectFormat

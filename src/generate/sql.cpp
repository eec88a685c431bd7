#include "sql.h"

#include "mysqli_code.h"
#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/sql_text.h"

#include <QRegularExpression>

namespace {

const QString kDefaultStart = QStringLiteral("DEFAULT '");

} // namespace

QString sql::default_value(const QString &clause)
{
    if (clause.startsWith(kDefaultStart) && clause.endsWith(QLatin1Char('\'')) && clause.size() > kDefaultStart.size())
        return clause.mid(kDefaultStart.size(), clause.size() - kDefaultStart.size() - 1);
    return clause;
}

QString sql::length_value(const QString &clause)
{
    return QString(clause).remove(QLatin1Char('(')).remove(QLatin1Char(')'));
}

bool sql::valid_length(const QString &length, bool decimals)
{
    static const QRegularExpression whole(QStringLiteral("\\A[0-9]+\\z"));
    static const QRegularExpression with_decimals(QStringLiteral("\\A[0-9]+,[0-9]+\\z"));
    return whole.match(length).hasMatch() || (decimals && with_decimals.match(length).hasMatch());
}

QString sql::get_sql_code() const
{
    using php_text::literal;
    // The statement is one PHP string; a default joins it as the value the
    // server's connection escaped, whatever the server's SQL mode.
    QString statement = QLatin1Char('"')
        + literal(
            QStringLiteral("CREATE TABLE IF NOT EXISTS") + sql_text::identifier(mysql_table) + QStringLiteral(" ("));
    const auto &selected = globals::web_page()->selected_form;
    if (selected) {
        for (const auto &entry : *selected->fields()) {
            const Field &field = *entry.value;
            if (field.mysql_field.isEmpty() || !field.in_mysql)
                continue;
            const QString length = globals::trim_blanks(length_value(field.sql_length));
            statement += literal(sql_text::identifier(field.mysql_field) + QLatin1Char(' ') + field.sql_type
                + QLatin1Char(' ')
                + (valid_length(length, true) ? QLatin1Char('(') + length + QLatin1Char(')') : QString())
                + QLatin1Char(' '));
            const QString value = default_value(field.sql_default);
            if (!value.isEmpty())
                statement += QStringLiteral("DEFAULT '\" . mysqli_real_escape_string($link, \"") + literal(value)
                    + QStringLiteral("\") . \"'");
            statement += QLatin1Char(',');
        }
    }
    // Every letter and emoji fits, whatever the server's default character set.
    statement += literal(QStringLiteral("PRIMARY KEY(") + sql_text::identifier(primary_key)
                     + QStringLiteral(")) DEFAULT CHARSET=utf8mb4"))
        + QLatin1Char('"');

    // lib.php gives the host as host, host:port or host:socket.
    QStringList code { QStringLiteral("include(\"lib.php\");") };
    code << mysqli_code::connect_lines(QStringLiteral("$link"), QStringLiteral("$host"), QStringLiteral("$username"),
        QStringLiteral("$password"), QStringLiteral("$port"), QStringLiteral("$socket"));
    code << QStringList {
        QStringLiteral("if (!$link) {"),
        QStringLiteral("die('Could not connect: ' . ") + mysqli_code::html(QStringLiteral("mysqli_connect_error()"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
        QStringLiteral("$db_selected = mysqli_select_db($link, $db);"),
        QStringLiteral("if (!$db_selected) {"),
        QStringLiteral("die (\"Can't use \" . ") + mysqli_code::html(QStringLiteral("$db"))
            + QStringLiteral(" . \" : \" . ") + mysqli_code::html(QStringLiteral("mysqli_error($link)"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
        QStringLiteral("$sql = ") + statement + QLatin1Char(';'),
        QStringLiteral("$result = mysqli_query($link, $sql);"),
        QStringLiteral("if (!$result) {"),
        QStringLiteral("die('Invalid query: ' . ") + mysqli_code::html(QStringLiteral("mysqli_error($link)"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
        QStringLiteral("echo \"Table created successfully\";"),
    };
    return php_text::lines(code);
}

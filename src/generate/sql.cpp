#include "sql.h"

#include "mysqli_code.h"
#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/sql_text.h"

QString sql::get_sql_code() const
{
    QString statement
        = QStringLiteral("CREATE TABLE IF NOT EXISTS") + sql_text::identifier(mysql_table) + QStringLiteral(" (");
    const auto &selected = globals::web_page()->selected_form;
    if (selected) {
        for (const auto &entry : *selected->fields()) {
            const Field &field = *entry.value;
            if (field.mysql_field.isEmpty())
                continue;
            statement += sql_text::identifier(field.mysql_field) + QLatin1Char(' ') + field.sql_type + QLatin1Char(' ')
                + field.sql_length + QLatin1Char(' ') + field.sql_default + QLatin1Char(',');
        }
    }
    statement += QStringLiteral("PRIMARY KEY(") + sql_text::identifier(primary_key) + QStringLiteral("))");

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
        QStringLiteral("$sql = \"") + php_text::literal(statement) + QStringLiteral("\";"),
        QStringLiteral("$result = mysqli_query($link, $sql);"),
        QStringLiteral("if (!$result) {"),
        QStringLiteral("die('Invalid query: ' . ") + mysqli_code::html(QStringLiteral("mysqli_error($link)"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
        QStringLiteral("echo \"Table created successfully\";"),
    };
    return php_text::lines(code);
}

#include "sql.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

namespace {
// A name between backquotes: a backquote inside it is doubled.
QString identifier(const QString &name)
{
    return QLatin1Char('`') + QString(name).replace(QLatin1Char('`'), QStringLiteral("``")) + QLatin1Char('`');
}
} // namespace

QString sql::get_sql_code() const
{
    QString statement = QStringLiteral("CREATE TABLE IF NOT EXISTS") + identifier(mysql_table) + QStringLiteral(" (");
    const auto &selected = globals::web_page()->selected_form;
    if (selected) {
        for (const auto &entry : *selected->fields()) {
            const Field &field = *entry.value;
            if (field.mysql_field.isEmpty())
                continue;
            statement += identifier(field.mysql_field) + QLatin1Char(' ') + field.sql_type + QLatin1Char(' ')
                + field.sql_length + QLatin1Char(' ') + field.sql_default + QLatin1Char(',');
        }
    }
    statement += QStringLiteral("PRIMARY KEY(") + identifier(primary_key) + QStringLiteral("))");

    // mysqli takes the port apart; lib.php may give the host as host:port
    // (or host:socket), as the old client library accepted.
    return php_text::lines({
        QStringLiteral("include(\"lib.php\");"),
        QStringLiteral("mysqli_report(MYSQLI_REPORT_OFF);"),
        QStringLiteral("$port = 3306;"),
        QStringLiteral("$socket = null;"),
        QStringLiteral("if (strpos($host, \":\") !== false) {"),
        QStringLiteral(" list($host, $port) = explode(\":\", $host, 2);"),
        QStringLiteral(" if (!preg_match('/\\A[0-9]+\\z/', $port)) { $socket = $port; $port = 3306; }"),
        QStringLiteral("}"),
        QStringLiteral("$link = mysqli_connect($host,$username,$password,\"\",(int)$port,$socket);"),
        QStringLiteral("if (!$link) {"),
        QStringLiteral("die('Could not connect: ' . mysqli_connect_error());"),
        QStringLiteral("}"),
        QStringLiteral("$db_selected = mysqli_select_db($link, $db);"),
        QStringLiteral("if (!$db_selected) {"),
        QStringLiteral("die (\"Can't use $db : \" . mysqli_error($link));"),
        QStringLiteral("}"),
        QStringLiteral("$sql = \"") + php_text::literal(statement) + QStringLiteral("\";"),
        QStringLiteral("$result = mysqli_query($link, $sql);"),
        QStringLiteral("if (!$result) {"),
        QStringLiteral("die('Invalid query: ' . mysqli_error($link));"),
        QStringLiteral("}"),
        QStringLiteral("echo \"Table created successfully\";"),
    });
}

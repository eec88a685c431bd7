#include "db.h"

#include "mysqli_code.h"
#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQLTable.h"
#include "mysql/MySQLTables.h"
#include "mysql/MySQL_Field.h"
#include "mysql/connections.h"
#include "mysql/sql_text.h"

using php_text::line;
using php_text::literal;

bool db::read_tables()
{
    tables = std::make_shared<MySQLTables>();
    const auto connection = globals::mysql_conn;
    if (!connection)
        return false;
    connection->Execute(QStringLiteral("use ") + sql_text::identifier(dbname));
    if (connection->Error()->Number() != 0)
        return false;
    const auto rows = connection->Execute(QStringLiteral("show tables from ") + sql_text::identifier(dbname));
    for (rows->MoveFirst(); !rows->EOF_(); rows->MoveNext()) {
        MySQLTable listed;
        listed.set_table_name(rows->fields(0)->Value().toString());
        // Names differing only in case can live side by side on the server;
        // the second one is listed without a key.
        const QString key = tables->Contains(listed.table_name()) ? QString() : listed.table_name();
        tables->Add(listed, key);
    }
    return true;
}

std::shared_ptr<CForm> db::insert_form() const
{
    return form ? form : globals::web_page()->selected_form;
}

QStringList db::insert_values() const
{
    QStringList values;
    const auto source = insert_form();
    if (!source)
        return values;
    for (const auto &entry : *source->fields()) {
        const Field &field = *entry.value;
        if (!field.in_mysql)
            continue;
        const QString name = globals::trim_blanks(field.name);
        if (name.isEmpty())
            values << QStringLiteral("\"\""); // a field without a name has no variable
        else if (field.field_type == QLatin1String("file"))
            values << QLatin1Char('$') + name + QStringLiteral("_Name");
        else
            values << QLatin1Char('$') + field.name;
    }
    return values;
}

QString db::create_insert_query() const
{
    QStringList columns;
    if (const auto source = insert_form()) {
        for (const auto &entry : *source->fields()) {
            if (entry.value->in_mysql)
                columns << sql_text::identifier(entry.value->mysql_field);
        }
    }
    const QStringList marks(columns.size(), QStringLiteral("?"));
    const QString statement = QStringLiteral("INSERT INTO ")
        + sql_text::identifier(table ? table->table_name() : QString()) + QLatin1Char('(')
        + columns.join(QLatin1Char(',')) + QStringLiteral(")VALUES (") + marks.join(QLatin1Char(','))
        + QLatin1Char(')');
    return literal(statement);
}

QString db::get_php_code() const
{
    const auto profile = connection ? connection : globals::mysql_connections();
    const QStringList values = insert_values();
    const auto error_lines
        = [this](const QStringList &lines) { return show_errors ? php_text::lines(lines) : QString(); };

    QString code = get_date_conversion_code() + php_text::CRLF + php_text::CRLF;
    code += line(QStringLiteral("@$tsl_strQuery = \"") + create_insert_query() + QStringLiteral("\" ;"));
    // The values go to the server apart from the statement, as text, so
    // nothing a visitor posts can change the statement.
    code += line(QStringLiteral("@$tsl_values = array(") + values.join(QStringLiteral(", ")) + QStringLiteral(");"));
    code += line(QStringLiteral("@$tsl_host = \"")
        + literal(mysqli_code::host_with_port(profile->host(), profile->port())) + QStringLiteral("\";"));
    code += line(QStringLiteral("@$tsl_user = \"") + literal(profile->user()) + QStringLiteral("\";"));
    code += line(QStringLiteral("@$tsl_pw = \"") + literal(profile->password()) + QStringLiteral("\";"));
    code += line(QStringLiteral("@$tsl_db = \"") + literal(dbname) + QStringLiteral("\";"));
    code += php_text::lines(mysqli_code::connect_lines(QStringLiteral("$tsl_link"), QStringLiteral("$tsl_host"),
        QStringLiteral("$tsl_user"), QStringLiteral("$tsl_pw"), QStringLiteral("$tsl_port"),
        QStringLiteral("$tsl_socket")));
    // The server's words may quote what the visitor posted: shown as text.
    code += error_lines({
        QStringLiteral("if (!$tsl_link) {"),
        QStringLiteral(" die('Could not connect: ' . ") + mysqli_code::html(QStringLiteral("mysqli_connect_error()"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
    });
    // Without the checks a failed step skips the later ones.
    code += line(QStringLiteral("$tsl_db_selected = $tsl_link && mysqli_select_db($tsl_link, $tsl_db);"));
    code += error_lines({
        QStringLiteral("if (!$tsl_db_selected) {"),
        QStringLiteral("die ('Can not use ' . ") + mysqli_code::html(QStringLiteral("$tsl_db"))
            + QStringLiteral(" . ' : ' . ") + mysqli_code::html(QStringLiteral("mysqli_error($tsl_link)"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
        QString(),
    });
    code += line(QStringLiteral("//insert new record"));
    code += line(QStringLiteral("$tsl_stmt = $tsl_db_selected ? mysqli_stmt_init($tsl_link) : false;"));
    code += line(QStringLiteral("$tsl_result = $tsl_stmt && mysqli_stmt_prepare($tsl_stmt, $tsl_strQuery) && ")
        + (values.isEmpty() ? QStringLiteral("mysqli_stmt_execute($tsl_stmt);")
                            : QStringLiteral("mysqli_stmt_execute($tsl_stmt, $tsl_values);")));
    code += error_lines({
        QStringLiteral("if (!$tsl_result) {"),
        QStringLiteral(" die('Invalid query: ' . ") + mysqli_code::html(QStringLiteral("mysqli_stmt_error($tsl_stmt)"))
            + QStringLiteral(");"),
        QStringLiteral("}"),
    });
    code += line(QStringLiteral("if ($tsl_link) { mysqli_close($tsl_link); }"));
    return code;
}

bool db::is_date_column(const Field &field) const
{
    // A table typed by hand (one still to be created, say) has no types.
    if (globals::SuccessfullyConnected && table && table->field_types()->Contains(field.mysql_field)) {
        const QString &type = table->field_types()->Item(field.mysql_field);
        return type == QLatin1String("datetime") || type == QLatin1String("date");
    }
    return field.is_date_field;
}

QString db::get_date_conversion_code() const
{
    if (!globals::is_convert_date)
        return QString();
    QString code = line(QStringLiteral("//changing date formats"));
    // A value with neither separator is split at the one an earlier field
    // left, and at "/" when no field did.
    code += line(QStringLiteral("$tsl_Separator = \"/\";"));
    const auto selected = globals::web_page()->selected_form;
    if (!selected)
        return code;
    for (const auto &entry : *selected->fields()) {
        const Field &field = *entry.value;
        if (field.mysql_field.isEmpty())
            continue;
        if (!is_date_column(field))
            continue;
        const QString n = field.name;
        for (const char *separator : { "/", "-" }) {
            code += php_text::lines({
                QStringLiteral("if (strstr( $%1,\"%2\"))").arg(n, QLatin1String(separator)),
                QStringLiteral("{"),
                QStringLiteral("$tsl_Separator = \"%1\";").arg(QLatin1String(separator)),
                QStringLiteral("}"),
            });
        }
        code += line(QStringLiteral("@$tsl_arr = explode($tsl_Separator, $%1);").arg(n));
        const QString time_split = QStringLiteral("@$tsl_arr_time = explode(\" \",$tsl_arr[2]);");
        switch (selected->date_format) {
        case 0:
            code += line(QStringLiteral("@$%1  = $tsl_arr[2].\"-\".$tsl_arr[0].\"-\".$tsl_arr[1];").arg(n));
            break;
        case 1:
            code += line(QStringLiteral("@$%1  = $tsl_arr[2].\"-\".$tsl_arr[1].\"-\".$tsl_arr[0];").arg(n));
            break;
        case 2:
            code += line(time_split);
            code += line(
                QStringLiteral("@$%1= $tsl_arr_time[0].\"-\".$tsl_arr[0].\"-\".$tsl_arr[1].\" \".$tsl_arr_time[1];")
                    .arg(n));
            break;
        case 3:
            code += line(time_split);
            code += line(
                QStringLiteral("@$%1= $tsl_arr_time[0].\"-\".$tsl_arr[1].\"-\".$tsl_arr[0].\" \".$tsl_arr_time[1];")
                    .arg(n));
            break;
        default:
            break;
        }
    }
    return code;
}

bool db::createdb()
{
    const auto connection = globals::mysql_conn;
    if (!connection)
        return false;
    connection->Execute(QStringLiteral("Create Database if not exists ") + sql_text::identifier(dbname));
    return connection->Error()->Number() == 0;
}

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

QString db::date_value(const Field &field)
{
    return QStringLiteral("$tsl_dates['") + php_text::single_quoted(field.name) + QStringLiteral("']");
}

bool db::is_converted(const Field &field) const
{
    return globals::is_convert_date && !field.mysql_field.isEmpty() && is_date_column(field);
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
        else if (is_converted(field))
            values << date_value(field);
        else
            values << QLatin1Char('$') + field.name;
    }
    return values;
}

QStringList db::insert_columns() const
{
    QStringList columns;
    if (const auto source = insert_form()) {
        for (const auto &entry : *source->fields()) {
            if (entry.value->in_mysql)
                columns << entry.value->mysql_field;
        }
    }
    return columns;
}

QString db::create_insert_query() const
{
    QStringList columns;
    for (const QString &column : insert_columns())
        columns << sql_text::identifier(column);
    const QString statement = QStringLiteral("INSERT INTO ")
        + sql_text::identifier(table ? table->table_name() : QString()) + QLatin1Char('(')
        + columns.join(QLatin1Char(',')) + QStringLiteral(")VALUES (");
    return literal(statement);
}

QString db::get_prepare_code() const
{
    const auto profile = connection ? connection : globals::mysql_connections();
    QString code = line(QStringLiteral("@$tsl_host = \"")
        + literal(mysqli_code::host_with_port(profile->host(), profile->port())) + QStringLiteral("\";"));
    code += line(QStringLiteral("@$tsl_user = \"") + literal(profile->user()) + QStringLiteral("\";"));
    code += line(QStringLiteral("@$tsl_pw = \"") + literal(profile->password()) + QStringLiteral("\";"));
    code += line(QStringLiteral("@$tsl_db = \"") + literal(dbname) + QStringLiteral("\";"));
    code += php_text::lines(mysqli_code::connect_lines(QStringLiteral("$tsl_link"), QStringLiteral("$tsl_host"),
        QStringLiteral("$tsl_user"), QStringLiteral("$tsl_pw"), QStringLiteral("$tsl_port"),
        QStringLiteral("$tsl_socket")));
    // The server's words may quote what the visitor posted: the failure
    // shows them as text.
    code += line(QStringLiteral("if (!$tsl_link) {"))
        + php_text::failed(QStringLiteral("'Could not connect: ' . mysqli_connect_error()"), show_errors)
        + line(QStringLiteral("}"));
    code += line(QStringLiteral("$tsl_db_selected = $tsl_link && mysqli_select_db($tsl_link, $tsl_db);"));
    code += line(QStringLiteral("if (!$tsl_db_selected) {"))
        + php_text::failed(QStringLiteral("'Can not use ' . $tsl_db . ' : ' . mysqli_error($tsl_link)"), show_errors)
        + line(QStringLiteral("}"));
    // The row stays only once the rest of the submission is kept too.
    return code + line(QStringLiteral("mysqli_begin_transaction($tsl_link);"));
}

QString db::get_php_code() const
{
    const QStringList values = insert_values();
    QString code = line(QStringLiteral("@$tsl_strQuery = \"") + create_insert_query() + QStringLiteral("\" ;"));
    // The values go to the server apart from the statement, as text, so
    // nothing a visitor posts can change the statement; an empty one takes
    // its column's default, which no bound value can stand for.
    code += line(QStringLiteral("@$tsl_values = array(") + values.join(QStringLiteral(", ")) + QStringLiteral(");"));
    QStringList columns;
    for (const QString &column : insert_columns())
        columns << QLatin1Char('"') + literal(column) + QLatin1Char('"');
    code += line(QStringLiteral("$tsl_columns = array(") + columns.join(QStringLiteral(", ")) + QStringLiteral(");"));
    // A strict server refuses DEFAULT for a column that takes no NULL and
    // has no default (ENUM and AUTO_INCREMENT have one of their own), so an
    // empty value goes there as a lenient server stores a missing one: text
    // empty, any other type zero. The table says which columns, as it is
    // now, when a value is empty; if it cannot be asked, DEFAULT goes
    // everywhere.
    code += php_text::lines({
        QStringLiteral("$tsl_implicit = array();"),
        QStringLiteral("$tsl_info = ($tsl_db_selected && in_array(\"\", $tsl_values, true)) ? mysqli_query($tsl_link, "
                       "\"SELECT COLUMN_NAME, DATA_TYPE FROM "
                       "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '\" . "
                       "mysqli_real_escape_string($tsl_link, \"")
            + literal(table ? table->table_name() : QString())
            + QStringLiteral("\") . \"' AND IS_NULLABLE = 'NO' AND COLUMN_DEFAULT IS NULL AND DATA_TYPE <> 'enum' AND "
                             "EXTRA NOT LIKE '%auto_increment%'\") : false;"),
        QStringLiteral("while ($tsl_info && ($tsl_row = mysqli_fetch_row($tsl_info))) {"),
        QStringLiteral(" $tsl_implicit[strtolower($tsl_row[0])] = preg_match('/char|text|blob|binary|set/i', "
                       "$tsl_row[1]) ? \"''\" : \"0\";"),
        QStringLiteral("}"),
    });
    code += line(QStringLiteral("//insert new record"));
    code += php_text::lines({
        QStringLiteral("$tsl_marks = array();"),
        QStringLiteral("$tsl_params = array();"),
        QStringLiteral("foreach ($tsl_values as $tsl_i => $tsl_value) {"),
        QStringLiteral(" if ($tsl_value === \"\") {"),
        QStringLiteral("  $tsl_marks[] = $tsl_implicit[strtolower($tsl_columns[$tsl_i])] ?? \"DEFAULT\";"),
        QStringLiteral(" } else {"),
        QStringLiteral("  $tsl_marks[] = \"?\";"),
        QStringLiteral("  $tsl_params[] = $tsl_value;"),
        QStringLiteral(" }"),
        QStringLiteral("}"),
        QStringLiteral("$tsl_strQuery .= implode(\",\", $tsl_marks) . \")\";"),
    });
    code += line(QStringLiteral("$tsl_stmt = $tsl_db_selected ? mysqli_stmt_init($tsl_link) : false;"));
    code += line(QStringLiteral("$tsl_result = $tsl_stmt && mysqli_stmt_prepare($tsl_stmt, $tsl_strQuery) && "
                                "mysqli_stmt_execute($tsl_stmt, $tsl_params);"));
    code += line(QStringLiteral("if (!$tsl_result) {"))
        + php_text::failed(
            QStringLiteral("'Invalid query: ' . ($tsl_stmt ? mysqli_stmt_error($tsl_stmt) : mysqli_error($tsl_link))"),
            show_errors)
        + line(QStringLiteral("}"));
    return code;
}

QString db::get_commit_code() const
{
    return line(QStringLiteral("if (!mysqli_commit($tsl_link)) {"))
        + php_text::failed(QStringLiteral("'Could not commit: ' . mysqli_error($tsl_link)"), show_errors)
        + line(QStringLiteral("}")) + line(QStringLiteral("if ($tsl_link) { mysqli_close($tsl_link); }"));
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
    const auto selected = globals::web_page()->selected_form;
    if (!selected)
        return QString();
    QString code;
    for (const auto &entry : *selected->fields()) {
        const Field &field = *entry.value;
        if (!is_converted(field))
            continue;
        const QString n = field.name;
        const QString converted = date_value(field);
        if (code.isEmpty()) {
            code += php_text::lines({
                QStringLiteral("//changing date formats"),
                // A value with neither separator is split at the one an
                // earlier field left, and at "/" when no field did.
                QStringLiteral("$tsl_Separator = \"/\";"),
                QStringLiteral("$tsl_dates = array();"),
                // A date the table takes: a real day (a two-digit year as
                // the server reads it), and a real time of day if any,
                // its seconds with a fraction (which the column keeps as
                // far as its own precision) when the browser steps them.
                QStringLiteral("$tsl_is_date = function ($tsl_value) {"),
                QStringLiteral(" if (!preg_match('/\\A([0-9]{4}|[0-9]{2})-([0-9]{1,2})-([0-9]{1,2})"
                               "(?:[ T]([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2})(?:\\.[0-9]+)?)?)? ?\\z/', $tsl_value, "
                               "$tsl_part)) {"),
                QStringLiteral("  return false;"),
                QStringLiteral(" }"),
                QStringLiteral(" $tsl_year = (int)$tsl_part[1] + (strlen($tsl_part[1]) == 2 ? ($tsl_part[1] < 70 ? "
                               "2000 : 1900) : 0);"),
                QStringLiteral(" return checkdate((int)$tsl_part[2], (int)$tsl_part[3], $tsl_year) && "
                               "(int)($tsl_part[4] ?? 0) < 24 && (int)($tsl_part[5] ?? 0) < 60 && "
                               "(int)($tsl_part[6] ?? 0) < 60;"),
                QStringLiteral("};"),
            });
        }
        // A browser's date or date and time (year first, seconds perhaps
        // with a fraction) is stored as sent; only a value typed in the
        // page's format is converted.
        code += line(converted + QStringLiteral(" = $") + n + QLatin1Char(';'));
        code += line(QStringLiteral("if ($") + n
            + QStringLiteral(" !== \"\" && !preg_match('/\\A[0-9]{4}-[0-9]{1,2}-[0-9]{1,2}"
                             "([ T][0-9]{1,2}:[0-9]{1,2}(:[0-9]{1,2}(\\.[0-9]+)?)?)?\\z/', $")
            + n + QStringLiteral("))"));
        code += line(QStringLiteral("{"));
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
            code += line(QStringLiteral("@%1  = $tsl_arr[2].\"-\".$tsl_arr[0].\"-\".$tsl_arr[1];").arg(converted));
            break;
        case 1:
            code += line(QStringLiteral("@%1  = $tsl_arr[2].\"-\".$tsl_arr[1].\"-\".$tsl_arr[0];").arg(converted));
            break;
        case 2:
            code += line(time_split);
            code += line(
                QStringLiteral("@%1= $tsl_arr_time[0].\"-\".$tsl_arr[0].\"-\".$tsl_arr[1].\" \".$tsl_arr_time[1];")
                    .arg(converted));
            break;
        case 3:
            code += line(time_split);
            code += line(
                QStringLiteral("@%1= $tsl_arr_time[0].\"-\".$tsl_arr[1].\"-\".$tsl_arr[0].\" \".$tsl_arr_time[1];")
                    .arg(converted));
            break;
        default:
            break;
        }
        code += line(QStringLiteral("}"));
        // A date that is none fails as the field's rule does, before any
        // action; the date conversion never sees an empty value. Only a
        // field with a rule or a required test has an alert of its own (a
        // project keeps no other).
        code += line(QStringLiteral("if ($") + n + QStringLiteral(" !== \"\" && !$tsl_is_date(") + converted
            + QStringLiteral("))"));
        const QString named = QStringLiteral("Please enter a valid date in the field ")
            + field.post_name.toHtmlEscaped() + QLatin1Char('.');
        code += field.validation_type != 8 || field.required
            ? php_text::check_body(field, named)
            : line(QStringLiteral("{")) + php_text::form_failure(QLatin1Char('"') + literal(named) + QLatin1Char('"'))
                + line(QStringLiteral("}"));
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

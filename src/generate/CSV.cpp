#include "CSV.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"

QString CSV::get_csv_code() const
{
    using php_text::line;
    const QString sep = php_text::literal(separator);
    const QString end = php_text::literal_keeping_escapes(EndLine);

    QString header;
    QStringList values;
    for (const auto &entry : *form->fields()) {
        const Field &field = *entry.value;
        if (!field.in_csv)
            continue;
        QString value;
        if (field.field_type == QLatin1String("file"))
            value = QLatin1Char('$') + globals::trim_blanks(field.name) + QStringLiteral("_Name");
        else if (field.field_type == QLatin1String("textarea"))
            value = QStringLiteral("str_replace (\"\\r\\n\",\"<BR>\",$") + field.name + QStringLiteral(" )");
        else
            value = QLatin1Char('$') + field.name;
        values << QStringLiteral("$tsl_csv_value(") + value + QLatin1Char(')');
        header += field.name + separator;
    }
    header = php_text::literal(globals::remove_last_separator(header, separator));
    QString record = values.join(QStringLiteral(" . \"") + sep + QStringLiteral("\" . "));
    record += record.isEmpty() ? QLatin1Char('"') + end + QLatin1Char('"')
                               : QStringLiteral(" . \"") + end + QLatin1Char('"');

    const auto error_line = [&](const QString &indent, const QString &message) {
        return show_errors ? line(indent + QStringLiteral("die(\"") + message + QStringLiteral("\");")) : QString();
    };

    QString code = line(QStringLiteral("$tsl_file_name = \"") + php_text::literal(filename) + QStringLiteral("\";"))
        + line(QStringLiteral("$tsl_first_raw = \"") + header + end + QStringLiteral("\";"));
    // A value never splits its record: one holding the separator, a quote or
    // a line break is quoted (quotes doubled), and one a spreadsheet would
    // run as a formula gets a leading apostrophe.
    code += php_text::lines({
        QStringLiteral("$tsl_csv_value = function ($tsl_value) {"),
        QStringLiteral(" if ($tsl_value !== \"\" && strpos(\"=+-@\\t\\r\", $tsl_value[0]) !== false && "
                       "!is_numeric($tsl_value)) {"),
        QStringLiteral("  $tsl_value = \"'\" . $tsl_value;"),
        QStringLiteral(" }"),
        QStringLiteral(" if (strpos($tsl_value, \"") + sep
            + QStringLiteral("\") !== false || strpbrk($tsl_value, \"\\\"\\r\\n\") !== false) {"),
        QStringLiteral("  $tsl_value = \"\\\"\" . str_replace(\"\\\"\", \"\\\"\\\"\", $tsl_value) . \"\\\"\";"),
        QStringLiteral(" }"),
        QStringLiteral(" return $tsl_value;"),
        QStringLiteral("};"),
    });
    code += line(QStringLiteral("$tsl_values = ") + record + QLatin1Char(';'));
    // The lock covers the empty-file test and both writes, so concurrent
    // posts neither lose a record nor write the header twice.
    code += line(QStringLiteral("$tsl_is_first_row = false;"))
        + line(QStringLiteral("if (!$tsl_handle = @fopen($tsl_file_name, 'a+')) {"))
        + error_line(QStringLiteral(" "), QStringLiteral("Cannot open file ($tsl_file_name)"))
        + line(QStringLiteral(" exit;")) + line(QStringLiteral("}"))
        + line(QStringLiteral("flock($tsl_handle, LOCK_EX);")) + line(QStringLiteral("$tsl_stat = fstat($tsl_handle);"))
        + line(QStringLiteral("if($tsl_stat['size'] == 0)")) + line(QStringLiteral("{"))
        + line(QStringLiteral(" $tsl_is_first_row = true ;")) + line(QStringLiteral("}"))
        + line(QStringLiteral("if ($tsl_is_first_row)")) + line(QStringLiteral("{"))
        + line(QStringLiteral("  if (fwrite($tsl_handle, $tsl_first_raw ) === FALSE) {"))
        + error_line(QStringLiteral("  "), QStringLiteral("Cannot write to file ($tsl_file_name)"))
        + line(QStringLiteral("  exit;")) + line(QStringLiteral("  }")) + line(QStringLiteral("}"))
        + line(QStringLiteral("if (fwrite($tsl_handle, $tsl_values) === FALSE) {"))
        + error_line(QStringLiteral("  "), QStringLiteral("Cannot write to file ($tsl_file_name)"))
        + line(QStringLiteral("  exit;")) + line(QStringLiteral("}")) + line(QStringLiteral("fflush($tsl_handle);"))
        + line(QStringLiteral("flock($tsl_handle, LOCK_UN);")) + line(QStringLiteral("fclose($tsl_handle);"));
    return code;
}

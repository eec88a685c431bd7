#include "CSV.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"

#include <utility>

namespace {

// The list's names and the separators they stand for.
const std::pair<QLatin1String, QLatin1String> kNamedSeparators[] = {
    { QLatin1String("comma"), QLatin1String(",") },
    { QLatin1String("semicolon"), QLatin1String(";") },
    { QLatin1String("tab"), QLatin1String("   ") }, // three blanks, as the list has always meant
    { QLatin1String("space"), QLatin1String(" ") },
};

std::optional<QString> named_separator(const QString &name)
{
    for (const auto &[word, separator] : kNamedSeparators) {
        if (name == word)
            return QString(separator);
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> CSV::separator_of(const QString &text)
{
    // A quote encloses values that hold the separator, a "*" is dropped from
    // the heading line and a line break ends the record, so none of them
    // separates.
    if (const std::optional<QString> named = named_separator(globals::ascii_lower(globals::trim_blanks(text))))
        return named;
    if (text.toUcs4().size() != 1 || QStringLiteral("\"*\r\n").contains(text))
        return std::nullopt;
    return text;
}

QString CSV::earlier_separator_of(const QString &text)
{
    return named_separator(text.toLower()).value_or(QStringLiteral(","));
}

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

    QString code = line(QStringLiteral("$tsl_first_raw = \"") + header + end + QStringLiteral("\";"));
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
    // A write cut short is undone by the failure, which cuts the file back
    // to its size before this post.
    const QString write_failed
        = php_text::failed(QStringLiteral("\"Cannot write to file ($tsl_file_name)\""), show_errors);
    code += line(QStringLiteral("if ($tsl_is_first_row)")) + line(QStringLiteral("{"))
        + line(QStringLiteral("  if (@fwrite($tsl_handle, $tsl_first_raw ) !== strlen($tsl_first_raw)) {"))
        + write_failed + line(QStringLiteral("  }")) + line(QStringLiteral("}"))
        + line(QStringLiteral("if (@fwrite($tsl_handle, $tsl_values) !== strlen($tsl_values)) {")) + write_failed
        + line(QStringLiteral("}")) + line(QStringLiteral("fflush($tsl_handle);"));
    return code;
}

bool CSV::has_folder() const
{
    return filename.contains(QLatin1Char('/')) || filename.contains(QLatin1Char('\\'));
}

QString CSV::get_open_code() const
{
    using php_text::line;
    QString code = line(QStringLiteral("$tsl_file_name = \"") + php_text::literal(filename) + QStringLiteral("\";"));
    // The data file's folder is made as the upload folders are.
    if (has_folder()) {
        code += php_text::lines({
                    QStringLiteral("if (!is_dir(dirname($tsl_file_name)))"),
                    QStringLiteral("  {"),
                    QStringLiteral("    @RecursiveMkdir(dirname($tsl_file_name)); "),
                    QStringLiteral("  }"),
                    QStringLiteral("if (!is_dir(dirname($tsl_file_name)))"),
                    QStringLiteral("{"),
                })
            + php_text::failed(
                QStringLiteral("\"Cannot create the folder (\" . dirname($tsl_file_name) . \")\""), show_errors)
            + line(QStringLiteral("}"));
    }
    // The lock covers the empty-file test and both writes, so concurrent
    // posts neither lose a record nor write the header twice. A lock held
    // elsewhere fails the post in a few seconds, before anything is kept,
    // rather than hold the visitor until the server gives up and then keep
    // it anyway. Where files cannot be locked at all, the post goes on.
    return code + line(QStringLiteral("$tsl_is_first_row = false;"))
        + line(QStringLiteral("if (!$tsl_handle = @fopen($tsl_file_name, 'a+')) {"))
        + php_text::failed(QStringLiteral("\"Cannot open file ($tsl_file_name)\""), show_errors)
        + line(QStringLiteral("}"))
        + php_text::lines({
            QStringLiteral("for ($tsl_tries = 1; !flock($tsl_handle, LOCK_EX | LOCK_NB, $tsl_blocked) && $tsl_blocked; "
                           "$tsl_tries++) {"),
            QStringLiteral(" if ($tsl_tries > 50) {"),
        })
        + php_text::failed(QStringLiteral("\"Cannot lock file ($tsl_file_name)\""), show_errors)
        + php_text::lines({
            QStringLiteral(" }"),
            QStringLiteral(" usleep(100000);"),
            QStringLiteral("}"),
        })
        + line(QStringLiteral("$tsl_stat = fstat($tsl_handle);"))
        + line(QStringLiteral("$tsl_size = $tsl_stat['size'];")) + line(QStringLiteral("if($tsl_stat['size'] == 0)"))
        + line(QStringLiteral("{")) + line(QStringLiteral(" $tsl_is_first_row = true ;")) + line(QStringLiteral("}"));
}

QString CSV::get_close_code() const
{
    return php_text::lines({ QStringLiteral("flock($tsl_handle, LOCK_UN);"), QStringLiteral("fclose($tsl_handle);") });
}

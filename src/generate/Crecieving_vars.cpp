#include "Crecieving_vars.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"

#include <algorithm>

namespace {

// Each encoding a browser may submit a form in, with the converter of glibc
// that reads it as browsers write it. The standard's Shift_JIS, EUC-KR and
// Big5 are Microsoft's and Hong Kong's supersets, and its EUC-JP table holds
// Microsoft's characters (circled numbers and others). GBK pages send the
// euro sign as the single byte 0x80, which glibc's GB18030 refuses. The
// converters differ from the standard in a few characters that are hardly
// typed: KOI8-U's Belarusian short u, the Apple logo and the increment sign
// of macintosh, the euro sign of x-mac-cyrillic, Big5's compatibility forms,
// ISO-2022-JP's NEC symbols. x-user-defined sends anything beyond ASCII as
// private-use characters, which are dropped as ASCII.
struct IconvName
{
    const char *encoding;
    const char *iconv;
};

constexpr IconvName kIconvNames[] = {
    { "IBM866", "IBM866" },
    { "ISO-8859-2", "ISO-8859-2" },
    { "ISO-8859-3", "ISO-8859-3" },
    { "ISO-8859-4", "ISO-8859-4" },
    { "ISO-8859-5", "ISO-8859-5" },
    { "ISO-8859-6", "ISO-8859-6" },
    { "ISO-8859-7", "ISO-8859-7" },
    { "ISO-8859-8", "ISO-8859-8" },
    { "ISO-8859-8-I", "ISO-8859-8" },
    { "ISO-8859-10", "ISO-8859-10" },
    { "ISO-8859-13", "ISO-8859-13" },
    { "ISO-8859-14", "ISO-8859-14" },
    { "ISO-8859-15", "ISO-8859-15" },
    { "ISO-8859-16", "ISO-8859-16" },
    { "KOI8-R", "KOI8-R" },
    { "KOI8-U", "KOI8-U" },
    { "macintosh", "MACINTOSH" },
    { "windows-874", "CP874" },
    { "windows-1250", "CP1250" },
    { "windows-1251", "CP1251" },
    { "windows-1252", "CP1252" },
    { "windows-1253", "CP1253" },
    { "windows-1254", "CP1254" },
    { "windows-1255", "CP1255" },
    { "windows-1256", "CP1256" },
    { "windows-1257", "CP1257" },
    { "windows-1258", "CP1258" },
    { "x-mac-cyrillic", "MAC-CYRILLIC" },
    { "GBK", "GBK" },
    { "gb18030", "GB18030" },
    { "Big5", "BIG5-HKSCS" },
    { "EUC-JP", "EUC-JP-MS" },
    { "ISO-2022-JP", "ISO-2022-JP" },
    { "Shift_JIS", "CP932" },
    { "EUC-KR", "CP949" },
    { "x-user-defined", "US-ASCII" },
};

} // namespace

QByteArray Crecieving_vars::iconv_name(const QByteArray &encoding)
{
    for (const IconvName &name : kIconvNames) {
        if (encoding == name.encoding)
            return QByteArray(name.iconv);
    }
    return {};
}

QString Crecieving_vars::get_cleaning_code() const
{
    QStringList lines = {
        QStringLiteral("$tsl_clean = function ($tsl_value) use (&$tsl_clean) {"),
        QStringLiteral(" if (is_array($tsl_value)) {"),
        QStringLiteral("  $tsl_cleaned = array();"),
        QStringLiteral("  foreach ($tsl_value as $tsl_name => $tsl_item) $tsl_cleaned[$tsl_clean((string)$tsl_name)] = "
                       "$tsl_clean($tsl_item);"),
        QStringLiteral("  return $tsl_cleaned;"),
        QStringLiteral(" }"),
    };
    // A NUL byte is no text a visitor types, and PHP's functions refuse it.
    lines << QStringLiteral(" $tsl_value = str_replace(\"\\0\", \"\", (string)$tsl_value);");
    const QByteArray from = iconv_name(form ? form->encoding : QByteArray());
    if (!from.isEmpty()) {
        // A form whose page names no character set is posted in the
        // browser's default, or in UTF-8 where the server says so: UTF-8
        // stays. Bytes that are no text in the form's character set (a
        // forged post) are dropped, and so is a character cut off at the
        // end, which makes iconv fail; where iconv fails otherwise, or PHP
        // was built without it, every byte beyond ASCII goes.
        const bool guessed = !form->encoding_declared;
        if (guessed)
            lines << QStringLiteral(" if (!preg_match('//u', $tsl_value)) {");
        const QString indent = guessed ? QStringLiteral("  ") : QStringLiteral(" ");
        lines << indent
                + QStringLiteral("for ($tsl_cut = 0, $tsl_text = false; $tsl_text === false && $tsl_cut < 4 && "
                                 "function_exists('iconv'); $tsl_cut++) $tsl_text = @iconv(\"%1\", \"UTF-8//IGNORE\", "
                                 "substr($tsl_value, 0, strlen($tsl_value) - $tsl_cut));")
                      .arg(QLatin1String(from))
              << indent
                + QStringLiteral("$tsl_value = ($tsl_text === false) ? preg_replace('/[\\x80-\\xFF]/', '', $tsl_value) "
                                 ": $tsl_text;");
        if (guessed)
            lines << QStringLiteral(" }");
    }
    // Whatever the form, what goes on is UTF-8: invalid sequences go.
    lines << QStringLiteral(" return preg_match('//u', $tsl_value) ? $tsl_value : "
                            "preg_replace('/([\\xC2-\\xDF][\\x80-\\xBF]|\\xE0[\\xA0-\\xBF][\\x80-\\xBF]|"
                            "[\\xE1-\\xEC\\xEE\\xEF][\\x80-\\xBF]{2}|\\xED[\\x80-\\x9F][\\x80-\\xBF]|"
                            "\\xF0[\\x90-\\xBF][\\x80-\\xBF]{2}|[\\xF1-\\xF3][\\x80-\\xBF]{3}|"
                            "\\xF4[\\x80-\\x8F][\\x80-\\xBF]{2})|[\\x80-\\xFF]/', '$1', $tsl_value);");
    lines << QStringLiteral("};");
    const QString method = form ? form->Method() : QStringLiteral("POST");
    lines << QStringLiteral("$_%1 = $tsl_clean($_%1);").arg(method);
    const bool uploads = form && std::any_of(form->fields()->begin(), form->fields()->end(), [](const auto &entry) {
        return entry.value->field_type == QLatin1String("file");
    });
    if (uploads) {
        lines << QStringLiteral("$tsl_files = array();")
              << QStringLiteral("foreach ($_FILES as $tsl_key => $tsl_file) {")
              << QStringLiteral(" if (is_array($tsl_file) && isset($tsl_file['name'])) $tsl_file['name'] = "
                                "$tsl_clean($tsl_file['name']);")
              << QStringLiteral(" $tsl_files[$tsl_clean((string)$tsl_key)] = $tsl_file;") << QStringLiteral("}")
              << QStringLiteral("$_FILES = $tsl_files;");
    }
    return php_text::lines(lines);
}

QString Crecieving_vars::posted_item(const Field &field) const
{
    return php_text::request_item(
        QStringLiteral("_") + (form ? form->Method() : QStringLiteral("POST")), field.post_name);
}

QString Crecieving_vars::get_recieving_code() const
{
    using php_text::line;
    QString code;
    if (form->is_send_ip)
        code += line(QStringLiteral("@$tsl_ip= $_SERVER['REMOTE_ADDR'];"));
    for (const auto &entry : *form->fields()) {
        const Field &field = *entry.value;
        // A nameless field has no variable to receive it in.
        if (globals::trim_blanks(field.name).isEmpty())
            continue;
        // Values arrive as posted, and always as text: a missing value or an
        // array where one value belongs becomes "".
        if (field.field_type == QLatin1String("multi select")) {
            const QString var = QLatin1Char('$') + field.name;
            code += line(
                QStringLiteral("@") + var + QStringLiteral(" = ") + posted_item(field) + QStringLiteral(" ?? null;"));
            code += line(QStringLiteral("@%1 = (is_array(%1) && %1 === array_filter(%1, 'is_string')) ? "
                                        "implode(\"&\" , %1) : \"\";")
                             .arg(var));
        } else if (field.field_type == QLatin1String("file")) {
            const QString n = globals::trim_blanks(field.name);
            const QString posted = globals::trim_blanks(field.post_name);
            const auto part
                = [&](const QString &suffix, const QString &entry, const QString &test, const QString &empty) {
                      const QString item = php_text::request_item(QStringLiteral("_FILES"), posted, entry);
                      code += line(QStringLiteral("@$") + n + QLatin1Char('_') + suffix + QStringLiteral(" = ") + test
                          + QLatin1Char('(') + item + QStringLiteral(" ?? null) ? ") + item + QStringLiteral(" : ")
                          + empty + QLatin1Char(';'));
                  };
            const QString text = QStringLiteral("is_string");
            const QString none = QStringLiteral("\"\"");
            part(QStringLiteral("Name"), QStringLiteral("name"), text, none);
            part(QStringLiteral("Size"), QStringLiteral("size"), QStringLiteral("is_int"), QStringLiteral("0"));
            part(QStringLiteral("Temp"), QStringLiteral("tmp_name"), text, none);
            part(QStringLiteral("Mime_Type"), QStringLiteral("type"), text, none);
        } else {
            const QString item = posted_item(field);
            code += line(QStringLiteral("@$") + field.name + QStringLiteral(" = is_string(") + item
                + QStringLiteral(" ?? null) ? ") + item + QStringLiteral(" : \"\";"));
        }
    }
    return code;
}

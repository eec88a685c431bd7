#include "Vfile.h"

#include "UploadTypes.h"
#include "php_text.h"

#include "model/Field.h"
#include "model/globals.h"

namespace {

// The variables of an upload field: its name trimmed of blanks, then "_" and
// what each holds.
QString variable(const Field &field, const char *suffix)
{
    return QLatin1Char('$') + globals::trim_blanks(field.name) + QLatin1Char('_') + QLatin1String(suffix);
}

} // namespace

QString Vfile::get_php_code() const
{
    using php_text::line;
    const QString name = variable(*field, "Name");
    const QString size = variable(*field, "Size");
    const QString temp = variable(*field, "Temp");
    const QString mime = variable(*field, "Mime_Type");
    const QString unlink_temp = line(QStringLiteral("unlink(") + temp + QStringLiteral(");"));

    // No file chosen is an empty value, the required test's to judge; a file
    // PHP itself refused (too big for it, cut short, nowhere to keep it) or
    // an empty one fails.
    const QString error = php_text::request_item(
        QStringLiteral("_FILES"), globals::trim_blanks(field->post_name), QStringLiteral("error"));
    QString code = line(QStringLiteral("$tsl_upload_error = is_int(") + error + QStringLiteral(" ?? null) ? ") + error
                       + QStringLiteral(" : UPLOAD_ERR_NO_FILE;"))
        + line(QStringLiteral("if( $tsl_upload_error != UPLOAD_ERR_NO_FILE )")) + line(QStringLiteral("{"));
    code += line(QStringLiteral("if( $tsl_upload_error != UPLOAD_ERR_OK || ") + size + QStringLiteral(" == 0)"))
        + php_text::check_body(*field);

    code += line(QStringLiteral("if( ") + size + QStringLiteral(" >") + php_text::number(field->max_size * 1000)
                + QLatin1Char(')'))
        + line(QStringLiteral("{")) + line(QStringLiteral("//delete file ")) + unlink_temp
        + php_text::failure_block(*field) + line(QStringLiteral("}"));

    // The visitor's name is only a suggestion: keep its base name, refuse
    // names the server would run or hide, and store it with safe characters.
    code += line(name + QStringLiteral(" = basename(str_replace(\"\\\\\", \"/\", ") + name + QStringLiteral("));"))
        + line(QStringLiteral("if( ") + name + QStringLiteral(" === \"\" || ") + name
            + QStringLiteral("[0] == \".\" || strpos(") + name
            + QStringLiteral(", \"\\0\") !== false || preg_match('/^web\\.config(\\.|$)|\\.(")
            + UploadTypes::refused_extensions() + QStringLiteral(")(\\.|$)/i', ") + name + QStringLiteral(") )"))
        + line(QStringLiteral("{")) + unlink_temp + php_text::failure_block(*field) + line(QStringLiteral("}"))
        + line(name + QStringLiteral(" = preg_replace('/[^A-Za-z0-9._-]/', '_', ") + name + QStringLiteral(");"));

    // The server gives a stored file the type its last extension stands for,
    // whatever the browser declared: that extension must be one of a
    // permitted type (of any type offered, when none is chosen).
    const auto &types = *field->mime_types();
    QStringList extensions;
    if (types.Count() == 0)
        extensions = UploadTypes::all_extensions();
    for (const auto &type : types) {
        for (const QString &extension : UploadTypes::extensions(type.value)) {
            if (!extensions.contains(extension))
                extensions << extension;
        }
    }
    code += line(QStringLiteral("if( !preg_match('/\\.(")
                + (extensions.isEmpty() ? QStringLiteral("(?!)") : extensions.join(QLatin1Char('|')))
                + QStringLiteral(")\\z/i', ") + name + QStringLiteral(") )"))
        + line(QStringLiteral("{")) + unlink_temp + php_text::failure_block(*field) + line(QStringLiteral("}"));

    // The declared type must be one a browser gives a permitted type's files
    // (platforms name some types apart); without permitted types, it must
    // not be a page's. Its letter case is no part of it.
    const QString declared = QStringLiteral("strtolower(trim(explode(\";\", ") + mime + QStringLiteral(")[0]))");
    QString condition;
    if (types.Count() > 0) {
        QStringList accepted;
        for (const auto &type : types) {
            for (const QString &name : UploadTypes::declared_types(type.value)) {
                const QString quoted = QLatin1Char('"') + php_text::literal(name) + QLatin1Char('"');
                if (!accepted.contains(quoted))
                    accepted << quoted;
            }
        }
        condition = QStringLiteral("if( !in_array(") + declared + QStringLiteral(", array(")
            + accepted.join(QStringLiteral(", ")) + QStringLiteral("), true) )");
    } else {
        condition = QStringLiteral("if( preg_match('~\\A(?:") + UploadTypes::page_types() + QStringLiteral(")\\z~', ")
            + declared + QStringLiteral(") )");
    }
    code += line(condition) + line(QStringLiteral("{")) + unlink_temp + php_text::failure_block(*field)
        + line(QStringLiteral("}"));
    return code + line(QStringLiteral("}"));
}

QString Vfile::upload_file_line() const
{
    if (!m_upload_file_line.isEmpty())
        return m_upload_file_line;
    const QString name = variable(*field, "Name");
    QString folder = field->upload_folder;
    for (int replaced = 0; replaced < 10; ++replaced) {
        const qsizetype at = folder.indexOf(QLatin1Char('\\'));
        if (at < 0)
            break;
        folder[at] = QLatin1Char('/');
    }
    field->upload_folder = folder;
    if (folder.isEmpty()) {
        m_upload_file_line = php_text::line(QStringLiteral("$tsl_upload_file =  ") + name + QStringLiteral(" ;"));
    } else {
        folder = globals::remove_last_separator(folder, QStringLiteral("/"));
        field->upload_folder = folder;
        m_upload_file_line = php_text::line(QStringLiteral("$tsl_upload_file = \"") + php_text::literal(folder)
            + QStringLiteral("/\".") + name + QStringLiteral(" ;"));
    }
    return m_upload_file_line;
}

QString Vfile::get_prepare_code() const
{
    using php_text::line;
    // Made, or found writable, before the first file is kept: a folder that
    // cannot be is the server's fault, not the file's.
    return line(QStringLiteral("if( ") + variable(*field, "Temp") + QStringLiteral(" !== \"\" )"))
        + line(QStringLiteral("{")) + upload_file_line()
        + php_text::lines({
            QStringLiteral("if (!is_dir(dirname($tsl_upload_file)))"),
            QStringLiteral("  {"),
            QStringLiteral("    @RecursiveMkdir(dirname($tsl_upload_file)); "),
            QStringLiteral("  }"),
            QStringLiteral("if (!is_dir(dirname($tsl_upload_file)) || !is_writable(dirname($tsl_upload_file)))"),
            QStringLiteral("{"),
        })
        + php_text::failed(
            QStringLiteral("\"Cannot write to the upload folder (\" . dirname($tsl_upload_file) . \")\""), false)
        + line(QStringLiteral("}")) + line(QStringLiteral("}"));
}

QString Vfile::get_store_code() const
{
    using php_text::line;
    const QString name = variable(*field, "Name");
    const QString temp = variable(*field, "Temp");
    const QString url_variable = variable(*field, "URL");

    // Without a file there is nothing to store and no address.
    QString code = line(url_variable + QStringLiteral(" = \"\";"))
        + line(QStringLiteral("if( ") + temp + QStringLiteral(" !== \"\" )")) + line(QStringLiteral("{"))
        + upload_file_line();

    // Another visitor's file of the same name is kept: the name is reserved
    // by creating it, with a number before the extension when taken, and
    // after _99 a random one. Each try costs a file operation, and anyone
    // can fill the numbers with tiny posts, so they stop early; a random
    // name is free at the first try. The stem gives way to the number, so a
    // taken name as long as a file system allows (255 bytes) still finds a
    // free one. Only a folder that takes no file (or a name too long for
    // it) fails the upload; nothing is overwritten.
    code += php_text::lines({
        QStringLiteral("$tsl_dot = strrpos(%1, \".\");").arg(name),
        QStringLiteral("$tsl_stem = ($tsl_dot === false) ? %1 : substr(%1, 0, $tsl_dot);").arg(name),
        QStringLiteral("$tsl_ext = ($tsl_dot === false) ? \"\" : substr(%1, $tsl_dot);").arg(name),
        QStringLiteral("$tsl_stem = substr($tsl_stem, 0, max(1, 255 - 17 - strlen($tsl_ext)));"),
        QStringLiteral("$tsl_folder = substr($tsl_upload_file, 0, strlen($tsl_upload_file) - strlen(%1));").arg(name),
        QStringLiteral("for ($tsl_n = 1; !($tsl_fp = @fopen($tsl_upload_file, 'x')) && file_exists($tsl_upload_file); "
                       "$tsl_n++)"),
        QStringLiteral("{"),
        QStringLiteral(" %1 = $tsl_stem . \"_\" . ($tsl_n < 100 ? $tsl_n : bin2hex(random_bytes(8))) . $tsl_ext;")
            .arg(name),
        QStringLiteral(" $tsl_upload_file = $tsl_folder . %1;").arg(name),
        QStringLiteral("}"),
        QStringLiteral("if ($tsl_fp) fclose($tsl_fp);"),
    });

    // A file that cannot be stored fails the submission, and takes the
    // files stored before it along.
    code += line(QStringLiteral("if( !$tsl_fp || !@move_uploaded_file( ") + temp
                + QStringLiteral(" , $tsl_upload_file) )"))
        + line(QStringLiteral("{")) + line(QStringLiteral("if ($tsl_fp) @unlink($tsl_upload_file);"))
        + php_text::failed(QStringLiteral("\"Cannot store the file ($tsl_upload_file)\""), false)
        + line(QStringLiteral("}")) + line(QStringLiteral("$tsl_stored[] = $tsl_upload_file;"))
        + line(QStringLiteral("@chmod($tsl_upload_file, 0644);"));

    // A bare scheme keeps its last "/": "http://" becomes "http:/" once, and
    // a second generation must not make it "http:".
    const auto drop_last = [](const QString &address, const QString &separator) {
        const QString shorter = globals::remove_last_separator(address, separator);
        return shorter.endsWith(QLatin1Char(':')) ? globals::remove_last_separator(address, QString()) : shorter;
    };
    QString url = drop_last(field->upload_url, QStringLiteral("/"));
    field->upload_url = url;
    url = drop_last(url, QStringLiteral("\\"));
    field->upload_url = url;
    code += line(url_variable + QStringLiteral(" = \"") + php_text::literal(url) + QStringLiteral("/\".") + name
        + QStringLiteral(" ;"));
    return code + line(QStringLiteral("}"));
}

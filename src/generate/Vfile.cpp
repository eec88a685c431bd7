#include "Vfile.h"

#include "php_text.h"

#include "model/Field.h"
#include "model/globals.h"

namespace {

// Extensions a web server would run or obey, in any part of the name.
const char *const kServerExtensions
    = "php[3-8]?|phtml|phar|pht|phps|cgi|pl|py|asp|aspx|jsp|shtml|htaccess|htpasswd|ini";

} // namespace

QString Vfile::get_php_code() const
{
    using php_text::line;
    const QString n = globals::trim_blanks(field->name);
    const QString name = QLatin1Char('$') + n + QStringLiteral("_Name");
    const QString size = QLatin1Char('$') + n + QStringLiteral("_Size");
    const QString temp = QLatin1Char('$') + n + QStringLiteral("_Temp");
    const QString mime = QLatin1Char('$') + n + QStringLiteral("_Mime_Type");
    const QString unlink_temp = line(QStringLiteral("unlink(") + temp + QStringLiteral(");"));

    QString code = line(QStringLiteral("if( ") + size + QStringLiteral(" == 0)")) + php_text::check_body(*field);

    code += line(QStringLiteral("if( ") + size + QStringLiteral(" >") + php_text::number(field->max_size * 1000)
                + QLatin1Char(')'))
        + line(QStringLiteral("{")) + line(QStringLiteral("//delete file ")) + unlink_temp
        + php_text::failure_block(*field) + line(QStringLiteral("}"));

    // The visitor's name is only a suggestion: keep its base name, refuse
    // names the server would run or hide, and store it with safe characters.
    code += line(name + QStringLiteral(" = basename(str_replace(\"\\\\\", \"/\", ") + name + QStringLiteral("));"))
        + line(QStringLiteral("if( ") + name + QStringLiteral(" === \"\" || ") + name
            + QStringLiteral("[0] == \".\" || strpos(") + name
            + QStringLiteral(", \"\\0\") !== false || preg_match('/\\.(") + QLatin1String(kServerExtensions)
            + QStringLiteral(")(\\.|$)/i', ") + name + QStringLiteral(") )"))
        + line(QStringLiteral("{")) + unlink_temp + php_text::failure_block(*field) + line(QStringLiteral("}"))
        + line(name + QStringLiteral(" = preg_replace('/[^A-Za-z0-9._-]/', '_', ") + name + QStringLiteral(");"));

    const auto &types = *field->mime_types();
    if (types.Count() > 0) {
        QString condition = QStringLiteral("if(");
        for (const auto &type : types) {
            condition += QLatin1Char(' ') + mime + QStringLiteral(" != \"") + php_text::literal(type.value)
                + QStringLiteral("\" AND");
        }
        condition.chop(3);
        condition += QLatin1Char(')');
        code += line(condition) + line(QStringLiteral("{")) + unlink_temp + php_text::failure_block(*field)
            + line(QStringLiteral("}"));
    }

    QString folder = field->upload_folder;
    for (int replaced = 0; replaced < 10; ++replaced) {
        const qsizetype at = folder.indexOf(QLatin1Char('\\'));
        if (at < 0)
            break;
        folder[at] = QLatin1Char('/');
    }
    field->upload_folder = folder;
    if (folder.isEmpty()) {
        code += line(QStringLiteral("$uploadFile =  ") + name + QStringLiteral(" ;"));
    } else {
        folder = globals::remove_last_separator(folder, QStringLiteral("/"));
        field->upload_folder = folder;
        code += line(QStringLiteral("$uploadFile = \"") + php_text::literal(folder) + QStringLiteral("/\".") + name
            + QStringLiteral(" ;"));
    }
    code += php_text::lines({
        QStringLiteral("if (!is_dir(dirname($uploadFile)))"),
        QStringLiteral("  {"),
        QStringLiteral("    @RecursiveMkdir(dirname($uploadFile)); "),
        QStringLiteral("  }"),
        QStringLiteral("else"),
        QStringLiteral("  {"),
        QStringLiteral("  @chmod(dirname($uploadFile), 0777);"),
        QStringLiteral("  }"),
    });

    // Another visitor's file of the same name is kept: the name is reserved
    // by creating it, with a number before the extension when taken.
    code += php_text::lines({
        QStringLiteral("$tsl_dot = strrpos(%1, \".\");").arg(name),
        QStringLiteral("$tsl_stem = ($tsl_dot === false) ? %1 : substr(%1, 0, $tsl_dot);").arg(name),
        QStringLiteral("$tsl_ext = ($tsl_dot === false) ? \"\" : substr(%1, $tsl_dot);").arg(name),
        QStringLiteral("$tsl_folder = substr($uploadFile, 0, strlen($uploadFile) - strlen(%1));").arg(name),
        QStringLiteral("for ($tsl_n = 1; !($tsl_fp = @fopen($uploadFile, 'x')) && file_exists($uploadFile) && "
                       "$tsl_n < 10000; $tsl_n++)"),
        QStringLiteral("{"),
        QStringLiteral(" %1 = $tsl_stem . \"_\" . $tsl_n . $tsl_ext;").arg(name),
        QStringLiteral(" $uploadFile = $tsl_folder . %1;").arg(name),
        QStringLiteral("}"),
        QStringLiteral("if ($tsl_fp) fclose($tsl_fp);"),
    });

    code += line(QStringLiteral("@move_uploaded_file( ") + temp + QStringLiteral(" , $uploadFile); "))
        + line(QStringLiteral("@chmod($uploadFile, 0644);"));

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
    code += line(QLatin1Char('$') + n + QStringLiteral("_URL = \"") + php_text::literal(url) + QStringLiteral("/\".")
        + name + QStringLiteral(" ;"));
    return code;
}

#include "GenerateAction.h"

#include "generate/CPHP_script.h"
#include "generate/db.h"
#include "generate/lib.h"
#include "generate/mysqli_code.h"
#include "generate/sql.h"
#include "model/Cprefrences.h"
#include "model/FileError.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/connections.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <memory>
#include <vector>

namespace {

const QString CRLF = QStringLiteral("\r\n");

QString unreadable(const QFile &file)
{
    return QStringLiteral("cannot be read (") + file.errorString() + QLatin1Char(')');
}

QString unwritable(const QFileDevice &file)
{
    return QStringLiteral("cannot be written (") + file.errorString() + QLatin1Char(')');
}

// A file to copy, opened before anything is written so that a missing one
// stops the generation while the folder is still untouched.
struct Copy
{
    std::unique_ptr<QFile> from;
    QString to;
};

void add_copy(std::vector<Copy> &copies, const QString &from, const QString &to)
{
    auto file = std::make_unique<QFile>(from);
    if (!file->open(QIODevice::ReadOnly))
        throw FileError(from, unreadable(*file));
    copies.push_back(Copy { std::move(file), to });
}

void copy(const Copy &job)
{
    QSaveFile target(job.to);
    if (!target.open(QIODevice::WriteOnly))
        throw FileError(job.to, unwritable(target));
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = job.from->read(buffer, sizeof buffer);
        if (got < 0)
            throw FileError(job.from->fileName(), unreadable(*job.from));
        if (got == 0)
            break;
        if (target.write(buffer, got) != got)
            throw FileError(job.to, unwritable(target));
    }
    if (!target.commit())
        throw FileError(job.to, unwritable(target));
}

} // namespace

QString GenerateAction::base_name(const QString &path)
{
    QString name = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    return name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
}

QString GenerateAction::destination(const QString &name)
{
    return QDir(globals::prefs()->des_folder).filePath(name);
}

QString GenerateAction::php_file(const QString &body)
{
    return QStringLiteral("<?php") + CRLF + body + CRLF + QStringLiteral("?>") + CRLF;
}

QString GenerateAction::blocked_ips_file(const StringCollection &ips)
{
    QString text;
    for (const auto &entry : ips)
        text += entry.value + CRLF;
    return text;
}

void GenerateAction::fill_lib()
{
    const connections &profile = *globals::mysql_connections();
    lib &settings = *globals::lib_script();
    settings.host = mysqli_code::host_with_port(profile.host(), profile.port());
    settings.username = profile.user();
    settings.password = profile.password();
    settings.db = globals::mysql_db()->dbname;
    settings.table = globals::sql_script()->mysql_table;
}

void GenerateAction::write_text(const QString &path, const QString &text)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(path, unwritable(file));
}

void GenerateAction::write_files() const
{
    const Cprefrences &prefs = *globals::prefs();
    std::vector<Copy> result_pages;
    std::vector<Copy> parts;
    if (!prefs.is_embeded_result_page) {
        add_copy(result_pages, prefs.success_path, destination(prefs.success_page));
        add_copy(result_pages, prefs.error_path, destination(prefs.error_page));
    }
    if (prefs.is_header)
        add_copy(parts, prefs.header_path, destination(prefs.header_img));
    if (prefs.is_footer)
        add_copy(parts, prefs.footer_path, destination(prefs.footer_img));

    for (const Copy &job : result_pages)
        copy(job);
    const StringCollection &ips = *globals::web_page()->blocked_ips();
    if (ips.Count() > 0)
        write_text(destination(QStringLiteral("blockedIPs.txt")), blocked_ips_file(ips));
    // The box stays ticked when MySQL is later turned off on page 1; the
    // table files then belong to no script.
    if (prefs.is_mysql && prefs.is_create_tble) {
        fill_lib();
        write_text(destination(QStringLiteral("lib.php")), php_file(globals::lib_script()->get_lib_code()));
        write_text(destination(QStringLiteral("setup.php")), php_file(globals::sql_script()->get_sql_code()));
    }
    for (const Copy &job : parts)
        copy(job);

    // The script last: it is only replaced once everything it relies on is
    // in the folder.
    try {
        globals::php_script()->prepare_script();
    } catch (const FileError &error) {
        throw FileError(error.path(), QStringLiteral("cannot be written (") + error.reason() + QLatin1Char(')'));
    }
}

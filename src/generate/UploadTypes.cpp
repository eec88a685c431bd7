#include "UploadTypes.h"

#include <QRegularExpression>

namespace {

// Each type the rules page can offer, with the extensions that both the
// media-type registry's list (Debian's mime.types) and the web servers' own
// tables give it. Extensions a server may serve as another type or as none
// (which browsers then sniff, even as a page) are left out: jfif, pot, brf,
// srt. Two names browsers declare for archives stand with the extension of
// the registered type: x-zip-compressed (application/zip), x-rar-compressed
// (application/vnd.rar).
struct Entry
{
    const char *type;
    const char *extensions; // separated by blanks
};

constexpr Entry kTypes[] = {
    { "image/gif", "gif" },
    { "image/jpeg", "jpeg jpg jpe" },
    { "image/png", "png" },
    { "image/webp", "webp" },
    { "image/bmp", "bmp" },
    { "image/svg+xml", "svg svgz" },
    { "application/pdf", "pdf" },
    { "application/msword", "doc" },
    { "application/vnd.openxmlformats-officedocument.wordprocessingml.document", "docx" },
    { "application/vnd.ms-excel", "xls xlm xla xlc xlt xlw" },
    { "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet", "xlsx" },
    { "application/vnd.ms-powerpoint", "ppt pps" },
    { "application/vnd.openxmlformats-officedocument.presentationml.presentation", "pptx" },
    { "application/vnd.oasis.opendocument.text", "odt" },
    { "application/vnd.oasis.opendocument.spreadsheet", "ods" },
    { "text/plain", "txt text" },
    { "text/csv", "csv" },
    { "application/rtf", "rtf" },
    { "application/zip", "zip" },
    { "application/x-zip-compressed", "zip" },
    { "application/x-rar-compressed", "rar" },
    { "application/x-7z-compressed", "7z" },
    { "application/gzip", "gz" },
};

// Extensions a web server would run or obey, or a browser would run as
// part of the site, in any part of the name.
const QString kRefused = QStringLiteral("php[3-8]?|phtml|phar|pht|phps|cgi|pl|py|asp|aspx|jsp|shtml?|htaccess|"
                                        "htpasswd|ini|html?|xhtml|xht|svgz?|xml|xsl|m?js");

bool is_refused_extension(const QString &extension)
{
    static const QRegularExpression refused(
        QStringLiteral("\\A(?:") + kRefused + QStringLiteral(")\\z"), QRegularExpression::CaseInsensitiveOption);
    return refused.match(extension).hasMatch();
}

} // namespace

QStringList UploadTypes::extensions(const QString &type)
{
    // Media types are compared without regard to case.
    const QString wanted = type.trimmed().toLower();
    for (const Entry &entry : kTypes) {
        if (wanted != QLatin1String(entry.type))
            continue;
        QStringList kept;
        for (const QString &extension : QString::fromLatin1(entry.extensions).split(QLatin1Char(' '))) {
            if (!is_refused_extension(extension))
                kept << extension;
        }
        return kept;
    }
    return {};
}

QStringList UploadTypes::all_extensions()
{
    QStringList all;
    for (const Entry &entry : kTypes) {
        for (const QString &extension : extensions(QLatin1String(entry.type))) {
            if (!all.contains(extension))
                all << extension;
        }
    }
    return all;
}

QString UploadTypes::refused_extensions()
{
    return kRefused;
}

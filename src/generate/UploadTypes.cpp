#include "UploadTypes.h"

#include <QHash>
#include <QRegularExpression>

#include <utility>

namespace {

// Types browsers declare for files whose registered type the table lists
// under another name (from the platform's own tables: Windows, macOS, older
// Linux desktops, or the browser's), with that registered type. A type the
// table does not list stands for its registered type; one it does list
// (image/heif, application/vnd.ms-excel) is only taken as a declaration.
constexpr std::pair<const char *, const char *> kAliases[] = {
    { "application/x-zip-compressed", "application/zip" },
    { "application/x-zip", "application/zip" },
    { "application/x-rar-compressed", "application/vnd.rar" },
    { "application/x-rar", "application/vnd.rar" },
    { "application/x-gzip", "application/gzip" },
    { "application/vnd.ms-excel", "text/csv" },
    { "text/rtf", "application/rtf" },
    { "image/pjpeg", "image/jpeg" },
    { "image/x-png", "image/png" },
    { "image/x-ms-bmp", "image/bmp" },
    { "image/heif", "image/heic" },
    { "audio/wav", "audio/x-wav" },
    { "audio/wave", "audio/x-wav" },
    { "audio/vnd.wave", "audio/x-wav" },
    { "audio/x-m4a", "audio/mp4" },
    { "audio/mp3", "audio/mpeg" },
    { "audio/x-flac", "audio/flac" },
};

// Extensions the table gives a type that a server may serve as another type
// or as none (which browsers then sniff, even as a page): older tables and
// the web servers' own give them another type or none.
const QStringList kUnsure
    = { QStringLiteral("jfif"), QStringLiteral("pot"), QStringLiteral("brf"), QStringLiteral("srt") };

// Extensions refused wherever they stand in a name. A server gives a file
// the type of its last extension only (Apache takes the rightmost of
// several), but hands it to the handler of any of them: scripts,
// server-side includes, Apache's type maps (var) and as-is files. The
// servers' own control files, and the pages and scripts a browser runs,
// stay refused anywhere, as they always were.
const QString kHandled = QStringLiteral("php[3-8]?|phtml|phar|pht|phps|cgi|fcgi|pl|py|asp|aspx|jsp|shtml?|var|asis|"
                                        "htaccess|htpasswd|ini|html?|xhtml|xht|svgz?|xml|xsl|m?js");

// A type a browser shows as a page of the site, running what it holds:
// HTML, every XML type (XHTML, SVG, XSLT, feeds, ...), and JavaScript.
const QString kPageType = QStringLiteral("text/html|[^/]+/(?:xml|xsl|xml-.*|.*\\+xml)|"
                                         "(?:application|text)/(?:x-)?(?:java|ecma|j|live)script(?:1\\.[0-5])?");

bool is_page_type(const QString &essence)
{
    static const QRegularExpression page(QStringLiteral("\\A(?:") + kPageType + QStringLiteral(")\\z"));
    return page.match(essence).hasMatch();
}

// A type as the table lists it: without parameters, lower case.
QString essence(const QString &type)
{
    return type.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
}

} // namespace

struct UploadTypes::Table
{
    QHash<QString, QStringList> extensions; // by type, both lower case
    QHash<QString, QString> stands_for; // an alias the table lacks: its registered type
    QStringList refused; // of page types, never a stored file's last extension
    QRegularExpression handled;
};

const UploadTypes::Table &UploadTypes::table()
{
    static const Table parsed = [] {
        Table table;
        // One type a line, then its extensions; "#" starts a comment.
        static const QRegularExpression blanks(QStringLiteral("\\s+"));
        for (const QString &line : QString::fromLatin1(kMediaTypeTable).split(QLatin1Char('\n'))) {
            QStringList words = line.section(QLatin1Char('#'), 0, 0).toLower().split(blanks, Qt::SkipEmptyParts);
            if (words.isEmpty())
                continue;
            const QString type = words.takeFirst();
            table.extensions[type] += words;
            if (is_page_type(type))
                table.refused += words;
        }
        for (const auto &[alias, registered] : kAliases) {
            if (!table.extensions.contains(QLatin1String(alias))) {
                table.extensions[QLatin1String(alias)] = table.extensions.value(QLatin1String(registered));
                table.stands_for[QLatin1String(alias)] = QLatin1String(registered);
            }
        }
        table.refused.removeDuplicates();
        table.handled = QRegularExpression(
            QStringLiteral("\\A(?:") + kHandled + QStringLiteral(")\\z"), QRegularExpression::CaseInsensitiveOption);
        return table;
    }();
    return parsed;
}

QStringList UploadTypes::extensions(const QString &type)
{
    const Table &known = table();
    const QString wanted = essence(type);
    if (is_page_type(wanted))
        return {};
    QStringList kept;
    for (const QString &extension : known.extensions.value(wanted)) {
        if (!kUnsure.contains(extension) && !known.refused.contains(extension)
            && !known.handled.match(extension).hasMatch() && !kept.contains(extension))
            kept << extension;
    }
    return kept;
}

QString UploadTypes::refusal(const QString &type)
{
    if (is_page_type(essence(type)))
        return QStringLiteral("a browser runs such files as pages of the site");
    if (!extensions(type).isEmpty())
        return {};
    if (table().extensions.value(essence(type)).isEmpty())
        return QStringLiteral("no file name extension is known for it");
    return QStringLiteral("a web server runs its files or serves them as pages");
}

QStringList UploadTypes::all_extensions()
{
    QStringList all;
    for (const QString &type :
        QString::fromLatin1(kShippedTypes).split(QRegularExpression(QStringLiteral("[,\\r\\n]")), Qt::SkipEmptyParts)) {
        for (const QString &extension : extensions(type)) {
            if (!all.contains(extension))
                all << extension;
        }
    }
    return all;
}

QStringList UploadTypes::declared_types(const QString &type)
{
    const QString plain = essence(type);
    if (is_page_type(plain))
        return {};
    const QString registered = table().stands_for.value(plain, plain);
    QStringList declared = { plain };
    if (registered != plain)
        declared << registered;
    for (const auto &[alias, target] : kAliases) {
        if (registered == QLatin1String(target) && !declared.contains(QLatin1String(alias)))
            declared << QLatin1String(alias);
    }
    return declared;
}

QString UploadTypes::page_types()
{
    return kPageType;
}

QString UploadTypes::refused_extensions()
{
    return kHandled;
}

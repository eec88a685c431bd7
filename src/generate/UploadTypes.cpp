#include "UploadTypes.h"

#include <QHash>
#include <QRegularExpression>

#include <utility>

namespace {

// Two names browsers declare for archives, with the registered type whose
// extensions they take.
constexpr std::pair<const char *, const char *> kAliases[] = {
    { "application/x-zip-compressed", "application/zip" },
    { "application/x-rar-compressed", "application/vnd.rar" },
};

// Extensions the table gives a type that a server may serve as another type
// or as none (which browsers then sniff, even as a page): older tables and
// the web servers' own give them another type or none.
const QStringList kUnsure
    = { QStringLiteral("jfif"), QStringLiteral("pot"), QStringLiteral("brf"), QStringLiteral("srt") };

// Extensions a web server runs or obeys wherever they stand in a name (Apache
// hands a file to the handler of each of its extensions, not only the last):
// scripts, server-side includes, Apache's type maps (var), as-is files and
// image maps, and the servers' own control files.
const QString kHandled = QStringLiteral("php[3-8]?|phtml|phar|pht|phps|cgi|fcgi|pl|py|asp|aspx|jsp|shtml?|var|asis|"
                                        "map|htaccess|htpasswd|ini");

// A type a browser shows as a page of the site, running what it holds:
// HTML, every XML type (XHTML, SVG, XSLT, feeds, ...), and JavaScript.
bool is_page_type(const QString &essence)
{
    static const QRegularExpression page(QStringLiteral(
        "\\A(?:text/html|[^/]+/(?:xml|xsl|xml-.*|.*\\+xml)|(?:application|text)/(?:x-)?(?:java|ecma|j|live)script"
        "(?:1\\.[0-5])?)\\z"));
    return page.match(essence).hasMatch();
}

// A type as the table lists it: without parameters, lower case, and a
// browser's alias as the type it stands for.
QString essence(const QString &type)
{
    const QString plain = type.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
    for (const auto &[alias, registered] : kAliases) {
        if (plain == QLatin1String(alias))
            return QLatin1String(registered);
    }
    return plain;
}

} // namespace

struct UploadTypes::Table
{
    QHash<QString, QStringList> extensions; // by type, both lower case
    QStringList refused; // of page types, refused anywhere in a name
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
        table.refused.removeDuplicates();
        table.refused.sort();
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

QString UploadTypes::refused_extensions()
{
    QStringList page;
    for (const QString &extension : table().refused)
        page << QRegularExpression::escape(extension);
    return kHandled + QLatin1Char('|') + page.join(QLatin1Char('|'));
}

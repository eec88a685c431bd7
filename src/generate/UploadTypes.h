#pragma once

#include <QString>
#include <QStringList>

// The file types an upload may be stored as. A stored file keeps the
// extension of its name, and the web server serves it as the type that
// extension stands for; so only extensions of the types the owner permits
// are kept, and never one the server would run or a browser would obey as
// part of the site.
class UploadTypes final
{
public:
    // The extensions, lower case, a stored file of `type` may end in; empty
    // for a type whose files the script refuses (one a browser runs, one
    // without a known extension, or one whose every extension is refused).
    static QStringList extensions(const QString &type);
    // Why the script refuses every file of `type`, for the user; empty when
    // it takes some.
    static QString refusal(const QString &type);
    static bool is_refused(const QString &type) { return extensions(type).isEmpty(); }
    // The extensions of every type the program offers as it is shipped, for
    // an upload without permitted types.
    static QStringList all_extensions();
    // The types, lower case, a browser may declare for a file of `type`: the
    // type itself, and the names some platforms give it; none for a type a
    // browser runs as a page.
    static QStringList declared_types(const QString &type);
    // The types a browser runs as pages, as the alternation of a regular
    // expression matching a whole type in lower case without parameters.
    static QString page_types();
    // The extensions refused wherever they stand in a name, as the
    // alternation of a regular expression matched without regard to case.
    static QString refused_extensions();

private:
    // Compiled in from data files (see src/generate/CMakeLists.txt).
    static const char kMediaTypeTable[];
    static const char kShippedTypes[];
    struct Table;
    static const Table &table();
};

#pragma once

#include "model/Collection.h"

#include <QString>

// Writes what a generation produces into the destination folder: the copies
// of the result pages, blockedIPs.txt, lib.php and setup.php, the copies of
// the header and footer files, and the script itself, last. Each file is
// replaced only by a complete new one, so a failure never leaves a
// half-written file in place of an old one.
class GenerateAction final
{
public:
    // Reads the preferences and the shared generators. Raises FileError for
    // the first file that cannot be read or written, whose reason reads
    // "cannot be read (...)" or "cannot be written (...)"; the files written
    // before it stay, and the script is then not written.
    void write_files() const;

    // The name of a file without its folders, whichever separator a path
    // typed here or on another system uses.
    static QString base_name(const QString &path);
    // A file of the destination folder (which may lack its final "/").
    static QString destination(const QString &name);

    // "<?php", the generated body and "?>", each written as one line.
    static QString php_file(const QString &body);
    // One address per line, in list order.
    static QString blocked_ips_file(const StringCollection &ips);
    // The database settings of lib.php, from the MySQL page's connection,
    // its database and the table to create.
    static void fill_lib();

    // Replaces `path` by `text` (UTF-8) through a temporary file.
    static void write_text(const QString &path, const QString &text);
};

#pragma once

#include <QString>

#include <memory>

class CForm;

// The CSV action: appends every submission as one record to a data file.
class CSV final
{
public:
    QString separator = QStringLiteral(",");
    QString filename;
    bool unused_flag = true;
    QString EndLine = QStringLiteral("\\n"); // PHP escape text, not a line break
    bool show_errors = true;
    std::shared_ptr<CForm> form;

    // Whether `filename` names a folder, which the script makes when missing
    // (with the upload folders' maker).
    bool has_folder() const;
    // Makes the data file's folder, opens and locks the file, before anything
    // of the submission is kept; the lock holds until `get_close_code`.
    QString get_open_code() const;
    // Writes the record, whole or not at all.
    QString get_csv_code() const;
    QString get_close_code() const;
};

#pragma once

#include <QString>

#include <memory>
#include <optional>

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

    // The separator a text of the CSV page's Separator box names: one of
    // the list's names (letter case and blanks around it aside) or one
    // character as typed; none for any other text.
    static std::optional<QString> separator_of(const QString &text);
    // The separator that earlier versions, which took no typed character,
    // wrote for the same text: a name of the list as it stands, in any
    // letter case; a comma for every other text.
    static QString earlier_separator_of(const QString &text);

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

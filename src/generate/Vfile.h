#pragma once

#include <QString>

class Field;

// Checks an upload, and moves it into the upload folder once the whole
// submission has passed its checks.
class Vfile final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
    // Makes sure the upload folder is there and can be written, before
    // anything of the submission is kept.
    QString get_prepare_code() const;
    // Stores the checked file and sets its address; written after every
    // field's checks and the preparation, by the same object.
    QString get_store_code() const;

private:
    // The line that names the file in its folder, normalising the field's
    // folder once for both pieces.
    QString upload_file_line() const;
    mutable QString m_upload_file_line;
};

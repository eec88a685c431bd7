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
    // Stores the checked file and sets its address; written after every
    // field's checks, after `store_start`.
    QString get_store_code() const;
    // What the storing of the uploads begins with.
    static QString store_start();
};

#pragma once

#include <QString>

class Field;

// Checks an upload and moves it into the upload folder.
class Vfile final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
};

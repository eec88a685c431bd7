#pragma once

#include <QString>

class Field;

// Number-of-characters test of a field.
class vlength final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
};

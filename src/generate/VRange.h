#pragma once

#include <QString>

class Field;

// Numeric range test of a field.
class VRange final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
};

#pragma once

#include <QString>

class Field;

// Test that a field holds one of a list of values.
class VList final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
};

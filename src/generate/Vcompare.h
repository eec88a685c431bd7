#pragma once

#include <QString>

class Field;

// Test that a field equals another field.
class Vcompare final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
};

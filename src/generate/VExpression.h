#pragma once

#include <QString>

class Field;

// Format test of a field: e-mail, URL, IP, zip, zip+4 or card number.
class VExpression final
{
public:
    Field *field = nullptr;

    QString get_php_code() const;
};

#pragma once

#include <QString>

#include <memory>

class CForm;
class Field;

// Writes the piece of the script that copies the posted values into PHP
// variables named after the fields.
class Crecieving_vars final
{
public:
    std::shared_ptr<CForm> form;

    QString get_recieving_code() const;
    // The expression reading a field's posted value as PHP stores it.
    QString posted_item(const Field &field) const;
};

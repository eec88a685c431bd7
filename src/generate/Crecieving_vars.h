#pragma once

#include <QByteArray>
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
    // Written before the receiving code: takes NUL bytes out of every posted
    // value and uploaded file name, and brings them (and the names they are
    // posted under) into UTF-8 when the form is submitted in another
    // character set, so that every check and action sees UTF-8 text.
    QString get_cleaning_code() const;
    // The name PHP's iconv (glibc's) knows an encoding of the Encoding
    // Standard by; empty for UTF-8 and for encodings no conversion is needed
    // or possible for.
    static QByteArray iconv_name(const QByteArray &encoding);
    // The expression reading a field's posted value as PHP stores it.
    QString posted_item(const Field &field) const;
};

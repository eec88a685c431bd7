#pragma once

#include <QString>

// Writes the body of lib.php: the database settings as PHP variables.
class lib final
{
public:
    QString host;
    QString username;
    QString password;
    QString db;
    QString table;

    QString get_lib_code() const;
};

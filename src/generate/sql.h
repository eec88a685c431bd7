#pragma once

#include <QString>

#include <memory>

class CForm;

// Writes the body of setup.php, which creates the table of the MySQL action.
class sql final
{
public:
    std::shared_ptr<CForm> form;
    QString primary_key;
    QString mysql_table;

    // The CREATE TABLE statement has one column per field that goes into the
    // table. A length is written only as "(digits)" or "(digits,digits)";
    // a default goes to the server as a string literal escaped there, on
    // setup.php's own connection, so it may hold anything.
    QString get_sql_code() const;

    // The value of a default clause as the new-table page writes it,
    // DEFAULT 'value'; another text is the value itself.
    static QString default_value(const QString &clause);
    // The length inside a length clause such as (50).
    static QString length_value(const QString &clause);
    // A length as a column definition takes it: digits, or, when `decimals`,
    // also digits,digits.
    static bool valid_length(const QString &length, bool decimals);
};

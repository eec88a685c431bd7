#pragma once

#include <QString>

#include <memory>

class CForm;
class Field;
class MySQLTable;
class MySQLTables;
class connections;

// The MySQL action: lists a database's tables for the MySQL page and writes
// the PHP that inserts each submission as a row of the chosen table.
class db final
{
public:
    std::shared_ptr<MySQLTables> tables;
    std::shared_ptr<MySQLTable> table;
    bool show_errors = true;
    std::shared_ptr<CForm> form;
    std::shared_ptr<::connections> connection;
    QString dbname;

    // Lists the tables of `dbname` on globals::mysql_conn into a new `tables`;
    // false when the database cannot be used.
    bool read_tables();
    // The INSERT statement up to its value list, which the script ends with
    // a "?" for each value and, for each empty one, DEFAULT or the column's
    // empty value where the table has no default; escaped for a PHP
    // double-quoted string.
    QString create_insert_query() const;
    // Connects and selects the database, before anything of the submission
    // is kept, and opens the transaction that `get_commit_code` ends.
    QString get_prepare_code() const;
    // Inserts the row.
    QString get_php_code() const;
    QString get_commit_code() const;
    // Converts and checks the date fields' values, among the field checks:
    // a value that is no date fails as the field's rule does.
    QString get_date_conversion_code() const;
    // Whether the field's column takes dates: its type where the page read
    // the chosen table's columns, else the field's "is date" box.
    bool is_date_column(const Field &field) const;
    // Creates the database `dbname` when it does not exist.
    bool createdb();

private:
    // Whether the field's value is converted from the page's date format.
    bool is_converted(const Field &field) const;
    // The variable that holds a converted date field's value; the field's
    // own keeps what the visitor typed, for the mails and the data file.
    static QString date_value(const Field &field);
    // The PHP expressions of the inserted values, in column order.
    QStringList insert_values() const;
    // The mapped columns, in the same order.
    QStringList insert_columns() const;
    std::shared_ptr<CForm> insert_form() const;
};

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
    // The INSERT statement, with one "?" per value, escaped for a PHP
    // double-quoted string.
    QString create_insert_query() const;
    QString get_php_code() const;
    QString get_date_conversion_code() const;
    // Whether the field's column takes dates: its type where the page read
    // the chosen table's columns, else the field's "is date" box.
    bool is_date_column(const Field &field) const;
    // Creates the database `dbname` when it does not exist.
    bool createdb();

private:
    // The PHP expressions of the inserted values, in column order.
    QStringList insert_values() const;
    std::shared_ptr<CForm> insert_form() const;
};

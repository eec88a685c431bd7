#pragma once

#include "model/Collection.h"

#include <QString>

#include <memory>

// A table of the chosen database: its columns in table order and each
// column's type keyword, read from the server on the shared connection.
class MySQLTable final
{
public:
    const QString &table_name() const { return m_table_name; }
    void set_table_name(const QString &name) { m_table_name = name; }

    // Column names in table order; created on first use.
    const std::shared_ptr<StringCollection> &field_names();
    void set_field_names(std::shared_ptr<StringCollection> names) { m_field_names = std::move(names); }
    // Type keywords keyed by column name; created on first use.
    const std::shared_ptr<StringCollection> &field_types();
    void set_field_types(std::shared_ptr<StringCollection> types) { m_field_types = std::move(types); }

    // Reads the columns of the table on globals::mysql_conn. A table that
    // cannot be read gets no columns; reading again replaces the columns.
    void read_flds();

    // The type keyword of a column type text such as "varchar(40)", or "" when
    // none occurs in it.
    static QString field_data_type(const QString &type);

private:
    QString m_table_name;
    std::shared_ptr<StringCollection> m_field_names;
    std::shared_ptr<StringCollection> m_field_types;
};

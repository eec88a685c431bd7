#include "MySQLTables.h"

std::shared_ptr<MySQLTable> MySQLTables::Add(MySQLTable &table, const QString &key)
{
    auto stored = std::make_shared<MySQLTable>();
    stored->set_table_name(table.table_name());
    stored->set_field_names(table.field_names());
    m_items.Add(stored, key);
    return stored;
}

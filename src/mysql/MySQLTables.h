#pragma once

#include "MySQLTable.h"

#include "model/Collection.h"

#include <QString>

#include <memory>

// The tables of a database, keyed by name without regard to case.
class MySQLTables final
{
public:
    // Stores a new table with the given one's name, sharing its column names
    // (its types start empty), under the key (none when empty), and returns
    // it. A key already present raises CollectionError.
    std::shared_ptr<MySQLTable> Add(MySQLTable &table, const QString &key);

    const std::shared_ptr<MySQLTable> &Item(qsizetype position) const { return m_items.Item(position); }
    const std::shared_ptr<MySQLTable> &Item(const QString &key) const { return m_items.Item(key); }
    const std::shared_ptr<MySQLTable> &Item(const char *key) const { return m_items.Item(key); }
    bool Contains(const QString &key) const { return m_items.Contains(key); }
    qsizetype Count() const { return m_items.Count(); }
    void Remove(qsizetype position) { m_items.Remove(position); }
    void Remove(const QString &key) { m_items.Remove(key); }

    // NewEnum: the tables in order.
    using Items = Collection<std::shared_ptr<MySQLTable>>;
    Items::const_iterator begin() const { return m_items.begin(); }
    Items::const_iterator end() const { return m_items.end(); }

private:
    Items m_items;
};

#pragma once

#include "MYSQL_UPDATE_FIELD.h"

#include "model/Collection.h"

#include <QString>
#include <QVariant>

#include <memory>

// The pending values of one row, keyed by column name (without regard to
// case), in the order they were last set.
class MYSQL_UPDATE_FIELDS final
{
public:
    // Stores a new, not yet written value; one already set for the column is
    // replaced (and moves to the end).
    std::shared_ptr<MYSQL_UPDATE_FIELD> Add(const QString &name, const QVariant &value);

    // The entry at a 1-based position or under a column name; none when missing.
    std::shared_ptr<MYSQL_UPDATE_FIELD> Item(qsizetype position) const;
    std::shared_ptr<MYSQL_UPDATE_FIELD> Item(const QString &name) const;
    qsizetype Count() const { return m_items.Count(); }

    using Items = Collection<std::shared_ptr<MYSQL_UPDATE_FIELD>>;
    Items::const_iterator begin() const { return m_items.begin(); }
    Items::const_iterator end() const { return m_items.end(); }

private:
    Items m_items;
};

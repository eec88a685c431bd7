#pragma once

#include "MYSQL_UPDATE_FIELDS.h"

#include "model/Collection.h"

#include <memory>

// Rows with pending values: keyed "R" followed by the row number, or without
// a key for rows being added.
class MYSQL_UPDATE final
{
public:
    // The row's entry, made empty when it is new; row 0 always makes a new
    // entry without a key.
    std::shared_ptr<MYSQL_UPDATE_FIELDS> Add(qint32 row);

    // By row number when `by_row`, otherwise by 1-based position; Item gives
    // none for a missing entry and Remove ignores it.
    std::shared_ptr<MYSQL_UPDATE_FIELDS> Item(qint32 index, bool by_row) const;
    void Remove(qint32 index, bool by_row);
    qsizetype Count() const { return m_items.Count(); }

private:
    static QString key(qint32 row) { return QStringLiteral("R") + QString::number(row); }

    Collection<std::shared_ptr<MYSQL_UPDATE_FIELDS>> m_items;
};

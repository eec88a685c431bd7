#include "MYSQL_UPDATE.h"

std::shared_ptr<MYSQL_UPDATE_FIELDS> MYSQL_UPDATE::Add(qint32 row)
{
    if (row != 0 && m_items.Contains(key(row)))
        return m_items.Item(key(row));
    auto entry = std::make_shared<MYSQL_UPDATE_FIELDS>();
    m_items.Add(entry, row == 0 ? QString() : key(row));
    return entry;
}

std::shared_ptr<MYSQL_UPDATE_FIELDS> MYSQL_UPDATE::Item(qint32 index, bool by_row) const
{
    if (by_row)
        return m_items.Contains(key(index)) ? m_items.Item(key(index)) : nullptr;
    if (index < 1 || index > m_items.Count())
        return nullptr;
    return m_items.Item(index);
}

void MYSQL_UPDATE::Remove(qint32 index, bool by_row)
{
    if (by_row) {
        if (m_items.Contains(key(index)))
            m_items.Remove(key(index));
    } else if (index >= 1 && index <= m_items.Count()) {
        m_items.Remove(index);
    }
}

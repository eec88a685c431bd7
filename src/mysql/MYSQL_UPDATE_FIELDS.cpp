#include "MYSQL_UPDATE_FIELDS.h"

std::shared_ptr<MYSQL_UPDATE_FIELD> MYSQL_UPDATE_FIELDS::Add(const QString &name, const QVariant &value)
{
    auto entry = std::make_shared<MYSQL_UPDATE_FIELD>();
    entry->name = name;
    entry->Value = value;
    if (!name.isEmpty() && m_items.Contains(name))
        m_items.Remove(name);
    m_items.Add(entry, name);
    return entry;
}

std::shared_ptr<MYSQL_UPDATE_FIELD> MYSQL_UPDATE_FIELDS::Item(qsizetype position) const
{
    if (position < 1 || position > m_items.Count())
        return nullptr;
    return m_items.Item(position);
}

std::shared_ptr<MYSQL_UPDATE_FIELD> MYSQL_UPDATE_FIELDS::Item(const QString &name) const
{
    if (name.isEmpty() || !m_items.Contains(name))
        return nullptr;
    return m_items.Item(name);
}

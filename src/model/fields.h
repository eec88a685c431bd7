#pragma once

#include "Collection.h"
#include "Field.h"

#include <memory>

// The fields of one form, in page order, keyed by name without regard to case.
class fields final
{
public:
    // Stores a copy of the field under the key (without a key when empty) and
    // returns it. A key already present, or any other failure, adds nothing and
    // returns no field: of several fields of one name the first stays.
    std::shared_ptr<Field> Add(Field &source, const QString &key);

    const std::shared_ptr<Field> &Item(qsizetype position) const { return m_items.Item(position); }
    const std::shared_ptr<Field> &Item(const QString &key) const { return m_items.Item(key); }
    qsizetype Count() const { return m_items.Count(); }
    void Remove(qsizetype position) { m_items.Remove(position); }
    void Remove(const QString &key) { m_items.Remove(key); }
    bool Contains(const QString &key) const { return m_items.Contains(key); }

    Collection<std::shared_ptr<Field>>::const_iterator begin() const { return m_items.begin(); }
    Collection<std::shared_ptr<Field>>::const_iterator end() const { return m_items.end(); }

private:
    Collection<std::shared_ptr<Field>> m_items;
};

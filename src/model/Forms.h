#pragma once

#include "CForm.h"
#include "Collection.h"

#include <memory>

// The forms of the loaded page, keyed "Form1", "Form2", ... in page order.
class Forms final
{
public:
    // Adds a new form with the given one's name, action, method and encoding
    // that shares its fields. A key already present raises the collection's error.
    std::shared_ptr<CForm> Addform(CForm &form, const QString &key);

    const std::shared_ptr<CForm> &Item(qsizetype position) const { return m_items.Item(position); }
    const std::shared_ptr<CForm> &Item(const QString &key) const { return m_items.Item(key); }
    qsizetype Count() const { return m_items.Count(); }
    bool Contains(const QString &key) const { return m_items.Contains(key); }
    void Remove(qsizetype position) { m_items.Remove(position); }
    void Remove(const QString &key) { m_items.Remove(key); }

    Collection<std::shared_ptr<CForm>>::const_iterator begin() const { return m_items.begin(); }
    Collection<std::shared_ptr<CForm>>::const_iterator end() const { return m_items.end(); }

private:
    Collection<std::shared_ptr<CForm>> m_items;
};

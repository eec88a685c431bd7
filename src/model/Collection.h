#pragma once

#include <QHash>
#include <QString>

#include <stdexcept>
#include <utility>
#include <vector>

// The error a collection raises: a number and a description, as callers that
// report it to the user expect.
class CollectionError final : public std::runtime_error
{
public:
    enum Code { InvalidArgument = 5, OutOfRange = 9, DuplicateKey = 457 };

    explicit CollectionError(Code code);

    Code number() const { return m_code; }

private:
    Code m_code;
};

// Ordered container with optional String keys compared without regard to
// case, and positions counted from 1. Every keyed list of the model uses it.
template<typename T> class Collection
{
public:
    struct Entry
    {
        QString key; // as given; empty when the item has no key
        T value;
    };
    using const_iterator = typename std::vector<Entry>::const_iterator;

    // Adds an item at the end; a non-empty key already present is refused.
    void Add(T value, const QString &key = QString())
    {
        if (!key.isEmpty()) {
            const QString folded = fold(key);
            if (m_index.contains(folded))
                throw CollectionError(CollectionError::DuplicateKey);
            m_index.insert(folded, value);
        }
        m_items.push_back(Entry { key, std::move(value) });
    }

    const T &Item(qsizetype position) const { return m_items.at(checked(position) - 1).value; }
    const T &Item(const QString &key) const
    {
        const auto it = m_index.constFind(fold(key));
        if (it == m_index.constEnd())
            throw CollectionError(CollectionError::InvalidArgument);
        return it.value();
    }

    bool Contains(const QString &key) const { return m_index.contains(fold(key)); }

    qsizetype Count() const { return static_cast<qsizetype>(m_items.size()); }

    void Remove(qsizetype position)
    {
        const auto at = m_items.begin() + (checked(position) - 1);
        if (!at->key.isEmpty())
            m_index.remove(fold(at->key));
        m_items.erase(at);
    }
    void Remove(const QString &key)
    {
        const QString folded = fold(key);
        if (!m_index.contains(folded))
            throw CollectionError(CollectionError::InvalidArgument);
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if (!it->key.isEmpty() && fold(it->key) == folded) {
                m_items.erase(it);
                break;
            }
        }
        m_index.remove(folded);
    }

    void Clear()
    {
        m_items.clear();
        m_index.clear();
    }

    // Walks the items in order; each entry gives its key and its value.
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

private:
    static QString fold(const QString &key) { return key.toCaseFolded(); }

    qsizetype checked(qsizetype position) const
    {
        if (position < 1 || position > Count())
            throw CollectionError(CollectionError::OutOfRange);
        return position;
    }

    std::vector<Entry> m_items;
    QHash<QString, T> m_index;
};

// The model's plain lists of texts (MIME types, message lines, addresses).
using StringCollection = Collection<QString>;

#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The named values a window keeps for each of its buttons. Keys are matched
// without regard to case (held in lower case); a value written equal to its
// default is not kept, so reading it back gives the default again.
class PropertyBag final
{
public:
    PropertyBag() = default;
    explicit PropertyBag(const QVariantMap &values);

    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = QVariant()) const;
    void WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue = QVariant());

    bool contains(const QString &name) const;
    QStringList keys() const { return m_values.keys(); }
    bool isEmpty() const { return m_values.isEmpty(); }

    // The stored values under their lower-case keys.
    QVariantMap toVariantMap() const { return m_values; }

private:
    static QString fold(const QString &name) { return name.toLower(); }

    QVariantMap m_values;
};

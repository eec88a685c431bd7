#include "PropertyBag.h"

PropertyBag::PropertyBag(const QVariantMap &values)
{
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        m_values.insert(fold(it.key()), it.value());
}

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    return m_values.value(fold(name), defaultValue);
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value, const QVariant &defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue)
        m_values.remove(fold(name));
    else
        m_values.insert(fold(name), value);
}

bool PropertyBag::contains(const QString &name) const
{
    return m_values.contains(fold(name));
}

#include "MySQL_Value.h"

#include "mysql_variant.h"

QVariant MySQL_Value::toVariant() const
{
    switch (m_kind) {
    case Kind::Null:
        return mysql_variant::Null();
    case Kind::Text:
        return m_text;
    default:
        return mysql_variant::Empty();
    }
}

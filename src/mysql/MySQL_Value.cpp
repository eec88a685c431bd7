#include "MySQL_Value.h"

#include "mysql_value.h"

MySQL_Value MySQL_Value::Null()
{
    MySQL_Value value;
    value.m_kind = Kind::Null;
    return value;
}

QVariant MySQL_Value::toVariant() const
{
    switch (m_kind) {
    case Kind::Null:
        return mysql_value::Null();
    case Kind::Text:
        return m_text;
    default:
        return mysql_value::Empty();
    }
}

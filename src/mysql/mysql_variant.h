#pragma once

#include <QVariant>

class MySQL_Value;

// Values given to result sets (new column values, searched values, column
// indexes) are variants; Null stands for SQL NULL and Empty for no value.
namespace mysql_variant {

// Empty is an invalid QVariant; Null holds std::nullptr_t.
inline QVariant Empty()
{
    return QVariant();
}
inline QVariant Null()
{
    return QVariant::fromValue(nullptr);
}
inline bool is_empty(const QVariant &value)
{
    return !value.isValid();
}
inline bool is_null(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<std::nullptr_t>();
}
bool is_text(const QVariant &value);
bool is_number(const QVariant &value);

// Equality of a read value and a searched one as the searches use it: a
// text equals only an equal text (case-sensitive), never a number; Null
// equals nothing; Empty equals Empty, "" and 0.
bool same(const MySQL_Value &read, const QVariant &searched);

// A column index given as a variant: a number, or a text that reads as a
// whole number, is a 0-based column number (stored in `number`); any other
// text is a column name. Null is neither (returns false with an empty name).
bool as_column_number(const QVariant &index, qint32 &number, QString &name);

} // namespace mysql_variant

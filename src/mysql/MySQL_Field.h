#pragma once

#include "MySQL_Value.h"

#include "model/Collection.h"

#include <QString>
#include <QVariant>

class MYSQL_RS;
struct st_mysql_field;
struct st_mysql_res;

// The one column cursor of a result set: MYSQL_RS::fields points it at a
// column of the current row. A cursor of a result that has since been freed
// reads as a cursor without a valid column.
class MySQL_Field final
{
public:
    // "" when the cursor has no valid column.
    QString name() const;
    QString table() const;
    // The client library's column type; 254 (string) without a valid column.
    qint32 MySqlType() const;
    qint32 Length() const;
    qint32 MaxLength() const;
    qint32 Flags() const;
    qint32 Decimals() const;

    // The current row's value; Empty without a valid column.
    // (Inline: it runs for every value of a walk over the rows.)
    MySQL_Value Value() const
    {
        if (!m_row || !m_lengths || m_column < 0 || m_column >= m_count)
            return MySQL_Value();
        if (m_edits)
            return edited_value();
        return stored_value();
    }
    // Records a pending edit of the column on the current row (written by
    // MYSQL_RS::Update, or when the set moves while AutoUpdate is on).
    void set_Value(const QVariant &value);

private:
    friend class MYSQL_RS;

    // Points the cursor at a column given by number, by a text that reads as
    // a number, or by name (without regard to case).
    void bind_column(const QVariant &index, qint32 count, st_mysql_res *result, char **row, unsigned long *lengths);
    void bind_column(qint32 column, qint32 count, st_mysql_res *result, char **row, unsigned long *lengths)
    {
        m_column = column;
        m_count = count;
        const bool valid = column >= 0 && column < count;
        m_result = valid ? result : nullptr;
        m_row = valid ? row : nullptr;
        m_lengths = valid ? lengths : nullptr;
    }
    void set_parent(MYSQL_RS *parent) { m_parent = parent; }
    // Leaves the cursor without parent and without result.
    void detach();

    // The value the server sent for the column of the current row.
    MySQL_Value stored_value() const
    {
        const char *value = m_row[m_column];
        if (!value)
            return MySQL_Value::Null();
        const auto length = static_cast<qsizetype>(m_lengths[m_column]);
        return MySQL_Value(length == 0 ? QString(QLatin1String("")) : QString::fromUtf8(value, length));
    }
    // The value, or the one written through the set since it was read.
    MySQL_Value edited_value() const;

    const st_mysql_field *description() const;
    qint32 column_of(const QString &name);
    void build_name_map();

    // The set that owns this cursor; cleared when it frees its result or ends.
    MYSQL_RS *m_parent = nullptr;
    st_mysql_res *m_result = nullptr;
    char **m_row = nullptr;
    unsigned long *m_lengths = nullptr;
    qint32 m_count = 0;
    qint32 m_column = -1;
    // The set has pending or written edits, which a value may come from.
    bool m_edits = false;
    // Column name -> 1-based column number; built once per result.
    Collection<qint32> m_names;
};

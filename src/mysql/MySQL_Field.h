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
    MySQL_Value Value() const;
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
    // Column name -> 1-based column number; built once per result.
    Collection<qint32> m_names;
};

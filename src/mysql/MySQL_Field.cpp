#include "MySQL_Field.h"

#include "MariaDbClient.h"
#include "MYSQL_CONNECTION.h"
#include "MYSQL_RS.h"
#include "MYSQL_UPDATE.h"
#include "mysql_variant.h"
#include "sql_text.h"

#include "model/globals.h"

#include <QObject>

const st_mysql_field *MySQL_Field::description() const
{
    if (!m_result || m_column < 0 || m_column >= m_count)
        return nullptr;
    return mariadb().mysql_fetch_field_direct(m_result, static_cast<unsigned int>(m_column));
}

QString MySQL_Field::name() const
{
    const MYSQL_FIELD *field = description();
    return field ? MYSQL_CONNECTION::ptr_to_string(field->name) : QString();
}

QString MySQL_Field::table() const
{
    const MYSQL_FIELD *field = description();
    return field ? MYSQL_CONNECTION::ptr_to_string(field->table) : QString();
}

qint32 MySQL_Field::MySqlType() const
{
    const MYSQL_FIELD *field = description();
    return field ? static_cast<qint32>(field->type) : 254;
}

qint32 MySQL_Field::Length() const
{
    const MYSQL_FIELD *field = description();
    return field ? static_cast<qint32>(field->length) : 0;
}

qint32 MySQL_Field::MaxLength() const
{
    const MYSQL_FIELD *field = description();
    return field ? static_cast<qint32>(field->max_length) : 0;
}

qint32 MySQL_Field::Flags() const
{
    const MYSQL_FIELD *field = description();
    return field ? static_cast<qint32>(field->flags) : 0;
}

qint32 MySQL_Field::Decimals() const
{
    const MYSQL_FIELD *field = description();
    return field ? static_cast<qint32>(field->decimals) : 0;
}

MySQL_Value MySQL_Field::edited_value() const
{
    // A value written through the set shows until the set is read again,
    // as the text the server received; the edits looked at are those of the
    // row the values come from.
    if (m_parent && m_parent->m_edited) {
        if (const auto edits = m_parent->m_edited->Item(m_parent->m_loaded, true)) {
            const QString column = name();
            if (globals::trim_blanks(column).isEmpty())
                return MySQL_Value();
            const auto edit = edits->Item(column);
            if (edit && edit->Updated) {
                if (mysql_variant::is_null(edit->Value))
                    return MySQL_Value::Null();
                return MySQL_Value(sql_text::text(edit->Value, MySqlType()));
            }
        }
    }
    return stored_value();
}

void MySQL_Field::set_Value(const QVariant &value)
{
    if (value.metaType().flags().testFlag(QMetaType::PointerToQObject))
        return;
    if (!m_parent || !m_result)
        return;
    if (m_names.Count() == 0)
        build_name_map();
    const QString column = name();
    if (globals::trim_blanks(column).isEmpty() || globals::trim_blanks(table()).isEmpty())
        return;
    m_parent->record_edit(column, value);
}

void MySQL_Field::bind_column(
    const QVariant &index, qint32 count, st_mysql_res *result, char **row, unsigned long *lengths)
{
    qint32 number = -1;
    QString column_name;
    if (!mysql_variant::as_column_number(index, number, column_name)) {
        m_count = count;
        m_result = result;
        number = column_name.isEmpty() ? -1 : column_of(column_name);
    }
    bind_column(number, count, result, row, lengths);
}

void MySQL_Field::detach()
{
    m_parent = nullptr;
    bind_column(-1, 0, nullptr, nullptr, nullptr);
}

qint32 MySQL_Field::column_of(const QString &name)
{
    if (m_names.Count() == 0)
        build_name_map();
    if (m_names.Count() == 0 || !m_names.Contains(name))
        return -1;
    return m_names.Item(name) - 1;
}

void MySQL_Field::build_name_map()
{
    if (m_names.Count() != 0 || !m_result)
        return;
    for (qint32 i = 1; i <= m_count; ++i) {
        const MYSQL_FIELD *field = mariadb().mysql_fetch_field_direct(m_result, static_cast<unsigned int>(i - 1));
        const QString column = MYSQL_CONNECTION::ptr_to_string(field ? field->name : nullptr);
        // Of two columns of one name the first one is found.
        if (!column.isEmpty() && !m_names.Contains(column))
            m_names.Add(i, column);
    }
}

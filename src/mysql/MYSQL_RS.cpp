#include "MYSQL_RS.h"

#include "MariaDbClient.h"
#include "MYSQL_CONNECTION.h"
#include "MYSQL_UPDATE.h"
#include "MySQL_Field.h"
#include "mysql_variant.h"
#include "sql_text.h"

#include "model/globals.h"

#include <QStringList>

#include <algorithm>

namespace {

qint32 low_32_bits(my_ulonglong value)
{
    return static_cast<qint32>(static_cast<quint32>(value));
}

} // namespace

MYSQL_RS::MYSQL_RS()
    : m_cursor(std::make_shared<MySQL_Field>())
{
    m_cursor->set_parent(this);
}

MYSQL_RS::~MYSQL_RS()
{
    mariadb().mysql_free_result(m_result);
    m_cursor->detach();
}

// ---- loading and navigation

void MYSQL_RS::open_result(const QString &statement, st_mysql *handle, bool &failed)
{
    CloseRecordset();
    m_affected = 0;
    m_query = statement;
    // The statement goes with its length, so a zero byte in it cannot cut it
    // short.
    const QByteArray text = statement.toUtf8();
    if (mariadb().mysql_real_query(handle, text.constData(), static_cast<unsigned long>(text.size())) != 0) {
        failed = true;
        return;
    }
    m_result = mariadb().mysql_store_result(handle);
    if (!m_result) {
        if (mariadb().mysql_field_count(handle) == 0)
            m_affected = low_32_bits(mariadb().mysql_affected_rows(handle));
        else
            failed = true;
        return;
    }
    m_affected = low_32_bits(mariadb().mysql_affected_rows(handle));
    m_record_count = low_32_bits(mariadb().mysql_num_rows(m_result));
    m_field_count = static_cast<qint32>(mariadb().mysql_num_fields(m_result));
    m_offsets.resize(static_cast<size_t>(std::max(m_record_count, 0)));
    for (auto &offset : m_offsets) {
        offset = mariadb().mysql_row_tell(m_result);
        mariadb().mysql_fetch_row(m_result);
    }
    m_state = Open;
    m_position = 1;
    fetch_row(true);
}

void MYSQL_RS::fetch_row(bool resolve)
{
    if (resolve)
        resolve_pending_edit();
    load_row(m_position);
}

void MYSQL_RS::go_to(qint32 position)
{
    // A pending edit belongs to the row it was made on: it is resolved while
    // that row is still current, so a move past either end does not lose it.
    resolve_pending_edit();
    m_position = position;
    load_row(m_position);
}

void MYSQL_RS::load_row(qint32 row)
{
    if (row >= 1 && row <= m_record_count) {
        // The library's row cursor stands after the loaded row, so a walk
        // forward needs no seek.
        if (m_loaded == 0 || row != m_loaded + 1)
            mariadb().mysql_row_seek(m_result, m_offsets[static_cast<size_t>(row - 1)]);
        m_row = mariadb().mysql_fetch_row(m_result);
        m_lengths = mariadb().mysql_fetch_lengths(m_result);
        m_loaded = row;
    } else {
        m_row = nullptr;
        m_lengths = nullptr;
        m_loaded = 0;
    }
}

void MYSQL_RS::free_result()
{
    mariadb().mysql_free_result(m_result);
    m_result = nullptr;
    m_row = nullptr;
    m_lengths = nullptr;
    m_offsets.clear();
    m_loaded = 0;
    m_position = 0;
    m_record_count = 0;
    m_field_count = 0;
    m_affected = 0;
    m_query.clear();
    // A cursor handed out before must not read the freed result.
    m_cursor->detach();
    m_cursor = std::make_shared<MySQL_Field>();
    m_cursor->set_parent(this);
    m_added.reset();
    m_edited.reset();
    m_deleted.reset();
    m_table_key.reset();
    m_state = Closed;
}

const std::shared_ptr<MySQL_Field> &MYSQL_RS::fields(const QString &index)
{
    return fields(QVariant(index));
}

const std::shared_ptr<MySQL_Field> &MYSQL_RS::fields(const QVariant &index)
{
    if (BOF() || EOF_())
        m_cursor->bind_column(-1, 0, nullptr, nullptr, nullptr);
    else
        m_cursor->bind_column(index, m_field_count, m_result, m_row, m_lengths);
    return m_cursor;
}

qint32 MYSQL_RS::AbsolutePosition() const
{
    if (m_state == Closed || m_record_count == 0)
        return -1;
    if (BOF())
        return -3;
    if (EOF_())
        return -2;
    return m_position;
}

void MYSQL_RS::set_AbsolutePosition(qint32 position)
{
    if (m_state == Closed || m_record_count == 0 || position < 1 || position > m_record_count)
        return;
    go_to(position);
}

void MYSQL_RS::MoveFirst()
{
    if (m_state == Closed)
        return;
    go_to(1);
}

void MYSQL_RS::MoveLast()
{
    if (m_state == Closed)
        return;
    go_to(m_record_count);
}

void MYSQL_RS::MovePrevious()
{
    if (m_state == Closed)
        return;
    go_to(m_position > 0 ? m_position - 1 : m_position);
}

void MYSQL_RS::MoveNext()
{
    if (m_state == Closed)
        return;
    go_to(m_position <= m_record_count ? m_position + 1 : m_position);
}

void MYSQL_RS::CloseRecordset()
{
    if (m_state != Open)
        return;
    resolve_pending_edit();
    free_result();
}

QStringList MYSQL_RS::table_list()
{
    QStringList tables;
    for (qint32 i = 0; i < m_field_count; ++i) {
        const QString name = globals::trim_blanks(fields(i)->table());
        if (!name.isEmpty() && !tables.contains(name))
            tables.append(name);
    }
    return tables;
}

qint32 MYSQL_RS::TableCount()
{
    return static_cast<qint32>(table_list().size());
}

QString MYSQL_RS::table()
{
    return table_list().join(QLatin1Char(','));
}

// ---- searches and HTML

bool MYSQL_RS::has_column(const QVariant &field) const
{
    qint32 number = -1;
    QString name;
    if (mysql_variant::as_column_number(field, number, name))
        return number >= 0 && number < m_field_count;
    const QString wanted = globals::trim_blanks(name);
    if (wanted.isEmpty())
        return false;
    for (qint32 i = 0; i < m_field_count; ++i) {
        const MYSQL_FIELD *column = mariadb().mysql_fetch_field_direct(m_result, static_cast<unsigned int>(i));
        const QString column_name = MYSQL_CONNECTION::ptr_to_string(column ? column->name : nullptr);
        if (globals::trim_blanks(column_name).compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

qint32 MYSQL_RS::find(const QVariant &field, const QVariant &value, qint32 mode, qint32 first, qint32 last)
{
    if (m_record_count == 0 || m_state == Closed || !has_column(field))
        return -1;
    if (mode == ResolveAndMove)
        resolve_pending_edit();
    const qint32 remembered = m_position;
    const qint32 step = first <= last ? 1 : -1;
    qint32 found = -1;
    // A start past either end visits no row.
    if (first >= 1 && first <= m_record_count) {
        for (qint32 row = first; row != last + step; row += step) {
            m_position = row;
            fetch_row(false);
            if (mysql_variant::same(fields(field)->Value(), value)) {
                found = row;
                break;
            }
        }
    }
    if (found < 0 || mode == ReportOnly) {
        m_position = remembered;
        fetch_row(false);
    }
    return found;
}

qint32 MYSQL_RS::FindFirst(const QVariant &field, const QVariant &value, qint32 mode)
{
    return find(field, value, mode, 1, m_record_count);
}

qint32 MYSQL_RS::FindLast(const QVariant &field, const QVariant &value, qint32 mode)
{
    return find(field, value, mode, m_record_count, 1);
}

qint32 MYSQL_RS::FindNext(const QVariant &field, const QVariant &value, qint32 mode)
{
    return find(field, value, mode, m_position + 1, m_record_count);
}

qint32 MYSQL_RS::FindPrevious(const QVariant &field, const QVariant &value, qint32 mode)
{
    return find(field, value, mode, m_position - 1, 1);
}

QString MYSQL_RS::RsToHtmlTable()
{
    if (m_record_count == 0 || m_state == Closed)
        return QString();
    const qint32 remembered = m_position;
    QString rows;
    for (qint32 row = 1; row <= m_record_count; ++row) {
        m_position = row;
        fetch_row(false);
        rows += QStringLiteral("<tr>");
        for (qint32 column = 0; column < m_field_count; ++column) {
            const QString text = fields(column)->Value().toString();
            rows += QStringLiteral("<td>") + (text.isEmpty() ? QStringLiteral("&nbsp;") : text.toHtmlEscaped())
                + QStringLiteral("</td>");
        }
        rows += QStringLiteral("</tr>\r\n");
    }
    m_position = remembered;
    fetch_row(false);
    return QStringLiteral("<table border=1>") + rows + QStringLiteral("</table>\r\n");
}

// ---- editing

void MYSQL_RS::set_EditMode(qint32 mode)
{
    m_edit_mode = mode;
    if (mode == 0)
        m_edit_row = 0;
}

const std::shared_ptr<MYSQL_UPDATE> &MYSQL_RS::edited_rows()
{
    if (!m_edited) {
        m_edited = std::make_shared<MYSQL_UPDATE>();
        m_cursor->m_edits = true;
    }
    return m_edited;
}

const std::shared_ptr<MYSQL_UPDATE> &MYSQL_RS::added_rows()
{
    if (!m_added)
        m_added = std::make_shared<MYSQL_UPDATE>();
    return m_added;
}

const std::shared_ptr<MYSQL_UPDATE> &MYSQL_RS::deleted_rows()
{
    if (!m_deleted)
        m_deleted = std::make_shared<MYSQL_UPDATE>();
    return m_deleted;
}

qint32 MYSQL_RS::EditMode() const
{
    if (m_deleted && m_deleted->Item(AbsolutePosition(), true))
        return 3;
    return m_edit_mode;
}

void MYSQL_RS::record_edit(const QString &column, const QVariant &value)
{
    if (EditMode() == 0) {
        set_EditMode(1);
        set_edit_row(AbsolutePosition());
        edited_rows()->Add(m_edit_row);
    }
    std::shared_ptr<MYSQL_UPDATE_FIELDS> row;
    switch (EditMode()) {
    case 1:
        row = edited_rows()->Item(m_edit_row, true);
        break;
    case 2:
        row = added_rows()->Item(static_cast<qint32>(added_rows()->Count()), false);
        break;
    default:
        return;
    }
    if (row)
        row->Add(column, value);
}

void MYSQL_RS::resolve_pending_edit()
{
    if (m_edit_mode == 0)
        return;
    if (m_connection && m_connection->AutoUpdate())
        Update();
    else
        CancelUpdate();
    set_EditMode(0);
}

qint32 MYSQL_RS::column_type(const QString &name)
{
    // Looked up without moving the shared cursor.
    for (qint32 i = 0; i < m_field_count; ++i) {
        const MYSQL_FIELD *column = mariadb().mysql_fetch_field_direct(m_result, static_cast<unsigned int>(i));
        if (column && MYSQL_CONNECTION::ptr_to_string(column->name).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<qint32>(column->type);
    }
    return 254;
}

QString MYSQL_RS::literal(const QVariant &value, qint32 column_type) const
{
    return sql_text::literal(value, column_type, m_connection ? m_connection->m_handle : nullptr);
}

QString MYSQL_RS::key_condition()
{
    QStringList parts;
    QStringList key_columns;
    for (qint32 i = 0; i < m_field_count; ++i) {
        const auto &column = fields(i);
        if (!(column->Flags() & PRI_KEY_FLAG))
            continue;
        const QString name = column->name();
        const MySQL_Value value = column->Value();
        parts << sql_text::identifier(name) + (value.isNull() ? QStringLiteral(" IS ") : QStringLiteral("="))
                + literal(value.toVariant(), column->MySqlType());
        if (!key_columns.contains(name, Qt::CaseInsensitive))
            key_columns << name;
    }
    if (parts.isEmpty() || !m_connection)
        return QString();
    // Every column of the table's primary key must be in the set; with only
    // part of it the condition could match other rows too. The table's key
    // is asked once per result, unseen by the connection's caller.
    if (!m_table_key) {
        const auto keys = m_connection->execute_quietly(QStringLiteral("SHOW KEYS FROM ")
            + sql_text::identifier(table()) + QStringLiteral(" WHERE Key_name = 'PRIMARY'"));
        QStringList names;
        for (keys->MoveFirst(); !keys->EOF_(); keys->MoveNext())
            names << keys->fields("Column_name")->Value().toString();
        m_table_key = names;
    }
    if (m_table_key->isEmpty())
        return QString();
    for (const QString &name : std::as_const(*m_table_key)) {
        if (!key_columns.contains(name, Qt::CaseInsensitive))
            return QString();
    }
    return parts.join(QStringLiteral(" AND "));
}

qint32 MYSQL_RS::run(const QString &statement)
{
    qint32 affected = 0;
    if (m_connection)
        m_connection->Execute(statement, affected);
    return affected;
}

qint32 MYSQL_RS::AddNew()
{
    if (m_state == Closed || EditMode() != 0 || TableCount() != 1)
        return -1;
    set_EditMode(2);
    added_rows()->Add(0);
    return 0;
}

qint32 MYSQL_RS::Update()
{
    if (BOF() || EOF_() || m_state == Closed || TableCount() != 1)
        return -1;
    const QString table_name = globals::trim_blanks(fields(0)->table());
    qint32 affected = -1;
    switch (EditMode()) {
    case 1: {
        affected = 0;
        const auto row = edited_rows()->Item(m_edit_row, true);
        QStringList assignments;
        if (row) {
            for (const auto &entry : *row) {
                if (!entry.value->Updated)
                    assignments << sql_text::identifier(entry.value->name) + QLatin1Char('=')
                            + literal(entry.value->Value, column_type(entry.value->name));
            }
        }
        if (!table_name.isEmpty() && !assignments.isEmpty()) {
            // The key is that of the edited row, also when a search has
            // since loaded another one.
            const qint32 loaded = m_loaded;
            if (m_edit_row != loaded)
                load_row(m_edit_row);
            const QString condition = m_loaded == m_edit_row ? key_condition() : QString();
            if (m_loaded != loaded)
                load_row(loaded);
            if (!condition.isEmpty()) {
                affected = run(QStringLiteral("UPDATE ") + sql_text::identifier(table_name) + QStringLiteral(" SET ")
                    + assignments.join(QLatin1Char(',')) + QStringLiteral(" WHERE ") + condition);
            }
        }
        if (affected > 0 && row) {
            for (const auto &entry : *row)
                entry.value->Updated = true;
        }
        break;
    }
    case 2: {
        affected = 0;
        const auto &added = added_rows();
        const auto row = added->Item(static_cast<qint32>(added->Count()), false);
        QStringList names;
        QStringList values;
        if (row) {
            for (const auto &entry : *row) {
                names << sql_text::identifier(entry.value->name);
                values << literal(entry.value->Value, column_type(entry.value->name));
            }
        }
        if (!table_name.isEmpty() && !names.isEmpty()) {
            affected = run(QStringLiteral("INSERT INTO ") + sql_text::identifier(table_name) + QStringLiteral(" (")
                + names.join(QLatin1Char(',')) + QStringLiteral(") VALUES(") + values.join(QLatin1Char(','))
                + QLatin1Char(')'));
        }
        if (affected < 1)
            added->Remove(static_cast<qint32>(added->Count()), false);
        break;
    }
    default:
        return -1;
    }
    set_EditMode(0);
    return affected;
}

qint32 MYSQL_RS::Delete()
{
    if (BOF() || EOF_() || m_state == Closed || EditMode() != 0 || TableCount() != 1)
        return -1;
    const QString table_name = globals::trim_blanks(fields(0)->table());
    const QString condition = key_condition();
    if (table_name.isEmpty() || condition.isEmpty())
        return 0;
    const qint32 affected = run(
        QStringLiteral("DELETE FROM ") + sql_text::identifier(table_name) + QStringLiteral(" WHERE ") + condition);
    if (affected > 0)
        deleted_rows()->Add(AbsolutePosition());
    return affected;
}

void MYSQL_RS::CancelUpdate()
{
    if (m_state == Closed || BOF() || EOF_())
        return;
    switch (EditMode()) {
    case 1:
        edited_rows()->Remove(m_edit_row, true);
        break;
    case 2:
        added_rows()->Remove(static_cast<qint32>(added_rows()->Count()), false);
        break;
    default:
        return;
    }
    set_EditMode(0);
}

void MYSQL_RS::Requery()
{
    if (!m_connection)
        return;
    QString statement = m_query;
    qint32 affected = 0;
    m_connection->run_query(*this, statement, affected);
}

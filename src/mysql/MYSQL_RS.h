#pragma once

#include "MySQL_Field.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>
#include <vector>

class MYSQL_CONNECTION;
class MYSQL_UPDATE;
struct st_mysql;
struct st_mysql_res;
struct st_mysql_rows;

// The outcome of one statement: the whole result held in client memory, a
// 1-based row position over it, one column cursor (fields), searches, an
// HTML rendering, and pending edits written back as INSERT, UPDATE and
// DELETE statements on a result drawn from one table with a primary key.
// Made by MYSQL_CONNECTION::Execute; nothing here raises.
class MYSQL_RS final
{
public:
    enum { Open = 0, Closed = 1 };
    // Search modes: move to the found row, only report it, or resolve a
    // pending edit first and then move.
    enum FindMode { MoveToFound = 0, ReportOnly = 1, ResolveAndMove = 2 };

    MYSQL_RS();
    ~MYSQL_RS();
    MYSQL_RS(const MYSQL_RS &) = delete;
    MYSQL_RS &operator=(const MYSQL_RS &) = delete;

    qint32 State() const { return m_state; }
    qint32 AffectedRecords() const { return m_affected; }
    // The statement as run (trimmed); "" once closed.
    const QString &QueryString() const { return m_query; }
    qint32 RecordCount() const { return m_record_count; }
    qint32 FieldCount() const { return m_field_count; }

    // Points the one shared cursor at a column of the current row: a number
    // (or a text that reads as one) is a 0-based column, any other text a
    // column name. Before the first and after the last row the cursor has no
    // valid column.
    // (Inline: it runs for every value of a walk over the rows.)
    const std::shared_ptr<MySQL_Field> &fields(qint32 index)
    {
        // A row is loaded exactly while the set is neither at BOF nor at EOF.
        if (!m_row)
            m_cursor->bind_column(-1, 0, nullptr, nullptr, nullptr);
        else
            m_cursor->bind_column(index, m_field_count, m_result, m_row, m_lengths);
        return m_cursor;
    }
    const std::shared_ptr<MySQL_Field> &fields(const QString &index);
    const std::shared_ptr<MySQL_Field> &fields(const char *index) { return fields(QString::fromUtf8(index)); }
    const std::shared_ptr<MySQL_Field> &fields(const QVariant &index);

    bool BOF() const { return m_state == Closed || m_record_count == 0 || m_position == 0; }
    // End of the set ("EOF" is a macro of the C library).
    bool EOF_() const { return m_position > m_record_count || m_state == Closed || m_record_count == 0; }
    // The row number, or -1 (closed or no rows), -3 (before the first row),
    // -2 (after the last row).
    qint32 AbsolutePosition() const;
    void set_AbsolutePosition(qint32 position);
    // The distinct tables of the current row's columns, joined with ",".
    qint32 TableCount();
    QString table();
    // 0 none, 1 editing, 2 adding, 3 the current row was deleted.
    qint32 EditMode() const;

    void MoveFirst();
    void MoveLast();
    void MovePrevious();
    void MoveNext();
    void CloseRecordset();

    // Each returns the 1-based row found or -1.
    qint32 FindFirst(const QVariant &field, const QVariant &value, qint32 mode = MoveToFound);
    qint32 FindLast(const QVariant &field, const QVariant &value, qint32 mode = MoveToFound);
    qint32 FindNext(const QVariant &field, const QVariant &value, qint32 mode = MoveToFound);
    qint32 FindPrevious(const QVariant &field, const QVariant &value, qint32 mode = MoveToFound);
    // The whole set as an HTML table; values are HTML-escaped.
    QString RsToHtmlTable();

    // 0, or -1 when refused.
    qint32 AddNew();
    // The affected row count, or -1 when nothing was attempted.
    qint32 Update();
    qint32 Delete();
    void CancelUpdate();
    void Requery();

private:
    friend class MYSQL_CONNECTION;
    friend class MySQL_Field;

    void set_EditMode(qint32 mode);
    void set_connection(std::shared_ptr<MYSQL_CONNECTION> connection) { m_connection = std::move(connection); }
    // The collections of pending edits, made on first use.
    const std::shared_ptr<MYSQL_UPDATE> &edited_rows();
    const std::shared_ptr<MYSQL_UPDATE> &added_rows();
    const std::shared_ptr<MYSQL_UPDATE> &deleted_rows();
    void set_edit_row(qint32 row) { m_edit_row = row; }
    void open_result(const QString &statement, st_mysql *handle, bool &failed);

    void fetch_row(bool resolve);
    void load_row(qint32 row);
    void go_to(qint32 position);
    void free_result();
    void resolve_pending_edit();
    void record_edit(const QString &column, const QVariant &value);
    qint32 find(const QVariant &field, const QVariant &value, qint32 mode, qint32 first, qint32 last);
    bool has_column(const QVariant &field) const;
    QStringList table_list();
    qint32 column_type(const QString &name);
    QString key_condition();
    // A value as an SQL literal escaped for this set's connection.
    QString literal(const QVariant &value, qint32 column_type) const;
    qint32 run(const QString &statement);

    std::shared_ptr<MYSQL_CONNECTION> m_connection;
    std::shared_ptr<MySQL_Field> m_cursor;
    qint32 m_position = 0;
    qint32 m_record_count = 0;
    qint32 m_field_count = 0;
    qint32 m_affected = 0;
    QString m_query;
    qint32 m_state = Closed;
    st_mysql_res *m_result = nullptr;
    char **m_row = nullptr;
    unsigned long *m_lengths = nullptr;
    // The row that m_row holds (0: none); during a move it is still the
    // previous one.
    qint32 m_loaded = 0;
    // Where each row starts in the stored result, so any row is reached at
    // once rather than by walking the result from its start.
    std::vector<st_mysql_rows *> m_offsets;

    std::shared_ptr<MYSQL_UPDATE> m_added;
    std::shared_ptr<MYSQL_UPDATE> m_edited;
    std::shared_ptr<MYSQL_UPDATE> m_deleted;
    // The columns of the primary key of the set's table, once asked.
    std::optional<QStringList> m_table_key;
    qint32 m_edit_row = 0;
    qint32 m_edit_mode = 0;
};

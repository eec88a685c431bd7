#pragma once

#include <QString>
#include <QVariant>

struct st_mysql;

// Pieces of SQL text built by the library and by the generators.
namespace sql_text {

// A table, column or database name between backquotes; a backquote inside
// the name is doubled, so any name stays one name.
QString identifier(const QString &name);

// The text the server receives for a value in a column of the given type
// (see literal), before quoting; "" for Null.
QString text(const QVariant &value, qint32 column_type);

// The literal of a value for a column of the given client-library type:
// NULL for Null; for date (10), time (11) and date-and-time (12) columns the
// value formatted as MySQL writes it, or the zero value when it is not a
// date; in single quotes, escaped as the connection's SQL mode requires
// (backslashes, or only doubled quotes under NO_BACKSLASH_ESCAPES).
QString literal(const QVariant &value, qint32 column_type, st_mysql *connection);

} // namespace sql_text

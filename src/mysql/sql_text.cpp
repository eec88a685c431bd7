#include "sql_text.h"

#include "MariaDbClient.h"
#include "mysql_variant.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace sql_text {

namespace {

constexpr qint32 date_type = 10;
constexpr qint32 time_type = 11;
constexpr qint32 datetime_type = 12;

// A value that is a date: a date or time variant, or a text in MySQL's own
// date and time formats.
QDateTime as_date(const QVariant &value, bool &ok)
{
    ok = true;
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QTime:
        return QDateTime(QDate(1899, 12, 30), value.toTime());
    default:
        break;
    }
    if (mysql_variant::is_text(value)) {
        const QString text = value.toString().trimmed();
        for (const char *format : { "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd" }) {
            const QDateTime parsed = QDateTime::fromString(text, QString::fromLatin1(format));
            if (parsed.isValid())
                return parsed;
        }
        for (const char *format : { "HH:mm:ss", "H:mm:ss", "HH:mm" }) {
            const QTime parsed = QTime::fromString(text, QString::fromLatin1(format));
            if (parsed.isValid())
                return QDateTime(QDate(1899, 12, 30), parsed);
        }
    }
    ok = false;
    return {};
}

// The client library knows the connection's SQL mode from the server's
// status and escapes for it. Without a connection nothing is sent; doubled
// quotes then keep the text one literal.
QString escaped(const QString &text, st_mysql *connection)
{
    if (!connection)
        return QString(text).replace(QLatin1Char('\''), QStringLiteral("''"));
    const QByteArray from = text.toUtf8();
    QByteArray to(from.size() * 2 + 1, Qt::Uninitialized);
    const unsigned long length
        = mariadb().mysql_real_escape_string(connection, to.data(), from.constData(), static_cast<unsigned long>(from.size()));
    if (length == static_cast<unsigned long>(-1))
        return QString();
    return QString::fromUtf8(to.constData(), static_cast<qsizetype>(length));
}

} // namespace

QString identifier(const QString &name)
{
    return QLatin1Char('`') + QString(name).replace(QLatin1Char('`'), QStringLiteral("``")) + QLatin1Char('`');
}

QString text(const QVariant &value, qint32 column_type)
{
    if (mysql_variant::is_null(value))
        return QString();
    if (column_type != date_type && column_type != time_type && column_type != datetime_type)
        return value.toString();
    bool ok = false;
    const QDateTime date = as_date(value, ok);
    if (column_type == date_type)
        return ok ? date.toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("0000-00-00");
    if (column_type == time_type)
        return ok ? date.toString(QStringLiteral("HH:mm:ss")) : QStringLiteral("00:00:00");
    return ok ? date.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QStringLiteral("0000-00-00 00:00:00");
}

QString literal(const QVariant &value, qint32 column_type, st_mysql *connection)
{
    if (mysql_variant::is_null(value))
        return QStringLiteral("NULL");
    return QLatin1Char('\'') + escaped(text(value, column_type), connection) + QLatin1Char('\'');
}

} // namespace sql_text

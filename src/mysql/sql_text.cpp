#include "sql_text.h"

#include "mysql_value.h"

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
    if (mysql_value::is_text(value)) {
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

QString escaped(const QString &text)
{
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            result += QStringLiteral("\\\\");
            break;
        case 0:
            result += QStringLiteral("\\0");
            break;
        case 8:
            result += QStringLiteral("\\b");
            break;
        case 9:
            result += QStringLiteral("\\t");
            break;
        case '\'':
            result += QStringLiteral("\\'");
            break;
        case '"':
            result += QStringLiteral("\\\"");
            break;
        case 10:
            result += QStringLiteral("\\n");
            break;
        case 13:
            result += QStringLiteral("\\r");
            break;
        default:
            result += c;
        }
    }
    return result;
}

} // namespace

QString identifier(const QString &name)
{
    return QLatin1Char('`') + QString(name).replace(QLatin1Char('`'), QStringLiteral("``")) + QLatin1Char('`');
}

QString text(const QVariant &value, qint32 column_type)
{
    if (mysql_value::is_null(value))
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

QString literal(const QVariant &value, qint32 column_type)
{
    if (mysql_value::is_null(value))
        return QStringLiteral("NULL");
    return QLatin1Char('\'') + escaped(text(value, column_type)) + QLatin1Char('\'');
}

} // namespace sql_text

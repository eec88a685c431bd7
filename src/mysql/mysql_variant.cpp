#include "mysql_variant.h"

#include "MySQL_Value.h"

#include <cmath>

namespace mysql_variant {

bool is_text(const QVariant &value)
{
    const int id = value.typeId();
    return id == QMetaType::QString || id == QMetaType::QByteArray || id == QMetaType::QChar;
}

bool is_number(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool same(const MySQL_Value &read, const QVariant &searched)
{
    if (read.isNull() || is_null(searched))
        return false;
    if (read.isEmpty()) {
        if (is_empty(searched))
            return true;
        if (is_text(searched))
            return searched.toString().isEmpty();
        if (is_number(searched))
            return searched.toDouble() == 0;
        return false;
    }
    if (is_empty(searched))
        return read.toString().isEmpty();
    return is_text(searched) && read.toString() == searched.toString();
}

bool as_column_number(const QVariant &index, qint32 &number, QString &name)
{
    name.clear();
    if (is_null(index))
        return false;
    if (is_empty(index)) {
        number = 0;
        return true;
    }
    if (is_number(index)) {
        const double value = index.toDouble();
        number = std::isfinite(value) && std::fabs(value) < 2147483647.0 ? static_cast<qint32>(std::lround(value)) : -1;
        return true;
    }
    const QString text = index.toString();
    bool ok = false;
    const qint32 whole = text.trimmed().toInt(&ok);
    if (ok) {
        number = whole;
        return true;
    }
    const double value = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(value)) {
        number = std::fabs(value) < 2147483647.0 ? static_cast<qint32>(std::lround(value)) : -1;
        return true;
    }
    name = text;
    return false;
}

} // namespace mysql_variant

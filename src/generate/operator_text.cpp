#include "operator_text.h"

QString operator_text(qint32 code)
{
    switch (code) {
    case 0:
        return QStringLiteral(">");
    case 1:
        return QStringLiteral("<");
    case 2:
        return QStringLiteral(">=");
    case 3:
        return QStringLiteral("<=");
    case 4:
        return QStringLiteral("==");
    case 5:
        return QStringLiteral("!=");
    default:
        return QString();
    }
}

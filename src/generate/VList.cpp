#include "VList.h"

#include "php_text.h"

#include "model/Field.h"
#include "model/globals.h"

QString VList::get_php_code() const
{
    QString condition = QStringLiteral("if (");
    bool any = false;
    for (const QString &value : globals::split_list(field->list_values)) {
        if (value.isEmpty())
            continue;
        condition += QStringLiteral(" strcasecmp($") + field->name + QStringLiteral(",\"") + php_text::literal(value)
            + QStringLiteral("\") != 0 &&");
        any = true;
    }
    // A list without any value allows nothing in particular: no test, rather
    // than a condition PHP cannot parse.
    if (!any)
        return QString();
    condition.chop(2);
    condition += QLatin1Char(')');
    return php_text::line(condition) + php_text::check_body(*field);
}

#include "VList.h"

#include "Crecieving_vars.h"
#include "php_text.h"

#include "model/Field.h"
#include "model/globals.h"

QString VList::get_php_code() const
{
    // Of a multiple choice each chosen value must be listed. The posted list
    // is tested, not the joined text, since a value may hold the "&" that
    // joins them; the joined text is empty unless the list holds only text.
    // Blanks around a value are no part of it, as the listed values have
    // none: a typed value goes on without them.
    const bool several = field->field_type == QLatin1String("multi select");
    const QString value = several ? QStringLiteral("trim($tsl_choice)") : QLatin1Char('$') + field->name;
    QString condition = QStringLiteral("if (");
    bool any = false;
    for (const QString &allowed : globals::split_list(field->list_values)) {
        if (allowed.isEmpty())
            continue;
        condition += QStringLiteral(" strcasecmp(") + value + QStringLiteral(",\"") + php_text::literal(allowed)
            + QStringLiteral("\") != 0 &&");
        any = true;
    }
    // A list without any value allows nothing in particular: no test, rather
    // than a condition PHP cannot parse.
    if (!any)
        return QString();
    condition.chop(2);
    condition += QLatin1Char(')');
    QString code = php_text::line(condition) + php_text::check_body(*field);
    if (several) {
        code = php_text::line(QStringLiteral("foreach (") + globals::rec_vars()->posted_item(*field)
                   + QStringLiteral(" as $tsl_choice)"))
            + code;
    }
    const QString trimmed = several ? QString()
                                    : php_text::line(QLatin1Char('$') + field->name + QStringLiteral(" = trim($")
                                        + field->name + QStringLiteral(");"));
    return trimmed + php_text::when_entered(field->name, code);
}

#include "VRange.h"

#include "operator_text.h"
#include "php_text.h"

#include "model/Field.h"

QString VRange::get_php_code() const
{
    // A value that is not a number fails: PHP 8 would compare it as text.
    QString code;
    const auto test = [&](qint32 op, qint32 bound) {
        if (op == 6)
            return;
        code += php_text::line(QStringLiteral("if ( !is_numeric($") + field->name + QStringLiteral(") || $")
                    + field->name + QLatin1Char(' ') + operator_text(op) + QLatin1Char(' ') + QString::number(bound)
                    + QLatin1Char(')'))
            + php_text::check_body(*field);
    };
    test(field->range_operator1, field->range_min);
    test(field->range_operator2, field->range_max);
    return php_text::when_entered(field->name, code);
}

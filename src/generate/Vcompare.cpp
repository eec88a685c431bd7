#include "Vcompare.h"

#include "php_text.h"

#include "model/Field.h"

QString Vcompare::get_php_code() const
{
    // Exact comparison: "1e3" and "1000" are different texts.
    return php_text::when_entered(field->name,
        php_text::line(QStringLiteral("if ($") + field->name + QStringLiteral(" !== $") + field->compare_field()->name
            + QLatin1Char(')'))
            + php_text::check_body(*field));
}

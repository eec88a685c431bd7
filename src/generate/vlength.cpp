#include "vlength.h"

#include "operator_text.h"
#include "php_text.h"

#include "model/Field.h"

QString vlength::get_php_code() const
{
    // Characters of UTF-8 text, not bytes; text that is not valid UTF-8 is
    // counted in bytes. Only PCRE is needed, which every PHP build has.
    const QString length
        = QStringLiteral("(preg_match('//u', $%1) ? preg_match_all('/./su', $%1) : strlen($%1))").arg(field->name);
    QString code;
    const auto test = [&](qint32 op, qint32 bound) {
        if (op == 6)
            return;
        code += php_text::line(QStringLiteral("if (") + length + QLatin1Char(' ') + operator_text(op)
                    + QString::number(bound) + QLatin1Char(')'))
            + php_text::check_body(*field);
    };
    test(field->length_operator1, field->length_min);
    test(field->length_operator2, field->length_max);
    return php_text::when_entered(field->name, code);
}

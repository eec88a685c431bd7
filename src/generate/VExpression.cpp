#include "VExpression.h"

#include "php_text.h"

#include "model/Field.h"

namespace {
// The patterns are not anchored: a value passes when any part of it matches.
// "~" occurs in none of them, so it delimits them.
QString pattern_test(const QString &pattern, const QString &name)
{
    return QStringLiteral("if (! preg_match('~") + pattern + QStringLiteral("~', $") + name + QStringLiteral("))");
}
} // namespace

QString VExpression::get_php_code() const
{
    const QString &name = field->name;
    QString condition;
    switch (field->expression_type) {
    case 0:
        condition
            = php_text::line(pattern_test(QStringLiteral("[A-Za-z0-9_-]+\\@[A-Za-z0-9_-]+\\.[A-Za-z0-9_-]+"), name));
        break;
    case 1:
        condition = php_text::line(pattern_test(QStringLiteral("https?://[A-Za-z0-9_-]+\\.[A-Za-z0-9_-]+"), name));
        break;
    case 2:
        condition
            = php_text::line(pattern_test(QStringLiteral("[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}"), name));
        break;
    case 3:
        condition = php_text::line(QStringLiteral("if (strlen($") + name + QStringLiteral(") != 5)  "));
        break;
    case 4:
        // A missing part is empty rather than a warning, and each part must
        // be a number: PHP 8 compares other text with a number as text.
        condition = php_text::line(QStringLiteral("list($z1, $z2) = array_pad(explode('-', $") + name
                        + QStringLiteral("), 2, '');"))
            + php_text::line(QStringLiteral("if ( !(is_numeric($z1) && $z1 >= 10000 && $z1 <= 99999) || "
                                            "!(is_numeric($z2) && $z2 >= 1000 && $z2 <= 9999) )"));
        break;
    case 5:
        condition = php_text::line(QStringLiteral("if (! validate_cardnum($") + name + QStringLiteral("))"));
        break;
    default:
        return QString();
    }
    return condition + php_text::check_body(*field);
}

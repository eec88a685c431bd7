#include "VExpression.h"

#include "php_text.h"

#include "model/Field.h"

namespace {

// Every pattern must match the whole value, or text around a valid part
// would pass with it. "~" delimits them; where one holds a "~" it is escaped.
QString pattern_match(const QString &pattern, const QString &name)
{
    return QStringLiteral("preg_match('~\\A") + pattern + QStringLiteral("\\z~', $") + name + QLatin1Char(')');
}

QString pattern_test(const QString &pattern, const QString &name)
{
    return QStringLiteral("if (! ") + pattern_match(pattern, name) + QLatin1Char(')');
}

// A run of letters, digits, "_" and "-", as in the address patterns.
const QString kWord = QStringLiteral("[A-Za-z0-9_-]+");
// A run of the characters a mail address may hold unquoted before its "@",
// quoted for a single-quoted PHP string, "~" escaped as the delimiter.
const QString kLocalWord = QStringLiteral("[A-Za-z0-9!#$%&\\'*+/=?^_`{|}\\~-]+");
// The characters a web address may carry after its host, quoted for a
// single-quoted PHP string.
const QString kUrlCharacters = QStringLiteral("[A-Za-z0-9._\\~:/?#\\[\\]@!$&\\'()*+,;=%-]");

} // namespace

QString VExpression::get_php_code() const
{
    const QString &name = field->name;
    QString condition;
    switch (field->expression_type) {
    case 0:
        // Dotted words on both sides of the "@", as real addresses have them:
        // before it of every character a mail address may hold unquoted,
        // after it of a host's. The address must also be one the mail code
        // takes, so that a valid address never goes missing from a mail.
        condition = php_text::line(QStringLiteral("if (! ")
            + pattern_match(kLocalWord + QStringLiteral("(\\.") + kLocalWord + QStringLiteral(")*\\@") + kWord
                    + QStringLiteral("(\\.") + kWord + QStringLiteral(")+"),
                name)
            + QStringLiteral(" || filter_var($") + name + QStringLiteral(", FILTER_VALIDATE_EMAIL) === false)"));
        break;
    case 1:
        // A host of dotted words, then an optional port and path.
        condition = php_text::line(pattern_test(QStringLiteral("https?://") + kWord + QStringLiteral("(\\.") + kWord
                + QStringLiteral(")+(:[0-9]{1,5})?([/?#]") + kUrlCharacters + QStringLiteral("*)?"),
            name));
        break;
    case 2:
        condition
            = php_text::line(pattern_test(QStringLiteral("[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}\\.[0-9]{1,3}"), name));
        break;
    case 3:
        condition = php_text::line(pattern_test(QStringLiteral("[0-9]{5}"), name));
        break;
    case 4:
        // The shape first: digits only, so the bounds compare numbers.
        condition = php_text::line(QStringLiteral("list($tsl_z1, $tsl_z2) = array_pad(explode('-', $") + name
                        + QStringLiteral("), 2, '');"))
            + php_text::line(QStringLiteral("if ( !preg_match('~\\A[0-9]{5}-[0-9]{4}\\z~', $") + name
                + QStringLiteral(
                    ") || !($tsl_z1 >= 10000 && $tsl_z1 <= 99999) || !($tsl_z2 >= 1000 && $tsl_z2 <= 9999) )"));
        break;
    case 5:
        condition = php_text::line(QStringLiteral("if (! validate_cardnum($") + name + QStringLiteral("))"));
        break;
    default:
        return QString();
    }
    return php_text::when_entered(name, condition + php_text::check_body(*field));
}

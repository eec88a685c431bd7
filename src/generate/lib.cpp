#include "lib.h"

#include "php_text.h"

QString lib::get_lib_code() const
{
    using php_text::literal;
    return php_text::lines({
        QStringLiteral("$host = \"") + literal(host) + QStringLiteral("\";"),
        QStringLiteral("$username = \"") + literal(username) + QStringLiteral("\";"),
        QStringLiteral("$password = \"") + literal(password) + QStringLiteral("\";"),
        QStringLiteral("$db = \"") + literal(db) + QStringLiteral("\";"),
        QStringLiteral("$table =\"") + literal(table) + QStringLiteral("\";"),
    });
}

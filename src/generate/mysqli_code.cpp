#include "mysqli_code.h"

namespace mysqli_code {

QString host_with_port(const QString &host, const QString &port)
{
    const QString number = port.trimmed();
    if (number.isEmpty() || number == QLatin1String("0") || number == QLatin1String("3306")
        || host.contains(QLatin1Char(':')))
        return host;
    return host + QLatin1Char(':') + number;
}

QString html(const QString &expression)
{
    return QStringLiteral("htmlspecialchars(") + expression + QStringLiteral(", ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8')");
}

QStringList connect_lines(const QString &link, const QString &host, const QString &user, const QString &password,
    const QString &port, const QString &socket)
{
    return {
        QStringLiteral("mysqli_report(MYSQLI_REPORT_OFF);"),
        port + QStringLiteral(" = 3306;"),
        socket + QStringLiteral(" = null;"),
        QStringLiteral("if (substr_count(%1, \":\") == 1) {").arg(host),
        QStringLiteral(" list(%1, %2) = explode(\":\", %1);").arg(host, port),
        QStringLiteral(" if (!preg_match('/\\A[0-9]+\\z/', %1)) { %2 = %1; %1 = 3306; }").arg(port, socket),
        QStringLiteral("}"),
        QStringLiteral("%1 = @mysqli_connect(%2, %3, %4, \"\", (int)%5, %6);")
            .arg(link, host, user, password, port, socket),
        QStringLiteral("if (%1) { mysqli_set_charset(%1, \"utf8mb4\"); }").arg(link),
    };
}

} // namespace mysqli_code

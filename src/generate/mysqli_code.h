#pragma once

#include <QString>
#include <QStringList>

// The connection code shared by the generated script's insert and setup.php.
// A script receives the server as one host text: "host", "host:port" or
// "host:/path/to/socket"; the code takes it apart for mysqli.
namespace mysqli_code {

// The host text written into a script: the host, followed by ":" and the
// port unless the port is blank, 0 or 3306 (mysqli's default) or the host
// already names a port or socket.
QString host_with_port(const QString &host, const QString &port);

// `expression` made safe to show in a page: the server's messages may
// quote the values sent to it.
QString html(const QString &expression);

// PHP lines that turn mysqli's exceptions off (the script checks results
// itself), split the host text held in the variable `host`, and connect:
// `link` becomes the connection (false on failure, without a warning) and
// talks utf8mb4. Variable names are given with their "$".
QStringList connect_lines(const QString &link, const QString &host, const QString &user, const QString &password,
    const QString &port, const QString &socket);

} // namespace mysqli_code

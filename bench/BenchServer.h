#pragma once

#include <QByteArray>

// The MariaDB server a benchmark runs against: the one whose state file
// tests/mysql/mariadb_server.sh wrote, named by TRESSEL_MARIADB. Ends the
// program with a hint when there is none.
struct BenchServer
{
    QByteArray host, user, password;
    unsigned int port = 0;

    static const BenchServer &get();
};

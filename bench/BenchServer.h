#pragma once

#include <QByteArray>

struct st_mysql;

// The MariaDB server a benchmark runs against: the one whose state file
// tests/mysql/mariadb_server.sh wrote, named by TRESSEL_MARIADB. Ends the
// program with a hint when there is none.
struct BenchServer
{
    QByteArray host, user, password;
    unsigned int port = 0;

    static const BenchServer &get();
    // A bare connection in utf8mb4 to the database tressel_bench, made when
    // missing.
    st_mysql *bench_database() const;
    // Ends the program with the connection's error when `failed`.
    static void check(st_mysql *raw, int failed);
};

#include "BenchServer.h"

#include <QFile>

#include <mysql.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

BenchServer read_server()
{
    BenchServer server;
    QFile file(qEnvironmentVariable("TRESSEL_MARIADB"));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Set TRESSEL_MARIADB to the state file of tests/mysql/mariadb_server.sh start.\n");
        std::exit(2);
    }
    std::map<QByteArray, QByteArray> values;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype at = line.indexOf('=');
        if (at > 0)
            values[line.left(at)] = line.mid(at + 1);
    }
    server.host = values["host"];
    server.user = values["user"];
    server.password = values["password"];
    server.port = values["port"].toUInt();
    return server;
}

} // namespace

const BenchServer &BenchServer::get()
{
    static const BenchServer instance = read_server();
    return instance;
}

MYSQL *BenchServer::bench_database() const
{
    MYSQL *raw = mysql_init(nullptr);
    mysql_options(raw, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    check(raw,
        !mysql_real_connect(raw, host.constData(), user.constData(), password.constData(), nullptr, port, nullptr, 0));
    check(raw, mysql_query(raw, "CREATE DATABASE IF NOT EXISTS tressel_bench"));
    check(raw, mysql_select_db(raw, "tressel_bench"));
    return raw;
}

void BenchServer::check(MYSQL *raw, int failed)
{
    if (failed) {
        std::fprintf(stderr, "%s\n", mysql_error(raw));
        std::exit(1);
    }
}

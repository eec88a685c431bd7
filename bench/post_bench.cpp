// One post of a six-field form to its generated script, which appends it to a
// CSV file and inserts it into a MySQL table, answered by a PHP that stays
// running between requests (PHP's built-in web server, with OPcache), as
// under mod_php or php-fpm. Arg 0: every field filled; arg 1: one optional
// field left empty. Needs a running server; start one as for
// mysql_walk_bench:
//
//   TRESSEL_MARIADB_OWNER=$$ tests/mysql/mariadb_server.sh start /tmp/bench.state
//   TRESSEL_MARIADB=/tmp/bench.state build/bench/post_bench
//   tests/mysql/mariadb_server.sh stop /tmp/bench.state
#include "BenchServer.h"
#include "GeneratedForm.h"
#include "PhpRunner.h"

#include "generate/CSV.h"
#include "generate/db.h"
#include "mysql/MySQLTable.h"
#include "mysql/connections.h"

#include <QProcess>
#include <QTcpServer>
#include <QThread>

#include <benchmark/benchmark.h>

#include <mysql.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A fresh table of NOT NULL columns without defaults, beside nullable ones.
void make_table()
{
    MYSQL *raw = BenchServer::get().bench_database();
    const auto check = &BenchServer::check;
    check(raw, mysql_query(raw, "DROP TABLE IF EXISTS posts"));
    check(raw,
        mysql_query(raw,
            "CREATE TABLE posts (id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(60) NOT NULL, email VARCHAR(80) NOT "
            "NULL, city VARCHAR(40), age INT NOT NULL, note TEXT NOT NULL, color VARCHAR(10))"));
    mysql_close(raw);
}

// Writes the script into `runner`'s folder.
void generate(PhpRunner &runner)
{
    GeneratedForm page;
    for (const char *name : { "name", "email", "city", "age", "note", "color" })
        page.add(name).mysql_field = name;
    page.prefs().is_csv = page.prefs().is_mysql = true;
    page.prefs().success_message = "Thank you";
    globals::csv_file()->filename = "data.csv";
    connections &profile = *globals::mysql_connections();
    const BenchServer &server = BenchServer::get();
    profile.set_host(QString::fromUtf8(server.host));
    profile.set_user(QString::fromUtf8(server.user));
    profile.set_password(QString::fromUtf8(server.password));
    profile.set_port(QString::number(server.port));
    db &action = *globals::mysql_db();
    action.form = page.form;
    action.connection = globals::mysql_connections();
    action.dbname = QStringLiteral("tressel_bench");
    action.table = std::make_shared<MySQLTable>();
    action.table->set_table_name(QStringLiteral("posts"));
    page.write(runner);
}

// Sends one request on a new connection and reads the whole answer.
QByteArray exchange(quint16 port, const QByteArray &request)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QByteArray answer;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
        && ::send(fd, request.constData(), std::size_t(request.size()), 0) == request.size()) {
        char buffer[4096];
        for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            answer.append(buffer, got);
    }
    ::close(fd);
    return answer;
}

void BM_PostToTheScript(benchmark::State &state)
{
    make_table();
    PhpRunner runner;
    generate(runner);
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    QProcess php;
    php.setWorkingDirectory(runner.folder());
    // Its log of each request would fill a pipe that nothing reads.
    php.setStandardOutputFile(QProcess::nullDevice());
    php.setStandardErrorFile(QProcess::nullDevice());
    php.start(QStringLiteral("php"),
        { QStringLiteral("-d"), QStringLiteral("opcache.enable_cli=1"), QStringLiteral("-d"),
            QStringLiteral("display_errors=0"), QStringLiteral("-S"), QStringLiteral("127.0.0.1:%1").arg(port),
            QStringLiteral("-t"), runner.folder() });
    const QByteArray body = "name=Ann+Smith&email=ann%40example.com&city=" + QByteArray(state.range(0) ? "" : "Paris")
        + "&age=42&note=Call+me+after+five&color=green";
    const QByteArray request = "POST /index.php HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                               "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    for (int tries = 0; exchange(port, request).isEmpty() && tries < 100; ++tries)
        QThread::msleep(50);
    if (!exchange(port, request).endsWith("Thank you")) {
        state.SkipWithError("the script does not thank the visitor");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange(port, request));
    php.terminate();
    php.waitForFinished();
}
BENCHMARK(BM_PostToTheScript)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

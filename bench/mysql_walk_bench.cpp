// Walking a result of 10,000, 100,000 and 1,000,000 rows forward and reading
// every value as text, through MYSQL_RS and through the bare client library
// (both walks hold the stored result already and turn each value into a
// QString). Needs a running
// server; start one with tests/mysql/mariadb_server.sh and point
// TRESSEL_MARIADB at its state file:
//
//   TRESSEL_MARIADB_OWNER=$$ tests/mysql/mariadb_server.sh start /tmp/bench.state
//   TRESSEL_MARIADB=/tmp/bench.state build/bench/mysql_walk_bench
//   tests/mysql/mariadb_server.sh stop /tmp/bench.state
#include "BenchServer.h"

#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQL_Field.h"

#include <QByteArray>
#include <QString>

#include <benchmark/benchmark.h>

#include <mysql.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int row_count = 1000000;

QByteArray bench_query(std::int64_t rows)
{
    return "SELECT id, name, note, amount, born FROM walk WHERE id <= " + QByteArray::number(rows) + " ORDER BY id";
}

const BenchServer &server()
{
    return BenchServer::get();
}

void check(MYSQL *raw, int failed)
{
    BenchServer::check(raw, failed);
}

// A bare connection to the benchmark database, with its table filled once.
MYSQL *bare_connection()
{
    MYSQL *raw = server().bench_database();
    check(raw,
        mysql_query(raw,
            "CREATE TABLE IF NOT EXISTS walk (id INT PRIMARY KEY, name VARCHAR(40), "
            "note TEXT NULL, amount DECIMAL(10,2), born DATE NULL)"));
    check(raw, mysql_query(raw, "SELECT COUNT(*) FROM walk"));
    MYSQL_RES *count = mysql_store_result(raw);
    const bool filled = std::atoi(mysql_fetch_row(count)[0]) == row_count;
    mysql_free_result(count);
    if (!filled) {
        check(raw, mysql_query(raw, "DELETE FROM walk"));
        check(raw,
            mysql_query(raw,
                "INSERT INTO walk SELECT seq, CONCAT('name number ', seq), "
                "IF(seq % 7 = 0, NULL, REPEAT('note ', seq % 5)), seq / 100, "
                "IF(seq % 3 = 0, NULL, '2005-03-04') FROM seq_1_to_1000000"));
    }
    return raw;
}

void BM_WalkBareClientLibrary(benchmark::State &state)
{
    MYSQL *raw = bare_connection();
    check(raw, mysql_query(raw, bench_query(state.range(0)).constData()));
    MYSQL_RES *result = mysql_store_result(raw);
    const unsigned int columns = mysql_num_fields(result);
    for (auto _ : state) {
        qsizetype characters = 0;
        mysql_data_seek(result, 0);
        while (MYSQL_ROW row = mysql_fetch_row(result)) {
            const unsigned long *lengths = mysql_fetch_lengths(result);
            for (unsigned int i = 0; i < columns; ++i) {
                if (!row[i])
                    continue;
                const QString value = QString::fromUtf8(row[i], static_cast<qsizetype>(lengths[i]));
                characters += value.size();
            }
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    mysql_free_result(result);
    mysql_close(raw);
}
BENCHMARK(BM_WalkBareClientLibrary)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000)->Arg(1000000);

void BM_WalkResultSet(benchmark::State &state)
{
    mysql_close(bare_connection());
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    connection->OpenConnection(QString::fromUtf8(server().host), QString::fromUtf8(server().user),
        QString::fromUtf8(server().password), QStringLiteral("tressel_bench"), static_cast<qint32>(server().port));
    const auto rs = connection->Execute(QString::fromLatin1(bench_query(state.range(0))));
    if (rs->RecordCount() != state.range(0)) {
        state.SkipWithError("the result set did not load");
        return;
    }
    const qint32 columns = rs->FieldCount();
    for (auto _ : state) {
        qsizetype characters = 0;
        for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
            for (qint32 i = 0; i < columns; ++i)
                characters += rs->fields(i)->Value().toString().size();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalkResultSet)->Unit(benchmark::kMillisecond)->Arg(10000)->Arg(100000)->Arg(1000000);

} // namespace

BENCHMARK_MAIN();

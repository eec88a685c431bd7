#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct st_mysql;

// The private MariaDB server of the test run, as tests/mysql/mariadb_server.sh
// wrote it into its state file (the build's, or the one TRESSEL_MARIADB names).
struct TestServer
{
    QString host;
    qint32 port = 0;
    QString socket;
    QString user;
    QString password;

    // Fails the calling test (and returns nullptr) when the server is missing.
    static const TestServer *get();
};

// One value read back with the bare client library: bytes, or none for NULL.
using RawValue = std::optional<QByteArray>;
using RawRows = std::vector<std::vector<RawValue>>;

// A database of the current test's own (so tests can run side by side),
// dropped and made anew at the start and dropped at the end, with a
// connection through the bare client library for preparing tables and
// checking what the code under test wrote.
class TestDatabase final
{
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    bool ok() const { return m_raw != nullptr; }
    const QString &name() const { return m_name; }
    const TestServer &server() const { return *m_server; }

    // Runs statements; a failure fails the test with the server's message.
    void exec(const QString &statement);
    void exec(const QStringList &statements);
    RawRows rows(const QString &query);
    // The first column of each row, NULL as "(null)".
    QStringList column(const QString &query);

private:
    const TestServer *m_server = nullptr;
    QString m_name;
    st_mysql *m_raw = nullptr;
};

// A port on 127.0.0.1 where nothing listens.
qint32 closed_port();

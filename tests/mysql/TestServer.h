#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

class MYSQL_CONNECTION;
struct st_mysql;

// The test run's MariaDB server, as mariadb_server.sh wrote it into its state
// file (the build's, or the one TRESSEL_MARIADB names; + ".latin1": the latin1 one's).
struct TestServer
{
    QString host, user, password;
    qint32 port = 0;

    // Fails the calling test (and returns nullptr) when there is no server.
    static const TestServer *get(bool latin1 = false);
};

// A server of the calling test's own, which it may stop and start again
// without disturbing the tests that share the run's servers. It goes at the
// end of its scope in whatever state the test left it.
class OwnServer final
{
public:
    // Fails the calling test when the server does not start.
    OwnServer();
    ~OwnServer();
    OwnServer(const OwnServer &) = delete;
    OwnServer &operator=(const OwnServer &) = delete;

    // Null when the server did not start.
    const TestServer *server() const { return m_server ? &*m_server : nullptr; }
    // Stops the server, keeping its databases, until start_again: on the same
    // port, so connections made before find it there.
    void stop() { run(QStringLiteral("halt")); }
    void start_again() { run(QStringLiteral("resume")); }

private:
    bool run(const QString &mode);

    QTemporaryDir m_folder;
    std::optional<TestServer> m_server;
};

// Rows read with the bare client library: bytes, or none for NULL.
using RawRows = std::vector<std::vector<std::optional<QByteArray>>>;

// The current test's own database, named after the test program, its
// process and the test (so tests run side by side, and one test twice at
// once, and none sees another's), dropped at the end, with a bare client
// connection to prepare tables and check results.
class TestDatabase final
{
public:
    explicit TestDatabase(const TestServer *server = TestServer::get());
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    bool ok() const { return m_raw != nullptr; }
    const QString &name() const { return m_name; }
    // Creates one more database of this test, named after its own with a
    // suffix, and drops it at the end too.
    QString create_another(const QString &suffix);
    const TestServer &server() const { return *m_server; }
    // A connection of the code under test, opened on this database.
    std::shared_ptr<MYSQL_CONNECTION> connect() const;

    // Runs statements separated by ";"; a refusal fails the test.
    void exec(const QString &statements);
    RawRows rows(const QString &query);
    // The first column of each row, NULL as "(null)".
    QStringList column(const QString &query);

private:
    const TestServer *m_server = nullptr;
    QString m_name;
    QStringList m_others;
    st_mysql *m_raw = nullptr;
};

// A port on 127.0.0.1 where nothing listens.
qint32 closed_port();

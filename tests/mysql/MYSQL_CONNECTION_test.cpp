// The connection against the test server: opening, refusals with the
// client library's own numbers and texts, statements and the error object.
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MYSQL_RS.h"
#include "mysql/MySQL_Field.h"
#include "mysql/mysql_value.h"

#include <QTcpServer>
#include <QTemporaryFile>
#include <QThread>

#include <gtest/gtest.h>

#include <mysql.h>

namespace {

std::shared_ptr<MYSQL_CONNECTION> open_to(const TestDatabase &database, const QString &dbname = QString())
{
    const TestServer &server = database.server();
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    connection->OpenConnection(server.host, server.user, server.password, dbname, server.port, 0);
    return connection;
}

MySQL_Value single_value(MYSQL_CONNECTION &connection, const QString &query)
{
    return connection.Execute(query)->fields(0)->Value();
}

TEST(Connection, OpensWithTheGivenValuesAndTalksUtf8mb4)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    const TestServer &server = database.server();
    auto shared = std::make_shared<MYSQL_CONNECTION>();
    EXPECT_EQ(shared->State(), MYSQL_CONNECTION::Closed);
    EXPECT_EQ(shared->OpenConnection(server.host, server.user, server.password, database.name(), server.port, 0),
        MYSQL_CONNECTION::Open);
    EXPECT_EQ(shared->Error()->Number(), 0);
    EXPECT_EQ(single_value(*shared, QStringLiteral("SELECT DATABASE()")).toString(), database.name());
    EXPECT_EQ(
        single_value(*shared, QStringLiteral("SELECT @@character_set_client")).toString(), QStringLiteral("utf8mb4"));
    EXPECT_EQ(
        single_value(*shared, QStringLiteral("SELECT @@character_set_results")).toString(), QStringLiteral("utf8mb4"));
    // Text beyond the basic plane goes both ways unchanged.
    EXPECT_EQ(single_value(*shared, QStringLiteral("SELECT 'Zoë 😀'")).toString(), QStringLiteral("Zoë 😀"));

    shared->CloseConnection();
    EXPECT_EQ(shared->State(), MYSQL_CONNECTION::Closed);
}

struct Refusal
{
    const char *label;
    bool wrong_port;
    const char *user; // nullptr: the test user
    const char *password; // nullptr: the test password
    const char *database;
    unsigned int number;
    const char *text_start;
};

void PrintTo(const Refusal &refusal, std::ostream *out)
{
    *out << refusal.label;
}

class ConnectRefusal : public ::testing::TestWithParam<Refusal>
{
};

TEST_P(ConnectRefusal, KeepsTheLibraryNumberAndTextAndStaysClosed)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    const TestServer &server = database.server();
    const Refusal &refusal = GetParam();
    const QString user = refusal.user ? QString::fromUtf8(refusal.user) : server.user;
    const QString password = refusal.password ? QString::fromUtf8(refusal.password) : server.password;
    const qint32 port = refusal.wrong_port ? closed_port() : server.port;
    const QString dbname = QString::fromUtf8(refusal.database);

    auto connection = std::make_shared<MYSQL_CONNECTION>();
    EXPECT_EQ(connection->OpenConnection(server.host, user, password, dbname, port, 0), MYSQL_CONNECTION::Closed);
    EXPECT_EQ(connection->State(), MYSQL_CONNECTION::Closed);
    EXPECT_EQ(connection->Error()->Number(), static_cast<qint32>(refusal.number));
    EXPECT_TRUE(connection->Error()->Description().startsWith(QString::fromUtf8(refusal.text_start)))
        << connection->Error()->Description().toStdString();

    // The same attempt through the bare client library gives the same words.
    MYSQL *raw = mysql_init(nullptr);
    mysql_real_connect(raw, server.host.toUtf8().constData(), user.toUtf8().constData(), password.toUtf8().constData(),
        dbname.toUtf8().constData(), static_cast<unsigned>(port), nullptr, 0);
    EXPECT_EQ(connection->Error()->Number(), static_cast<qint32>(mysql_errno(raw)));
    EXPECT_EQ(connection->Error()->Description(), QString::fromUtf8(mysql_error(raw)));
    mysql_close(raw);

    // Closing what is already closed changes nothing, the error included.
    connection->CloseConnection();
    EXPECT_EQ(connection->Error()->Number(), static_cast<qint32>(refusal.number));
    EXPECT_EQ(connection->LastInsertID(), 0);
    EXPECT_EQ(connection->QueryInfo(), QString());
}

INSTANTIATE_TEST_SUITE_P(Refusals, ConnectRefusal,
    ::testing::Values(Refusal { "port", true, nullptr, nullptr, "", 2002, "Can't connect to server on '127.0.0.1'" },
        Refusal { "user", false, "nobody_here", nullptr, "", 1045, "Access denied for user 'nobody_here'@" },
        Refusal { "password", false, nullptr, "wrong password", "", 1045, "Access denied for user 'tressel'@" },
        Refusal {
            "database", false, nullptr, nullptr, "no_such_database", 1049, "Unknown database 'no_such_database'" }),
    [](const auto &info) { return std::string(info.param.label); });

TEST(Connection, SecondOpenClosesTheFirstConnection)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    auto connection = open_to(database);
    const QString first = single_value(*connection, QStringLiteral("SELECT CONNECTION_ID()")).toString();
    const TestServer &server = database.server();
    connection->OpenConnection(server.host, server.user, server.password, QString(), server.port, 0);
    ASSERT_EQ(connection->State(), MYSQL_CONNECTION::Open);
    const QString second = single_value(*connection, QStringLiteral("SELECT CONNECTION_ID()")).toString();
    EXPECT_NE(first, second);
    // The server drops the first session once it has read the client's quit.
    QStringList alive;
    for (int attempt = 0; attempt < 200; ++attempt) {
        alive = database.column(QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE ID = ") + first);
        if (alive.isEmpty())
            break;
        QThread::msleep(20);
    }
    EXPECT_TRUE(alive.isEmpty()) << "the first connection is still open";
}

TEST(Connection, BlankStatementOrClosedConnectionSendsNothing)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    auto connection = open_to(database, database.name());
    connection->Execute(QStringLiteral("SELECT * FROM missing_table"));
    ASSERT_NE(connection->Error()->Number(), 0);

    qint32 affected = 77;
    const auto result = connection->Execute(QStringLiteral("   "), affected);
    EXPECT_EQ(result->State(), MYSQL_RS::Closed);
    EXPECT_EQ(connection->Error()->Number(), 0);
    EXPECT_EQ(affected, 77);
    EXPECT_EQ(connection->QueryString(), QStringLiteral("   "));

    // Nor does a closed connection.
    connection->CloseConnection();
    const auto closed = connection->Execute(QStringLiteral("SELECT 1"), affected);
    EXPECT_EQ(closed->State(), MYSQL_RS::Closed);
    EXPECT_EQ(affected, 77);
    EXPECT_EQ(connection->Error()->Number(), 0);
    EXPECT_FALSE(connection->SelectDb(database.name()));
}

TEST(Connection, StatementsWithoutRowsReportTheirCounts)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    auto connection = open_to(database, database.name());
    qint32 affected = -5;
    connection->Execute(
        QStringLiteral("CREATE TABLE t (id INT AUTO_INCREMENT PRIMARY KEY, name VARCHAR(20))"), affected);
    EXPECT_EQ(connection->Error()->Number(), 0);
    EXPECT_EQ(affected, 0);

    const auto insert
        = connection->Execute(QStringLiteral(" INSERT INTO t (name) VALUES ('a'), ('b'), ('c') "), affected);
    EXPECT_EQ(insert->State(), MYSQL_RS::Closed);
    EXPECT_EQ(insert->AffectedRecords(), 3);
    EXPECT_EQ(affected, 3);
    EXPECT_TRUE(insert->EOF_());
    EXPECT_TRUE(insert->BOF());
    EXPECT_EQ(insert->AbsolutePosition(), -1);
    EXPECT_EQ(connection->QueryString(), QStringLiteral(" INSERT INTO t (name) VALUES ('a'), ('b'), ('c') "));
    EXPECT_EQ(insert->QueryString(), QStringLiteral("INSERT INTO t (name) VALUES ('a'), ('b'), ('c')"));
    EXPECT_EQ(connection->QueryInfo(), QStringLiteral("Records: 3  Duplicates: 0  Warnings: 0"));
    EXPECT_EQ(connection->LastInsertID(), 1); // the first id of a multi-row insert

    connection->Execute(QStringLiteral("INSERT INTO t (name) VALUES ('d')"));
    EXPECT_EQ(connection->LastInsertID(), 4);
    EXPECT_EQ(database.column(QStringLiteral("SELECT name FROM t ORDER BY id")), (QStringList { "a", "b", "c", "d" }));
}

TEST(Connection, StatementErrorsStayUntilTheNextStatement)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    auto connection = open_to(database, database.name());
    qint32 affected = 9;
    const auto failed = connection->Execute(QStringLiteral("SELECT * FROM `tablé`"), affected);
    EXPECT_EQ(failed->State(), MYSQL_RS::Closed);
    EXPECT_EQ(failed->RecordCount(), 0);
    EXPECT_EQ(connection->Error()->Number(), 1146);
    // The server's text, with the name outside ASCII intact.
    EXPECT_EQ(
        connection->Error()->Description(), QStringLiteral("Table '%1.tablé' doesn't exist").arg(database.name()));

    // Ping, QueryInfo and LastInsertID neither clear nor set the error.
    connection->Ping();
    connection->QueryInfo();
    connection->LastInsertID();
    EXPECT_EQ(connection->Error()->Number(), 1146);
    // An unknown flush target sends nothing and keeps it too.
    connection->Flush(7);
    EXPECT_EQ(connection->Error()->Number(), 1146);
    connection->Flush(5);
    EXPECT_EQ(connection->Error()->Number(), 0);

    connection->Execute(QStringLiteral("SELEC 1"));
    EXPECT_EQ(connection->Error()->Number(), 1064);
    connection->Error()->Clear();
    EXPECT_EQ(connection->Error()->Number(), 0);
    EXPECT_EQ(connection->Error()->Description(), QString());
}

TEST(Connection, ZeroByteDoesNotCutAStatementShort)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    auto connection = open_to(database, database.name());
    database.exec(
        { QStringLiteral("CREATE TABLE t (id INT PRIMARY KEY)"), QStringLiteral("INSERT INTO t VALUES (1), (2)") });
    // Cut at the zero byte this would delete every row.
    const QString statement = QStringLiteral("DELETE FROM t") + QChar(0) + QStringLiteral(" WHERE id = 1");
    connection->Execute(statement);
    EXPECT_NE(connection->Error()->Number(), 0);
    EXPECT_EQ(database.column(QStringLiteral("SELECT id FROM t ORDER BY id")), (QStringList { "1", "2" }));
}

TEST(Connection, SelectDbChangesTheDatabaseOnlyOnSuccess)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    auto connection = open_to(database);
    EXPECT_TRUE(connection->SelectDb(database.name()));
    EXPECT_EQ(connection->dbname(), database.name());
    EXPECT_EQ(connection->Error()->Number(), 0);

    EXPECT_FALSE(connection->SelectDb(QStringLiteral("no_such_db")));
    EXPECT_EQ(connection->dbname(), database.name());
    EXPECT_EQ(connection->Error()->Number(), 1049);
    EXPECT_EQ(connection->Error()->Description(), QStringLiteral("Unknown database 'no_such_db'"));
    EXPECT_EQ(single_value(*connection, QStringLiteral("SELECT DATABASE()")).toString(), database.name());
}

TEST(Connection, OptionsApplyOnEveryOpenInTheirOrder)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    const TestServer &server = database.server();
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    connection->SetOption(MYSQL_CONNECTION::InitCommand, QStringLiteral("SET @greeting = 'hello'"));
    connection->SetOption(MYSQL_CONNECTION::Compress, QString());
    connection->SetOption(MYSQL_CONNECTION::ConnectTimeout, QStringLiteral("5"));
    connection->SetOption(99, QStringLiteral("ignored"));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(connection->OpenConnection(server.host, server.user, server.password, QString(), server.port, 0),
            MYSQL_CONNECTION::Open)
            << connection->Error()->Description().toStdString();
        EXPECT_EQ(single_value(*connection, QStringLiteral("SELECT @greeting")).toString(), QStringLiteral("hello"));
        const auto status = connection->Execute(QStringLiteral("SHOW SESSION STATUS LIKE 'Compression'"));
        EXPECT_EQ(status->fields(1)->Value().toString(), QStringLiteral("ON"));
        connection->CloseConnection();
    }
    connection->ClearOptions();
    connection->OpenConnection(server.host, server.user, server.password, QString(), server.port, 0);
    EXPECT_TRUE(single_value(*connection, QStringLiteral("SELECT @greeting")).isNull());
}

TEST(Connection, OptionFileAndGroupReachTheLibrary)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    const TestServer &server = database.server();
    // "localhost" goes through the socket that the option file names.
    QTemporaryFile options;
    ASSERT_TRUE(options.open());
    options.write(
        QStringLiteral("[tressel_test]\nsocket=%1\ninit-command=SET @from_file = 'yes'\n").arg(server.socket).toUtf8());
    options.close();
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    connection->SetOption(MYSQL_CONNECTION::ReadDefaultFile, options.fileName());
    connection->SetOption(MYSQL_CONNECTION::ReadDefaultGroup, QStringLiteral("tressel_test"));
    ASSERT_EQ(
        connection->OpenConnection(QStringLiteral("localhost"), server.user, server.password), MYSQL_CONNECTION::Open)
        << connection->Error()->Description().toStdString();
    EXPECT_EQ(single_value(*connection, QStringLiteral("SELECT @from_file")).toString(), QStringLiteral("yes"));
    EXPECT_EQ(single_value(*connection, QStringLiteral("SELECT CURRENT_USER()")).toString(),
        server.user + QStringLiteral("@localhost"));
}

TEST(Connection, ServerThatNeverAnswersGivesUpAfterTheConnectTimeOut)
{
    // Accepts connections (the kernel does) but never says a word.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    auto connection = std::make_shared<MYSQL_CONNECTION>();
    connection->SetOption(MYSQL_CONNECTION::ConnectTimeout, QStringLiteral("1"));
    EXPECT_EQ(connection->OpenConnection(QStringLiteral("127.0.0.1"), QStringLiteral("u"), QStringLiteral("p"),
                  QString(), silent.serverPort(), 0),
        MYSQL_CONNECTION::Closed);
    EXPECT_EQ(connection->Error()->Number(), 2013);
    EXPECT_TRUE(connection->Error()->Description().startsWith(QStringLiteral("Lost connection to server")))
        << connection->Error()->Description().toStdString();
}

} // namespace

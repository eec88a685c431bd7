// Schema discovery as the MySQL page drives it: the connection profile, the
// databases, a database's tables and a table's columns with their types.
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "generate/db.h"
#include "model/globals.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MySQLTable.h"
#include "mysql/MySQLTables.h"
#include "mysql/connections.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList all(const StringCollection &collection)
{
    QStringList values;
    for (const auto &entry : collection)
        values << entry.value;
    return values;
}

class Schema : public ::testing::Test
{
protected:
    void SetUp() override
    {
        globals::reset();
        ASSERT_TRUE(database.ok());
        const TestServer &server = database.server();
        profile = globals::mysql_connections();
        profile->set_host(server.host);
        profile->set_user(server.user);
        profile->set_password(server.password);
        profile->set_port(QString::number(server.port));
    }
    void TearDown() override { globals::reset(); }

    TestDatabase database;
    std::shared_ptr<connections> profile;
};

TEST_F(Schema, ConnectOpensTheSharedConnectionWithoutADatabase)
{
    EXPECT_EQ(connections().port(), QStringLiteral("3306"));
    ASSERT_TRUE(profile->Connect());
    ASSERT_TRUE(globals::mysql_conn);
    EXPECT_EQ(globals::mysql_conn->State(), MYSQL_CONNECTION::Open);
    EXPECT_EQ(globals::mysql_conn->dbname(), QString());

    const auto first = globals::mysql_conn;
    ASSERT_TRUE(profile->Connect());
    EXPECT_NE(globals::mysql_conn, first);

    profile->disconnect();
    EXPECT_FALSE(globals::mysql_conn);
    EXPECT_EQ(profile->GetDatabases(), QStringList { QString() });
    EXPECT_EQ(profile->database_count(), 0);

    // A new run starts without connection and with fresh settings.
    ASSERT_TRUE(profile->Connect());
    const auto action = globals::mysql_db();
    globals::reset();
    EXPECT_FALSE(globals::mysql_conn);
    EXPECT_NE(globals::mysql_db(), action);
    EXPECT_NE(globals::mysql_connections(), profile);
    EXPECT_EQ(globals::mysql_connections()->host(), QString());
}

TEST_F(Schema, FailedConnectKeepsTheServersMessage)
{
    profile->set_password(QStringLiteral("not the password"));
    EXPECT_FALSE(profile->Connect());
    ASSERT_TRUE(globals::mysql_conn);
    EXPECT_EQ(globals::mysql_conn->Error()->Number(), 1045);
    EXPECT_EQ(globals::mysql_conn->State(), MYSQL_CONNECTION::Closed);
}

TEST_F(Schema, PortThatIsNotANumberIsRefusedWithAMessage)
{
    for (const char *port : { "33o6", "-1", "70000", "3306 x" }) {
        profile->set_port(QString::fromLatin1(port));
        EXPECT_FALSE(profile->Connect()) << port;
        EXPECT_EQ(globals::mysql_conn->Error()->Number(), -2) << port;
        EXPECT_EQ(
            globals::mysql_conn->Error()->Description(), QStringLiteral("The port must be a number from 0 to 65535."));
    }
    profile->set_port(QStringLiteral(" %1 ").arg(database.server().port));
    EXPECT_TRUE(profile->Connect());
}

TEST_F(Schema, ConnectGivesUpOnAServerThatNeverAnswers)
{
    // The wizard must not hang: the profile's connect time-out ends it.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    profile->set_port(QString::number(silent.serverPort()));
    EXPECT_FALSE(profile->Connect());
    EXPECT_EQ(globals::mysql_conn->Error()->Number(), 2013);
}

TEST_F(Schema, DatabasesAreListedWithOneEmptyEntryAfterThem)
{
    database.exec(QStringLiteral("CREATE DATABASE IF NOT EXISTS `%1_b`").arg(database.name()));
    ASSERT_TRUE(profile->Connect());
    const QStringList names = profile->GetDatabases();
    database.exec(QStringLiteral("DROP DATABASE `%1_b`").arg(database.name()));
    ASSERT_GE(names.size(), 3);
    EXPECT_EQ(profile->database_count(), names.size() - 1);
    EXPECT_EQ(names.last(), QString());
    const qsizetype own = names.indexOf(database.name());
    ASSERT_GE(own, 0);
    EXPECT_EQ(names.value(own + 1), database.name() + QStringLiteral("_b")); // the server's order
    EXPECT_TRUE(names.contains(QStringLiteral("information_schema")));
    EXPECT_TRUE(names.contains(QStringLiteral("mysql")));
}

TEST_F(Schema, SaveAppendsTheProfileAsOneLine)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("profiles.txt"));
    profile->set_host(QStringLiteral("db.example.com"));
    profile->set_user(QStringLiteral("me"));
    profile->set_password(QStringLiteral("secret"));
    profile->set_port(QStringLiteral("3307"));
    EXPECT_TRUE(profile->Save(path));
    EXPECT_TRUE(profile->Save(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
        QByteArray("Mysql connection =db.example.com;me;secret:3307\r\n"
                   "Mysql connection =db.example.com;me;secret:3307\r\n"));
    EXPECT_FALSE(profile->Save(folder.filePath(QStringLiteral("missing/folder/file.txt"))));
}

TEST_F(Schema, TablesOfTheChosenDatabaseAreListedAndFoundWithoutRegardToCase)
{
    database.exec({ QStringLiteral("CREATE TABLE users (id INT)"), QStringLiteral("CREATE TABLE `odd``name` (x INT)"),
        QStringLiteral("CREATE TABLE Users2 (id INT)") });
    ASSERT_TRUE(profile->Connect());
    db &action = *globals::mysql_db();
    action.dbname = database.name();
    ASSERT_TRUE(action.read_tables());
    ASSERT_TRUE(action.tables);
    QStringList listed;
    for (const auto &entry : *action.tables)
        listed << entry.value->table_name();
    EXPECT_EQ(listed, (QStringList { "Users2", "odd`name", "users" }));
    EXPECT_EQ(action.tables->Item(QStringLiteral("USERS"))->table_name(), QStringLiteral("users"));
    EXPECT_EQ(action.tables->Item(2)->table_name(), QStringLiteral("odd`name"));

    action.dbname = QStringLiteral("no_such_database");
    EXPECT_FALSE(action.read_tables());
    EXPECT_EQ(action.tables->Count(), 0);
    EXPECT_EQ(globals::mysql_conn->Error()->Number(), 1049);
}

TEST_F(Schema, ColumnsAreReadInTableOrderWithTheirTypeKeywords)
{
    database.exec(QStringLiteral(
        "CREATE TABLE t (id BIGINT(20) UNSIGNED, qty INT(11), pic MEDIUMBLOB, seen DATETIME, stamp TIMESTAMP NULL, "
        "tags SET('x','y'), day DATE, flag BIT(1), label VARCHAR(40), kind ENUM('int','text'))"));
    ASSERT_TRUE(profile->Connect());
    db &action = *globals::mysql_db();
    action.dbname = database.name();
    ASSERT_TRUE(action.read_tables());
    const auto table = action.tables->Item(QStringLiteral("t"));
    table->read_flds();
    EXPECT_EQ(all(*table->field_names()),
        (QStringList { "id", "qty", "pic", "seen", "stamp", "tags", "day", "flag", "label", "kind" }));
    EXPECT_EQ(all(*table->field_types()),
        (QStringList { "bigint", "int", "mediumblob", "datetime", "timestamp", "set", "date", "", "varchar", "int" }));
    EXPECT_EQ(table->field_types()->Item(QStringLiteral("SEEN")), QStringLiteral("datetime"));

    // Reading again gives the same columns, not twice as many.
    table->read_flds();
    EXPECT_EQ(table->field_names()->Count(), 10);
}

TEST_F(Schema, TableThatCannotBeReadHasNoColumns)
{
    ASSERT_TRUE(profile->Connect());
    globals::mysql_conn->SelectDb(database.name());
    MySQLTable missing;
    missing.set_table_name(QStringLiteral("missing"));
    missing.read_flds();
    EXPECT_EQ(missing.field_names()->Count(), 0);
    EXPECT_EQ(missing.field_types()->Count(), 0);

    database.exec(QStringLiteral("CREATE TABLE `we``ird` (a INT, b TEXT)"));
    MySQLTable weird;
    weird.set_table_name(QStringLiteral("we`ird"));
    weird.read_flds();
    EXPECT_EQ(all(*weird.field_names()), (QStringList { "a", "b" }));
}

TEST_F(Schema, CreatedbMakesTheDatabaseOnce)
{
    ASSERT_TRUE(profile->Connect());
    db &action = *globals::mysql_db();
    action.dbname = database.name() + QStringLiteral("-new");
    EXPECT_TRUE(action.createdb());
    EXPECT_TRUE(action.createdb());
    EXPECT_EQ(database.column(QStringLiteral("SHOW DATABASES LIKE '%1-new'").arg(database.name())),
        QStringList { database.name() + QStringLiteral("-new") });
    database.exec(QStringLiteral("DROP DATABASE `%1-new`").arg(database.name()));
}

struct TypeCase
{
    const char *type;
    const char *keyword;
};

class FieldDataType : public ::testing::TestWithParam<TypeCase>
{
};

TEST_P(FieldDataType, FirstKeywordContainedInTheTypeText)
{
    EXPECT_EQ(
        MySQLTable::field_data_type(QString::fromLatin1(GetParam().type)), QString::fromLatin1(GetParam().keyword));
}

INSTANTIATE_TEST_SUITE_P(Keywords, FieldDataType,
    ::testing::Values(TypeCase { "bigint(20) unsigned", "bigint" }, TypeCase { "int(11)", "int" },
        TypeCase { "tinyint(1)", "tinyint" }, TypeCase { "mediumblob", "mediumblob" },
        TypeCase { "datetime", "datetime" }, TypeCase { "date", "date" }, TypeCase { "timestamp(14)", "timestamp" },
        TypeCase { "time", "time" }, TypeCase { "set('x','y')", "set" }, TypeCase { "varchar(40)", "varchar" },
        TypeCase { "char(2)", "char" }, TypeCase { "longtext", "longtext" }, TypeCase { "tinytext", "tinytext" },
        TypeCase { "text", "text" }, TypeCase { "double(8,2)", "double" }, TypeCase { "decimal(10,0)", "decimal" },
        TypeCase { "year(4)", "year" }, TypeCase { "enum('a','b')", "enum" }, TypeCase { "enum('int','b')", "int" },
        TypeCase { "bit(1)", "" }, TypeCase { "INT", "" }, TypeCase { "", "" }));

TEST(MySQLTablesCollection, AddSharesTheColumnNamesButNotTheTypes)
{
    MySQLTable source;
    source.set_table_name(QStringLiteral("users"));
    source.field_names()->Add(QStringLiteral("id"));
    source.field_types()->Add(QStringLiteral("int"), QStringLiteral("id"));
    MySQLTables tables;
    const auto stored = tables.Add(source, QStringLiteral("users"));
    EXPECT_NE(stored.get(), &source);
    EXPECT_EQ(stored->field_names(), source.field_names());
    EXPECT_EQ(stored->field_types()->Count(), 0);
    EXPECT_EQ(tables.Item(QStringLiteral("USERS")), stored);
    EXPECT_THROW(tables.Add(source, QStringLiteral("Users")), CollectionError);
    tables.Add(source, QString());
    EXPECT_EQ(tables.Count(), 2);
    tables.Remove(QStringLiteral("users"));
    EXPECT_EQ(tables.Count(), 1);
}

} // namespace

// The MySQL action against the test server: the page's schema discovery (the
// connection profile, databases, tables, columns and their type keywords),
// and setup.php and the generated script's insert run with PHP, where what a
// visitor posts must arrive in the table unchanged.
#include "GeneratedForm.h"
#include "PhpRunner.h"
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "generate/db.h"
#include "generate/lib.h"
#include "generate/mysqli_code.h"
#include "generate/sql.h"
#include "model/globals.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MySQLTable.h"
#include "mysql/MySQLTables.h"
#include "mysql/connections.h"

#include <QFile>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {

QStringList all(const StringCollection &collection)
{
    QStringList values;
    for (const auto &entry : collection)
        values << entry.value;
    return values;
}

class MySqlAction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.ok());
        page.prefs().is_mysql = true;
        page.prefs().success_message = "Thank you";
        profile.set_host(database.server().host);
        profile.set_user(database.server().user);
        profile.set_password(database.server().password);
        profile.set_port(QString::number(database.server().port));
        action.form = page.form;
        action.connection = globals::mysql_connections();
        action.dbname = database.name();
        action.table = std::make_shared<MySQLTable>();
        action.table->set_table_name("entries");
    }

    // A posted field stored in the column <name>_col.
    Field &column(const QString &name, const QString &type = "text", const QString &posted = QString())
    {
        Field &field = page.add(name, type, posted);
        field.mysql_field = name + "_col";
        return field;
    }
    PhpResponse post(const PhpRequest &request)
    {
        page.write(runner);
        return runner.run("index.php", request);
    }
    // Posts, expecting the success message, and gives the rows stored.
    RawRows post_ok(const PhpRequest &request, const QString &columns)
    {
        const PhpResponse response = post(request);
        EXPECT_EQ(response.body, "Thank you") << response.errors.toStdString();
        EXPECT_EQ(response.errors, "");
        return database.rows("SELECT " + columns + " FROM entries");
    }

    // Writes lib.php and setup.php for the table entries as Generate does, and runs setup.php.
    PhpResponse run_setup(const QString &primary_key)
    {
        sql &setup = *globals::sql_script();
        setup.mysql_table = "entries";
        setup.primary_key = primary_key;
        lib &settings = *globals::lib_script();
        settings.host = mysqli_code::host_with_port(database.server().host, profile.port());
        settings.username = database.server().user;
        settings.password = database.server().password;
        settings.db = database.name();
        settings.table = setup.mysql_table;
        for (const auto &[file, code] :
            { std::pair { "lib.php", settings.get_lib_code() }, { "setup.php", setup.get_sql_code() } }) {
            QFile php(runner.path(file));
            EXPECT_TRUE(php.open(QIODevice::WriteOnly));
            php.write(("<?php\r\n" + code + "?>\r\n").toUtf8());
        }
        return runner.run_cli("setup.php");
    }

    TestDatabase database;
    GeneratedForm page;
    PhpRunner runner;
    connections &profile = *globals::mysql_connections();
    db &action = *globals::mysql_db();
};

TEST_F(MySqlAction, ConnectListsTheDatabasesOrKeepsWhyItFailed)
{
    // Other tests create and drop databases meanwhile: the list is judged by
    // this test's own databases, which the server lists in its order.
    const QString second = database.create_another("b"), first = database.create_another("a");
    ASSERT_TRUE(profile.Connect());
    EXPECT_EQ(globals::mysql_conn->dbname(), "");
    const QStringList listed = profile.GetDatabases();
    EXPECT_EQ(listed.filter(database.name()), database.column("SHOW DATABASES").filter(database.name()));
    EXPECT_EQ(listed.filter(database.name()), (QStringList { database.name(), first, second }));
    ASSERT_FALSE(listed.isEmpty());
    EXPECT_EQ(listed.back(), ""); // one empty entry after the names
    EXPECT_EQ(profile.database_count(), listed.size() - 1);

    profile.set_password("not the password");
    EXPECT_FALSE(profile.Connect());
    EXPECT_EQ(globals::mysql_conn->Error()->Number(), 1045);
    profile.set_port("33o6");
    EXPECT_FALSE(profile.Connect());
    EXPECT_EQ(globals::mysql_conn->Error()->Description(), "The port must be a number from 0 to 65535.");
}

TEST_F(MySqlAction, ConnectGivesUpOnAServerThatNeverAnswers)
{
    // The kernel accepts the connection, but no greeting ever comes: the
    // profile's connect time-out keeps the wizard from hanging.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    profile.set_port(QString::number(silent.serverPort()));
    EXPECT_FALSE(profile.Connect());
    EXPECT_EQ(globals::mysql_conn->Error()->Number(), 2013);
    EXPECT_TRUE(globals::mysql_conn->Error()->Description().startsWith("Lost connection to server"));
}

TEST_F(MySqlAction, TablesAndColumnsOfTheChosenDatabase)
{
    database.exec("CREATE TABLE users (id INT); CREATE TABLE `odd``name` (x INT); CREATE TABLE t (id BIGINT(20) "
                  "UNSIGNED, pic MEDIUMBLOB, seen DATETIME, tags SET('x','y'), flag BIT(1), kind ENUM('int','text'))");
    ASSERT_TRUE(profile.Connect());
    ASSERT_TRUE(action.read_tables());
    QStringList listed;
    for (const auto &entry : *action.tables)
        listed << entry.value->table_name();
    EXPECT_EQ(listed, (QStringList { "odd`name", "t", "users" }));
    EXPECT_EQ(action.tables->Item("USERS")->table_name(), "users");

    const auto table = action.tables->Item("t");
    table->read_flds();
    table->read_flds(); // reading again replaces the columns
    EXPECT_EQ(all(*table->field_names()), (QStringList { "id", "pic", "seen", "tags", "flag", "kind" }));
    EXPECT_EQ(all(*table->field_types()), (QStringList { "bigint", "mediumblob", "datetime", "set", "", "int" }));
    EXPECT_EQ(table->field_types()->Item("SEEN"), "datetime");
    action.tables->Item("odd`name")->read_flds();
    EXPECT_EQ(all(*action.tables->Item("odd`name")->field_names()), QStringList { "x" });

    action.dbname = database.name() + "_missing";
    EXPECT_FALSE(action.read_tables());
    EXPECT_EQ(action.tables->Count(), 0);
    EXPECT_EQ(globals::mysql_conn->Error()->Number(), 1049);
}

TEST(FieldDataType, IsTheFirstKeywordInTheTypeText)
{
    for (const auto &[type, keyword] : std::vector<std::pair<QString, QString>> { { "bigint(20) unsigned", "bigint" },
             { "int(11)", "int" }, { "tinyint(1)", "tinyint" }, { "mediumblob", "mediumblob" },
             { "datetime", "datetime" }, { "date", "date" }, { "timestamp(14)", "timestamp" }, { "time", "time" },
             { "set('x','y')", "set" }, { "varchar(40)", "varchar" }, { "char(2)", "char" }, { "longtext", "longtext" },
             { "text", "text" }, { "double(8,2)", "double" }, { "decimal(10,0)", "decimal" }, { "year(4)", "year" },
             { "enum('a','b')", "enum" }, { "enum('int','b')", "int" }, { "bit(1)", "" }, { "INT", "" }, { "", "" } })
        EXPECT_EQ(MySQLTable::field_data_type(type), keyword) << type.toStdString();
}

TEST_F(MySqlAction, SetupCreatesTheTableThatTheScriptFillsOrShowsWhyNot)
{
    const auto define
        = [this](const QString &name, const QString &type, const QString &length, const QString &value) -> Field & {
        Field &field = column(name);
        field.sql_type = type;
        field.sql_length = length;
        field.sql_default = value.isEmpty() ? QString() : "DEFAULT '" + value + "'";
        return field;
    };
    define("id", "INT", "(11)", "");
    // A default goes to the server as one literal, whatever it holds.
    const QString tricky = "O'Brien \"$x\" \\' {$y} ), x INT";
    define("name", "VARCHAR", "(60)", tricky);
    define("price", "DECIMAL", "(10,2)", "1.5");
    define("born", "Date", "", "2005-03-04");
    define("gone", "INT", "", "").in_mysql = false; // unassigned on the MySQL page
    // A length that is not one is left out rather than written into the statement.
    define("note", "TEXT", "(5) DEFAULT 'x'", "");
    const PhpResponse created = run_setup("id_col");
    EXPECT_EQ(created.body, "Table created successfully") << created.errors.toStdString();
    EXPECT_EQ(created.errors, "");
    EXPECT_EQ(database.column("SELECT TRIM(CONCAT_WS(' ', COLUMN_NAME, COLUMN_TYPE, COLUMN_KEY)) FROM "
                              "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() ORDER BY ORDINAL_POSITION"),
        (QStringList { "id_col int(11) PRI", "name_col varchar(60)", "price_col decimal(10,2)", "born_col date",
            "note_col text" }));
    database.exec("INSERT INTO entries (id_col) VALUES (1)");
    EXPECT_EQ(database.rows("SELECT name_col, price_col, born_col, note_col FROM entries"),
        (RawRows { { tricky.toUtf8(), "1.50", "2005-03-04", std::nullopt } }));
    const PhpResponse posted = post(
        PhpRequest().add("id", "7").add("name", "ann").add("price", "2").add("born", "2001-02-03").add("note", "n"));
    EXPECT_EQ(posted.body, "Thank you") << posted.errors.toStdString();
    EXPECT_EQ(database.column("SELECT CONCAT_WS(' ', id_col, name_col, price_col, born_col, note_col) FROM entries "
                              "WHERE id_col = 7"),
        QStringList { "7 ann 2.00 2001-02-03 n" });

    // The server's words about a statement it refuses are shown as text.
    database.exec("DROP TABLE entries");
    const PhpResponse refused = run_setup("<b>");
    EXPECT_TRUE(refused.body.startsWith("Invalid query: ")) << refused.body.toStdString();
    EXPECT_TRUE(refused.body.contains("&#039;&lt;b&gt;&#039;")) << refused.body.toStdString();
    EXPECT_FALSE(refused.body.contains('<')) << refused.body.toStdString();
}

TEST_F(MySqlAction, PostedValuesArriveExactlyAsPosted)
{
    database.exec("CREATE TABLE entries (name_col TEXT, other_col VARCHAR(20))");
    column("name");
    column("other");
    for (const QByteArray &value :
        { QByteArray("plain text"), QByteArray("It's \"quoted\""), QByteArray("C:\\path\\to\\n \\' \\\\"),
            QByteArray("'); DROP TABLE entries; --"), QByteArray("\"); DROP TABLE entries; -- $tsl_db {$x}"),
            QByteArray("zero\0byte", 9), QByteArray("Zo\xc3\xab \xf0\x9f\x98\x80"), QByteArray() }) {
        SCOPED_TRACE(value.toStdString());
        database.exec("DELETE FROM entries");
        // All but NUL bytes, which no visitor types.
        EXPECT_EQ(post_ok(PhpRequest().add("name", value).add("other", "after"), "name_col, other_col"),
            (RawRows { { QByteArray(value).replace(QByteArray(1, '\0'), QByteArray()), "after" } }));
    }
}

TEST_F(MySqlAction, MultiSelectValuesAndUploadNamesAreStored)
{
    database.exec("CREATE TABLE entries (colors_col TEXT, photo_col TEXT, skipped_col TEXT DEFAULT 'untouched')");
    column("colors", "multi select", "colors[]");
    column("photo", "file");
    column("skipped").in_mysql = false;
    PhpRequest request;
    request.add("colors[]", "red").add("colors[]", "it's \"green\"").add("skipped", "ignored");
    request.uploads.append({ "photo", "my photo's $name.png", "PNGDATA", "image/png" });
    EXPECT_EQ(post_ok(request, "colors_col, photo_col, skipped_col"),
        (RawRows { { "red&it's \"green\"", "my photo's $name.png", "untouched" } }));
}

// Only date fields are converted.
TEST_F(MySqlAction, TypedDatesAreStoredInTheServersFormat)
{
    column("day").is_date_field = true;
    column("name");
    globals::is_convert_date = true;
    const std::tuple<qint32, const char *, const char *, const char *> dates[] = {
        { 0, "DATE", "3/4/2005", "2005-03-04" }, // month, day, year
        { 0, "DATE", "12-31-1999", "1999-12-31" },
        { 1, "DATE", "4/3/2005", "2005-03-04" }, // day, month, year
        { 2, "DATETIME", "3/4/2005 10:20:30", "2005-03-04 10:20:30" },
        { 3, "DATETIME", "4/3/2005 23:59:01", "2005-03-04 23:59:01" },
    };
    for (const auto &[format, type, typed, stored] : dates) {
        SCOPED_TRACE(typed);
        database.exec(
            QString("DROP TABLE IF EXISTS entries; CREATE TABLE entries (day_col %1 NULL, name_col TEXT)").arg(type));
        page.form->date_format = format;
        EXPECT_EQ(post_ok(PhpRequest().add("day", typed).add("name", "3/4/2005"), "day_col, name_col"),
            (RawRows { { stored, "3/4/2005" } }));
    }
}

struct Failure
{
    const char *label;
    bool server_down;
    const char *dbname; // nullptr: the test's; %1 stands for it
    const char *table, *posted, *message; // %1: the test's database
    friend void PrintTo(const Failure &failure, std::ostream *out) { *out << failure.label; }
};

class FailureText : public MySqlAction, public ::testing::WithParamInterface<Failure>
{
};

// The server's words are shown as text, for they may quote what the visitor
// posted; without show_errors nothing of them is shown.
TEST_P(FailureText, ShowErrorsEndsWithTheServersReasonOrGoesOnSilently)
{
    const Failure &failure = GetParam();
    database.exec("CREATE TABLE entries (name_col VARCHAR(24) UNIQUE)");
    database.exec("INSERT INTO entries VALUES ('<svg onload=alert(1)>')");
    column("name");
    if (failure.server_down)
        profile.set_port(QString::number(closed_port()));
    if (failure.dbname)
        action.dbname = QString(failure.dbname).arg(database.name());
    action.table->set_table_name(failure.table);
    const PhpResponse shown = post(PhpRequest().add("name", failure.posted));
    EXPECT_EQ(shown.body, QString(failure.message).arg(database.name()).toUtf8());
    EXPECT_EQ(shown.errors, "");
    action.show_errors = false;
    const PhpResponse silent = post(PhpRequest().add("name", failure.posted));
    EXPECT_EQ(silent.body, "Thank you");
    EXPECT_EQ(silent.errors, "");
    EXPECT_EQ(database.column("SELECT COUNT(*) FROM entries"), QStringList { "1" });
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureText,
    ::testing::Values(Failure { "server_down", true, nullptr, "entries", "x", "Could not connect: Connection refused" },
        Failure { "missing_table", false, nullptr, "missing", "x",
            "Invalid query: Table &#039;%1.missing&#039; doesn&#039;t exist" },
        Failure { "value_too_long", false, nullptr, "entries", "<b>abcdefghijklmnopqrstuvwxyz</b>",
            "Invalid query: Data too long for column &#039;name_col&#039; at row 1" },
        Failure { "visitors_value_quoted", false, nullptr, "entries", "<svg onload=alert(1)>",
            "Invalid query: Duplicate entry &#039;&lt;svg onload=alert(1)&gt;&#039; for key &#039;name_col&#039;" },
        Failure { "database_unknown", false, "%1<b>\\n$db", "entries", "x",
            "Can not use %1&lt;b&gt;\\n$db : Unknown database &#039;%1&lt;b&gt;\\n$db&#039;" }),
    [](const auto &info) { return std::string(info.param.label); });

} // namespace

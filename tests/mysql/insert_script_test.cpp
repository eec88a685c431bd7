// The generated script's MySQL insert and setup.php, run with PHP against the
// test server: what a visitor posts must arrive in the table unchanged.
#include "GeneratedForm.h"
#include "PhpRunner.h"
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "generate/CSV.h"
#include "generate/db.h"
#include "generate/lib.h"
#include "generate/mysqli_code.h"
#include "generate/sql.h"
#include "model/globals.h"
#include "mysql/MySQLTable.h"
#include "mysql/MySQLTables.h"
#include "mysql/connections.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const QByteArray thanks = "Thank you";

class InsertScript : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(database.ok());
        const TestServer &server = database.server();
        page.prefs().is_mysql = true;
        page.prefs().success_message = QString::fromLatin1(thanks);
        profile = globals::mysql_connections();
        profile->set_host(server.host);
        profile->set_user(server.user);
        profile->set_password(server.password);
        profile->set_port(QString::number(server.port));
        action().form = page.form;
        action().connection = profile;
        action().dbname = database.name();
        action().table = std::make_shared<MySQLTable>();
        action().table->set_table_name(QStringLiteral("entries"));
    }
    void TearDown() override { globals::reset(); }

    static db &action() { return *globals::mysql_db(); }

    Field &column(const QString &name, const QString &type = QStringLiteral("text"), const QString &posted = QString())
    {
        Field &field = page.add(name, type, posted);
        field.mysql_field = name + QStringLiteral("_col");
        return field;
    }

    PhpResponse post(const PhpRequest &request)
    {
        page.write(runner);
        return runner.run(QStringLiteral("index.php"), request);
    }

    // Posts and expects the script to finish with the success message.
    void post_ok(const PhpRequest &request)
    {
        const PhpResponse response = post(request);
        EXPECT_EQ(response.body, thanks) << response.errors.toStdString();
        EXPECT_EQ(response.errors, QByteArray());
    }

    RawRows stored(const QString &columns)
    {
        return database.rows(QStringLiteral("SELECT %1 FROM entries ORDER BY id").arg(columns));
    }

    TestDatabase database;
    GeneratedForm page;
    PhpRunner runner;
    std::shared_ptr<connections> profile;
};

void write_php_file(const QString &path, const QString &body)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((QStringLiteral("<?php\r\n") + body + QStringLiteral("?>\r\n")).toUtf8());
}

TEST_F(InsertScript, SetupCreatesTheTableThatTheScriptFills)
{
    const TestServer &server = database.server();
    Field &id = column(QStringLiteral("id"));
    id.sql_type = QStringLiteral("int");
    id.sql_length = QStringLiteral("(11)");
    id.sql_default = QStringLiteral("NOT NULL");
    Field &name = column(QStringLiteral("name"));
    name.sql_type = QStringLiteral("varchar");
    name.sql_length = QStringLiteral("(50)");
    name.sql_default = QStringLiteral("DEFAULT 'nobody \"$x\"'");
    Field &unmapped = page.add(QStringLiteral("unmapped"));
    unmapped.sql_type = QStringLiteral("int");
    unmapped.in_mysql = false;
    sql &setup = *globals::sql_script();
    setup.mysql_table = QStringLiteral("entries");
    setup.primary_key = QStringLiteral("id_col");
    lib &settings = *globals::lib_script();
    settings.host = mysqli_code::host_with_port(server.host, profile->port());
    settings.username = server.user;
    settings.password = server.password;
    settings.db = database.name();
    settings.table = setup.mysql_table;
    write_php_file(runner.path(QStringLiteral("lib.php")), settings.get_lib_code());
    write_php_file(runner.path(QStringLiteral("setup.php")), setup.get_sql_code());

    for (int round = 0; round < 2; ++round) {
        const PhpResponse created = runner.run_cli(QStringLiteral("setup.php"));
        EXPECT_EQ(created.body, QByteArray("Table created successfully")) << created.errors.toStdString();
        EXPECT_EQ(created.errors, QByteArray());
    }
    EXPECT_EQ(database.column(QStringLiteral("SELECT CONCAT(COLUMN_NAME, ' ', COLUMN_TYPE, ' ', COLUMN_KEY, ' ', "
                                             "IFNULL(COLUMN_DEFAULT, '-')) FROM information_schema.COLUMNS WHERE "
                                             "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'entries' ORDER BY "
                                             "ORDINAL_POSITION")),
        (QStringList { "id_col int(11) PRI -", "name_col varchar(50)  'nobody \"$x\"'" }));

    post_ok(PhpRequest().add("id", "7").add("name", "ann"));
    EXPECT_EQ(
        database.column(QStringLiteral("SELECT CONCAT(id_col, ' ', name_col) FROM entries")), QStringList { "7 ann" });

    settings.db = QStringLiteral("no_such_db");
    write_php_file(runner.path(QStringLiteral("lib.php")), settings.get_lib_code());
    EXPECT_EQ(runner.run_cli(QStringLiteral("setup.php")).body,
        QByteArray("Can't use no_such_db : Unknown database 'no_such_db'"));
}

class StoredValue : public InsertScript, public ::testing::WithParamInterface<QByteArray>
{
};

TEST_P(StoredValue, ArrivesExactlyAsPosted)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, name_col TEXT, "
                                 "other_col VARCHAR(20))"));
    column(QStringLiteral("name"));
    column(QStringLiteral("other"));
    post_ok(PhpRequest().add("name", GetParam()).add("other", "after"));
    const RawRows rows = stored(QStringLiteral("name_col, other_col"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], GetParam());
    EXPECT_EQ(rows[0][1], QByteArray("after"));
}

INSTANTIATE_TEST_SUITE_P(Values, StoredValue,
    ::testing::Values(QByteArray("plain text"), QByteArray("It's \"quoted\""), QByteArray("C:\\path\\to\\n \\' \\\\"),
        QByteArray("'); DROP TABLE entries; --"), QByteArray("\"); DROP TABLE entries; -- $tsl_db {$x}"),
        QByteArray("zero\0byte", 9), QByteArray("Zo\xc3\xab \xf0\x9f\x98\x80"), QByteArray("")));

TEST_F(InsertScript, MultiSelectValuesAndUploadNamesAreStored)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, colors_col TEXT, "
                                 "photo_col TEXT, skipped_col TEXT DEFAULT 'untouched')"));
    column(QStringLiteral("colors"), QStringLiteral("multi select"), QStringLiteral("colors[]"));
    column(QStringLiteral("photo"), QStringLiteral("file"));
    column(QStringLiteral("skipped")).in_mysql = false;
    PhpRequest request;
    request.add("colors[]", "red").add("colors[]", "it's \"green\"").add("skipped", "ignored");
    request.uploads.append({ "photo", "my photo's $name.png", "PNGDATA", "image/png" });
    post_ok(request);
    const RawRows rows = stored(QStringLiteral("colors_col, photo_col, skipped_col"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QByteArray("red&it's \"green\""));
    EXPECT_EQ(rows[0][1], QByteArray("my photo's $name.png"));
    EXPECT_EQ(rows[0][2], QByteArray("untouched"));
}

TEST_F(InsertScript, RecordGoesToTheTableOnlyWhenTheActionIsChosen)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, name_col TEXT)"));
    column(QStringLiteral("name"));
    page.prefs().is_csv = true;
    globals::csv_file()->filename = QStringLiteral("records.csv");
    post_ok(PhpRequest().add("name", "both"));
    page.prefs().is_mysql = false;
    post_ok(PhpRequest().add("name", "file only"));
    EXPECT_EQ(database.column(QStringLiteral("SELECT name_col FROM entries")), QStringList { "both" });
    QFile csv(runner.path(QStringLiteral("records.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArray("name\nboth\nfile only\n"));
}

TEST_F(InsertScript, FormWithoutMappedFieldsInsertsADefaultRow)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, note TEXT DEFAULT 'd')"));
    page.add(QStringLiteral("name")).in_mysql = false;
    post_ok(PhpRequest().add("name", "x"));
    EXPECT_EQ(database.column(QStringLiteral("SELECT note FROM entries")), QStringList { "d" });
}

TEST_F(InsertScript, HostMayNameASocket)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, name_col TEXT)"));
    column(QStringLiteral("name"));
    profile->set_host(QStringLiteral("localhost:") + database.server().socket);
    profile->set_port(QStringLiteral("3306"));
    post_ok(PhpRequest().add("name", "through the socket"));
    EXPECT_EQ(database.column(QStringLiteral("SELECT name_col FROM entries")), QStringList { "through the socket" });
}

struct DateCase
{
    const char *label;
    qint32 format;
    const char *column_type;
    const char *typed;
    const char *stored;
};

void PrintTo(const DateCase &date, std::ostream *out)
{
    *out << date.label;
}

class DateConversion : public InsertScript, public ::testing::WithParamInterface<DateCase>
{
};

TEST_P(DateConversion, TypedDateIsStoredInTheServersFormat)
{
    const DateCase &date = GetParam();
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, day_col %1 NULL, "
                                 "name_col TEXT)")
                      .arg(QString::fromLatin1(date.column_type)));
    column(QStringLiteral("day")).is_date_field = true;
    column(QStringLiteral("name"));
    page.form->date_format = date.format;
    globals::is_convert_date = true;
    post_ok(PhpRequest().add("day", date.typed).add("name", "3/4/2005"));
    const RawRows rows = stored(QStringLiteral("day_col, name_col"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QByteArray(date.stored));
    EXPECT_EQ(rows[0][1], QByteArray("3/4/2005")); // not a date field
}

INSTANTIATE_TEST_SUITE_P(Formats, DateConversion,
    ::testing::Values(DateCase { "month_day_year", 0, "DATE", "3/4/2005", "2005-03-04" },
        DateCase { "month_day_year_dashes", 0, "DATE", "12-31-1999", "1999-12-31" },
        DateCase { "day_month_year", 1, "DATE", "4/3/2005", "2005-03-04" },
        DateCase { "month_day_year_time", 2, "DATETIME", "3/4/2005 10:20:30", "2005-03-04 10:20:30" },
        DateCase { "day_month_year_time", 3, "DATETIME", "4/3/2005 23:59:01", "2005-03-04 23:59:01" }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(InsertScript, ConnectedWizardConvertsOnlyDateAndDatetimeColumns)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, day_col DATE, "
                                 "stamp_col VARCHAR(20), when_col DATETIME)"));
    column(QStringLiteral("day"));
    column(QStringLiteral("stamp")).is_date_field = true; // the table's type wins
    column(QStringLiteral("when"));
    ASSERT_TRUE(profile->Connect());
    ASSERT_TRUE(action().read_tables());
    action().table = action().tables->Item(QStringLiteral("entries"));
    action().table->read_flds();
    globals::SuccessfullyConnected = true;
    globals::is_convert_date = true;
    page.form->date_format = 1;
    post_ok(PhpRequest().add("day", "4/3/2005").add("stamp", "4/3/2005").add("when", "5-6-2007"));
    const RawRows rows = stored(QStringLiteral("day_col, stamp_col, when_col"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], QByteArray("2005-03-04"));
    EXPECT_EQ(rows[0][1], QByteArray("4/3/2005"));
    EXPECT_EQ(rows[0][2], QByteArray("2007-06-05 00:00:00"));
}

TEST_F(InsertScript, DateWithoutSeparatorDoesNotStopTheScript)
{
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, day_col VARCHAR(20))"));
    column(QStringLiteral("day")).is_date_field = true;
    globals::is_convert_date = true;
    post_ok(PhpRequest().add("day", "20050304"));
    EXPECT_EQ(database.column(QStringLiteral("SELECT day_col FROM entries")), QStringList { "-20050304-" });
}

struct Failure
{
    const char *label;
    bool server_down;
    const char *dbname; // nullptr: the test database
    const char *table;
    const char *message; // %1: the test database
};

void PrintTo(const Failure &failure, std::ostream *out)
{
    *out << failure.label;
}

class FailureText : public InsertScript, public ::testing::WithParamInterface<Failure>
{
};

TEST_P(FailureText, ShowErrorsEndsWithTheServersReasonOrGoesOnSilently)
{
    const Failure &failure = GetParam();
    database.exec(QStringLiteral("CREATE TABLE entries (id INT AUTO_INCREMENT PRIMARY KEY, name_col VARCHAR(3))"));
    column(QStringLiteral("name"));
    if (failure.server_down)
        profile->set_port(QString::number(closed_port()));
    if (failure.dbname)
        action().dbname = QString::fromLatin1(failure.dbname);
    action().table->set_table_name(QString::fromLatin1(failure.table));

    const PhpResponse shown = post(PhpRequest().add("name", "abcdef"));
    EXPECT_EQ(shown.body, QString::fromLatin1(failure.message).arg(database.name()).toUtf8());
    EXPECT_EQ(shown.errors, QByteArray());

    action().show_errors = false;
    const PhpResponse silent = post(PhpRequest().add("name", "abcdef"));
    EXPECT_EQ(silent.body, thanks);
    EXPECT_EQ(silent.errors, QByteArray());
    EXPECT_EQ(database.column(QStringLiteral("SELECT COUNT(*) FROM entries")), QStringList { "0" });
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureText,
    ::testing::Values(Failure { "server_down", true, nullptr, "entries", "Could not connect: Connection refused" },
        Failure {
            "unknown_database", false, "no_such_db", "entries", "Can not use $tsl_db : Unknown database 'no_such_db'" },
        Failure { "missing_table", false, nullptr, "missing", "Invalid query: Table '%1.missing' doesn't exist" },
        Failure { "value_too_long", false, nullptr, "entries",
            "Invalid query: Data too long for column 'name_col' at row 1" }),
    [](const auto &info) { return std::string(info.param.label); });

} // namespace

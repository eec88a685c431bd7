// The MySQL action against the test server: the page's schema discovery (the
// connection profile, databases, tables, columns and their type keywords),
// and setup.php and the generated script's insert run with PHP, where what a
// visitor posts must arrive in the table unchanged.
#include "GeneratedForm.h"
#include "PhpRunner.h"
#include "TestServer.h"
#include "support/QtPrinters.h"

#include "generate/CSV.h"
#include "generate/cmail.h"
#include "generate/db.h"
#include "generate/lib.h"
#include "generate/mysqli_code.h"
#include "generate/sql.h"
#include "model/globals.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MySQLTable.h"
#include "mysql/MySQLTables.h"
#include "mysql/connections.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <sys/file.h>

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

    // Writes lib.php and setup.php for the table entries as Generate does, and runs setup.php
    // (on the test's database unless another is named).
    PhpResponse run_setup(const QString &primary_key, const QString &dbname = QString())
    {
        sql &setup = *globals::sql_script();
        setup.mysql_table = "entries";
        setup.primary_key = primary_key;
        lib &settings = *globals::lib_script();
        settings.host = mysqli_code::host_with_port(database.server().host, profile.port());
        settings.username = database.server().user;
        settings.password = database.server().password;
        settings.db = dbname.isEmpty() ? database.name() : dbname;
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
    const PhpResponse missing = run_setup("id_col", "<b>no such");
    EXPECT_TRUE(missing.body.startsWith("Can't use &lt;b&gt;no such : ")) << missing.body.toStdString();
    EXPECT_FALSE(missing.body.contains('<')) << missing.body.toStdString();
}

// Column names are quoted wherever they go: words of SQL, blanks, hyphens and back-ticks.
TEST_F(MySqlAction, SetupAndTheScriptTakeAnyColumnName)
{
    const QStringList names { "order", "group", "first name", "a-b", "we`ird" };
    PhpRequest request;
    for (const QString &name : names) {
        const QString posted = "f" + QString::number(request.fields.size());
        request.add(posted.toUtf8(), name.toUtf8() + "!");
        Field &field = column(posted);
        field.mysql_field = name;
        field.sql_type = "VARCHAR";
        field.sql_length = "(20)";
    }
    const PhpResponse created = run_setup("order");
    EXPECT_EQ(created.body, "Table created successfully") << created.errors.toStdString();
    EXPECT_EQ(database.column("SELECT COLUMN_NAME FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() "
                              "ORDER BY ORDINAL_POSITION"),
        names);
    EXPECT_EQ(post_ok(request, "`order`, `group`, `first name`, `a-b`, `we``ird`"),
        (RawRows { { "order!", "group!", "first name!", "a-b!", "we`ird!" } }));
}

TEST_F(MySqlAction, PostedValuesArriveExactlyAsPosted)
{
    database.exec("CREATE TABLE entries (name_col TEXT, other_col VARCHAR(20))");
    column("name");
    column("other");
    for (const QByteArray &value :
        { QByteArray("plain text"), QByteArray("It's \"quoted\""), QByteArray("C:\\path\\to\\n \\' \\\\"),
            QByteArray("'); DROP TABLE entries; --"), QByteArray("\"); DROP TABLE entries; -- $tsl_db {$x}"),
            QByteArray("zero\0byte", 9), QByteArray("Zo\xc3\xab \xf0\x9f\x98\x80"), QByteArray("0"), QByteArray() }) {
        SCOPED_TRACE(value.toStdString());
        database.exec("DELETE FROM entries");
        // An empty value takes the column's default (none here); NUL bytes are taken out.
        const auto stored = value.isEmpty() ? std::nullopt : std::optional(QByteArray(value).replace('\0', ""));
        EXPECT_EQ(post_ok(PhpRequest().add("name", value).add("other", "after"), "name_col, other_col"),
            (RawRows { { stored, "after" } }));
    }
    // Strict mode refuses a row that is no UTF-8: bytes that are none go, and a form whose page names no
    // character set takes them as the browser's (windows-1252), but keeps UTF-8 as it is.
    const std::tuple<bool, QByteArray, QByteArray> posts[] = { { true, "M\xFCller \x80", "Mller " },
        { false, "M\xFCller \x80", "Müller €" }, { false, "Müller €", "Müller €" } };
    for (const auto &[declared, posted, stored] : posts) {
        database.exec("DELETE FROM entries");
        std::tie(page.form->encoding, page.form->encoding_declared)
            = std::pair(declared ? "UTF-8" : "windows-1252", declared);
        EXPECT_EQ(post_ok(PhpRequest().add("name", posted), "name_col"), (RawRows { { stored } }))
            << posted.constData();
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

// An optional value left empty or not posted takes its column's default (NULL without one); a column with
// neither takes what a lenient server stores for a missing value, whatever the page knew of the table. The
// table is asked which columns those are only when a value is empty.
TEST_F(MySqlAction, EmptyOptionalValuesStoreTheColumnsDefault)
{
    database.exec("CREATE TABLE entries (n_col INT, v_col VARCHAR(9) DEFAULT 'dflt', day_col DATE, id_col INT NOT NULL "
                  "AUTO_INCREMENT PRIMARY KEY, t_col TEXT NOT NULL, k_col INT NOT NULL, d_col DATE NOT NULL, e_col "
                  "ENUM('a','b') NOT NULL, C_Col VARCHAR(9) NOT NULL, o_col VARCHAR(9) NOT NULL DEFAULT 'own', "
                  "u_col INT NOT NULL)");
    for (const char *name : { "n", "v", "day", "id", "t", "k", "d", "e", "o" })
        column(name).is_date_field = name[0] == 'd';
    column("c").mysql_field = "c_col"; // typed in another case than the table's, either way
    column("u").mysql_field = "U_Col";
    globals::is_convert_date = true;
    const QString columns = "n_col, v_col, day_col, id_col, t_col, k_col, d_col, e_col, C_Col, o_col, u_col";
    const auto row = [](const char *id) {
        return RawRows::value_type { std::nullopt, "dflt", std::nullopt, id, "", "0", "0000-00-00", "a", "", "own",
            "0" };
    };
    EXPECT_EQ(post_ok(PhpRequest().add("n", "").add("day", "").add("t", "").add("k", "").add("d", ""), columns),
        RawRows { row("1") });
    EXPECT_EQ(post_ok(PhpRequest().add("n", ""), columns), (RawRows { row("1"), row("2") })); // the others not posted
    EXPECT_TRUE(post(PhpRequest().add("n", "many")).body.contains("Incorrect integer value")); // strict mode

    database.exec("SET GLOBAL log_output = 'TABLE'; SET GLOBAL general_log = 1");
    const auto off = qScopeGuard([this] { database.exec("SET GLOBAL general_log = 0"); });
    const auto asked = [this] {
        return database
            .column("SELECT COUNT(*) FROM mysql.general_log WHERE argument LIKE 'SELECT COLUMN_NAME, DATA_TYPE FROM "
                    "information\\_schema%' AND thread_id IN (SELECT thread_id FROM mysql.general_log WHERE "
                    "command_type = 'Init DB' AND argument = '"
                + database.name() + "')")
            .value(0);
    };
    PhpRequest filled;
    for (const auto &[name, value] :
        { std::pair("n", "1"), { "v", "v" }, { "day", "2020-01-02" }, { "id", "9" }, { "t", "t" }, { "k", "2" },
            { "d", "2020-01-03" }, { "e", "b" }, { "o", "o" }, { "c", "c" }, { "u", "3" } })
        filled.add(name, value);
    EXPECT_EQ(post_ok(filled, columns).size(), 3);
    EXPECT_EQ(asked(), "0");
    EXPECT_EQ(post_ok(PhpRequest().add("n", ""), columns).size(), 4);
    EXPECT_EQ(asked(), "1");
}

// With the table keeping the submission, a mail the mail program refuses is logged, and the visitor is thanked.
TEST_F(MySqlAction, AMailNotSentLeavesTheRowAndIsLogged)
{
    database.exec("CREATE TABLE entries (name_col TEXT)");
    column("name");
    page.prefs().is_email = true;
    cmail &owner = *globals::owner_mail();
    owner.is_GeneericEmail = true;
    owner.sender = owner.email_to = "owner@example.com";
    owner.message_lines()->Add("$name");
    runner.refused_recipient = "owner@";
    const PhpResponse response = post(PhpRequest().add("name", "Ann"));
    EXPECT_EQ(response.body, "Thank you");
    EXPECT_TRUE(response.errors.contains("index.php: mail to the form owner not sent")) << response.errors.constData();
    EXPECT_EQ(database.column("SELECT name_col FROM entries"), QStringList { "Ann" });
    EXPECT_TRUE(runner.take_mails().isEmpty());
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
        { 1, "DATE", "2001-03-14", "2001-03-14" }, // as a browser sends it
        { 0, "DATETIME", "2001-03-14T09:30", "2001-03-14 09:30:00" },
        { 3, "DATETIME", "2001-03-14 09:30:15", "2001-03-14 09:30:15" },
        { 0, "DATETIME", "2026-03-14T09:30:15.250", "2026-03-14 09:30:15" }, // a time input stepping milliseconds
        { 1, "DATETIME(3)", "2026-03-14T09:30:15.250", "2026-03-14 09:30:15.250" },
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

// An impossible date fails as the field's rule does, before any action; a field without an alert is named.
TEST_F(MySqlAction, ImpossibleDatesFailAsTheFieldsRule)
{
    database.exec("CREATE TABLE entries (day_col DATETIME NULL)");
    Field &day = column("day");
    day.is_date_field = globals::is_convert_date = true;
    for (const auto &[format, typed] : { std::pair { 0, "2/31/2026" }, { 0, "2026-02-30" }, { 2, "3/14/2005 24:00" },
             { 0, "2005-03-14T24:00" }, { 3, "4/3/2005 10:60" } }) {
        SCOPED_TRACE(typed);
        page.form->date_format = format;
        day.required = true;
        EXPECT_EQ(post(PhpRequest().add("day", typed)).body, "<p class=\"error\">bad day</p>");
        day.required = false;
        EXPECT_EQ(post(PhpRequest().add("day", typed)).body, "Please enter a valid date in the field day.");
    }
    EXPECT_EQ(post_ok(PhpRequest().add("day", "29/2/2028 10:20"), "day_col"), (RawRows { { "2028-02-29 10:20:00" } }));
}

// On a latin1 server setup.php's table takes every letter; the control: a latin1 table refuses them.
TEST_F(MySqlAction, SetupMakesATableForEveryLetterOnALatin1Server)
{
    TestDatabase latin1(TestServer::get(true));
    ASSERT_TRUE(latin1.ok());
    column("name").sql_type = "VARCHAR(60)";
    profile.set_port(QString::number(latin1.server().port));
    action.dbname = latin1.name();
    EXPECT_EQ(run_setup("name_col", latin1.name()).body, "Table created successfully");
    const QByteArray text = "\xC5\x81ukasz \xC5\xBB\xC3\xB3\xC5\x82\xC4\x87 \xCE\x9A\xCE\xB1 \xF0\x9F\x98\x80";
    EXPECT_EQ(post(PhpRequest().add("name", text)).body, "Thank you");
    EXPECT_EQ(latin1.rows("SELECT name_col FROM entries"), (RawRows { { text } }));
    latin1.exec("CREATE TABLE plain (name_col TEXT)");
    action.table->set_table_name("plain");
    EXPECT_TRUE(post(PhpRequest().add("name", text)).body.contains("Incorrect string value"));
}

struct Failure
{
    const char *label;
    bool server_down;
    const char *dbname; // nullptr: the test's; %1 stands for it
    const char *table, *posted, *message; // %1: the test's database; empty: nothing fails
    const char *data_file = "data.csv";
    bool read_only = false; // the script's folder, as deployed by FTP
    bool locked = false; // the data file, by another process
    friend void PrintTo(const Failure &failure, std::ostream *out) { *out << failure.label; }
};

class FailureText : public MySqlAction, public ::testing::WithParamInterface<Failure>
{
};

// A failing step keeps nothing; its reason is logged, and shown as text (it may quote the post) if asked.
TEST_P(FailureText, AFailingStepKeepsNothingAndAnswersWithTheFailure)
{
    const Failure &failure = GetParam();
    database.exec("CREATE TABLE entries (name_col VARCHAR(24) UNIQUE, photo_col TEXT)");
    database.exec("INSERT INTO entries (name_col) VALUES ('<svg onload=alert(1)>'), ('1\\n[07-Dec-2026] forged')");
    column("name");
    Field &photo = column("photo", "file");
    photo.validation_type = 7;
    photo.max_size = 1;
    photo.upload_folder = "uploads";
    page.prefs().is_upload = page.prefs().is_email = page.prefs().is_csv = true;
    globals::csv_file()->filename = failure.data_file;
    cmail &owner = *globals::owner_mail();
    owner.is_GeneericEmail = true;
    owner.sender = owner.email_to = "owner@example.com";
    owner.message_lines()->Add("$name");
    if (failure.server_down)
        profile.set_port(QString::number(closed_port()));
    if (failure.dbname)
        action.dbname = QString(failure.dbname).arg(database.name());
    action.table->set_table_name(failure.table);
    if (failure.read_only)
        QFile::setPermissions(runner.folder(), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray message = QString(failure.message).replace("%1", database.name()).toUtf8();
    const bool ok = message.isEmpty();
    PhpRequest request = PhpRequest().add("name", failure.posted);
    request.uploads.append({ "photo", "a.gif", "GIF89a", "image/gif" });
    for (const bool shown : { true, false }) {
        action.show_errors = globals::csv_file()->show_errors = shown;
        QFile held(runner.path("data.csv"));
        if (failure.locked) {
            ASSERT_TRUE(held.open(QIODevice::Append) && ::flock(held.handle(), LOCK_EX) == 0);
        }
        QElapsedTimer answered;
        answered.start();
        const PhpResponse response = post(request);
        // A held lock is given up on, not waited out.
        EXPECT_TRUE(!failure.locked || answered.elapsed() < 10000) << answered.elapsed();
        EXPECT_EQ(response.body,
            ok ? "Thank you"
               : "Sorry, your submission could not be processed." + (shown && !failure.read_only ? " " + message : ""));
        // One line of the log, whatever the reason quotes.
        const QString logged = QString::fromUtf8(GeneratedForm::logged_refusal(response.errors));
        EXPECT_EQ(logged.toHtmlEscaped().replace("'", "&#039;").toUtf8(),
            QByteArray(message).replace("\\", "\\\\").replace("\n", "\\n"));
        EXPECT_EQ(QDir(runner.path("uploads")).entryList(QDir::Files), ok ? QStringList { "a.gif" } : QStringList());
        EXPECT_EQ(runner.take_mails().size(), ok ? 1 : 0);
        QFile data(runner.path("data.csv"));
        EXPECT_EQ(data.open(QIODevice::ReadOnly) ? data.readAll() : "", ok ? "name,photo\nx,a.gif\n" : "");
        EXPECT_EQ(database.column("SELECT COUNT(*) FROM entries"), QStringList { ok ? "3" : "2" });
        QDir(runner.path("uploads")).removeRecursively();
        held.close();
        data.remove();
        database.exec("DELETE FROM entries WHERE name_col = 'x'");
    }
    QFile::setPermissions(runner.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureText,
    ::testing::Values(Failure { "nothing_fails", false, nullptr, "entries", "x", "" },
        Failure { "server_down", true, nullptr, "entries", "x", "Could not connect: Connection refused" },
        Failure { "missing_table", false, nullptr, "missing", "x",
            "Invalid query: Table &#039;%1.missing&#039; doesn&#039;t exist" },
        Failure { "value_too_long", false, nullptr, "entries", "<b>abcdefghijklmnopqrstuvwxyz</b>",
            "Invalid query: Data too long for column &#039;name_col&#039; at row 1" },
        Failure { "visitors_value_quoted", false, nullptr, "entries", "<svg onload=alert(1)>",
            "Invalid query: Duplicate entry &#039;&lt;svg onload=alert(1)&gt;&#039; for key &#039;name_col&#039;" },
        Failure { "visitors_line_break_quoted", false, nullptr, "entries", "1\n[07-Dec-2026] forged",
            "Invalid query: Duplicate entry &#039;1\n[07-Dec-2026] forged&#039; for key &#039;name_col&#039;" },
        Failure { "database_unknown", false, "%1<b>\\n$db", "entries", "x",
            "Can not use %1&lt;b&gt;\\n$db : Unknown database &#039;%1&lt;b&gt;\\n$db&#039;" },
        Failure { "upload_folder_cannot_be_made", false, nullptr, "entries", "x",
            "Cannot write to the upload folder (uploads)", "data.csv", true },
        Failure { "data_file_cannot_be_opened", false, nullptr, "entries", "x", "Cannot open file (.)", "." },
        Failure { "data_folder_cannot_be_made", false, nullptr, "entries", "x", "Cannot create the folder (/dev/null)",
            "/dev/null/data.csv" },
        // Given up after a few seconds, never waited for.
        Failure { "data_file_locked", false, nullptr, "entries", "x", "Cannot lock file (data.csv)", "data.csv", false,
            true },
        // The row is in before the data line is written, and goes with it.
        Failure { "data_file_full", false, nullptr, "entries", "x", "Cannot write to file (/dev/full)", "/dev/full" }),
    [](const auto &info) { return std::string(info.param.label); });

} // namespace

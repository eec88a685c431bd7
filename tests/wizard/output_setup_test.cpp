// Generate's table-setup files against the test server: lib.php carries the
// MySQL page's connection and database, so setup.php creates the table there.
#include "OutputTest.h"

#include "TestServer.h"

#include "generate/db.h"
#include "generate/sql.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "mysql/connections.h"

namespace {

TEST_F(OutputTest, SetupCreatesTheTableOnTheChosenConnection)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    const TestServer &server = database.server();
    connections &profile = *globals::mysql_connections();
    profile.set_host(server.host);
    profile.set_user(server.user);
    profile.set_password(server.password);
    profile.set_port(QString::number(server.port));
    globals::mysql_db()->dbname = database.name();
    globals::sql_script()->mysql_table = QStringLiteral("entries");
    globals::sql_script()->primary_key = QStringLiteral("name_col");
    Field &name = *form->form->fields()->Item(1);
    name.mysql_field = QStringLiteral("name_col");
    name.sql_type = QStringLiteral("varchar");
    name.sql_length = QStringLiteral("(40)");
    name.sql_default = QStringLiteral("DEFAULT 'anonymous'");
    globals::prefs()->is_mysql = true;
    globals::prefs()->is_create_tble = true;

    choose_destination(php.folder());
    set_message(QStringLiteral("hi"));
    generate();
    const PhpResponse created = php.run_cli(QStringLiteral("setup.php"));
    EXPECT_EQ(created.body, QByteArray("Table created successfully")) << created.errors.toStdString();
    EXPECT_EQ(created.errors, QByteArray());
    EXPECT_EQ(database.column(QStringLiteral("SELECT CONCAT(COLUMN_NAME, ' ', COLUMN_TYPE, ' ', COLUMN_KEY) FROM "
                                             "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND "
                                             "TABLE_NAME = 'entries'")),
        QStringList { QStringLiteral("name_col varchar(40) PRI") });
}

// The box stays ticked when MySQL is turned off again on page 1: the table
// files would then belong to no script.
TEST_F(OutputTest, NoTableFilesWithoutTheMySqlAction)
{
    globals::prefs()->is_mysql = false;
    globals::prefs()->is_create_tble = true;
    choose_destination(php.folder());
    set_message(QStringLiteral("hi"));
    generate();
    EXPECT_EQ(folder_files(), QStringList { QStringLiteral("index.php") });
}

} // namespace

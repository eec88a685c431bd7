// The MySQL page against the test server (connecting, the lists, the
// mapping grid, manual mode, the checks of Next) and the new-table page
// (its checks and the values it writes), driven through their windows.
#include "GridDriver.h"
#include "TestServer.h"
#include "WizardTest.h"

#include "wizard/WizardGrid.h"
#include "wizard/frmWait.h"
#include "wizard/frmstep6a.h"
#include "wizard/frmstep6b.h"

#include "controls/gxButtons_H.h"
#include "generate/db.h"
#include "generate/sql.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "mysql/MySQLTable.h"
#include "mysql/connections.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

const QString kUnable = "Unable to connect your mysql server,  all you have to do is typing the database ,table and "
                        "Fields name manually in the lists of this step and check the 'is date' box for date type "
                        "fields";
const QString kConnected = "Connected successfully to MySQL server, please select the database, table, and fields "
                           "in which form data will be saved.";
const QString kDatabasePrompt = "Select a database or type it's name";
const QString kTablePrompt = "Select a table or type it's name";
const QString kDateNotice = "One or more of the selected columns in your Mysql table are dates, please click the "
                            "'back' button and set the date format used in your Form (in step 1). ";
const QString kMappingHint = " For each field that you want to save to database you should select or type an "
                             "equivalent MySQL Field in the 'MySQL's Field Name' column.";
const QString kManualHint = "For each field that you want to save type an equivalent MySQL Field in the 'MySQL's "
                            "Field Name' column and check the 'is date' box for date type fields.";

class MySqlPage : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        ASSERT_TRUE(database.ok());
        database.exec("CREATE TABLE entries (id INT PRIMARY KEY AUTO_INCREMENT, name_col VARCHAR(40), born DATE, "
                      "note TEXT); CREATE TABLE other (x INT)");
        form = make_form({ { "name", "text" }, { "email", "text" }, { "born", "text" } });
        take(form);
        globals::prefs()->is_mysql = true;
        page = static_cast<frmstep6a *>(window(WizardPage::frmstep6a));
        show_page(page);
        grid = GridDriver { find<WizardGrid>(page, "grd") };
    }

    // The test server's address and account in the page's boxes.
    void sign_in()
    {
        const TestServer &server = database.server();
        page->txtHost->setText(server.host);
        page->txtUser->setText(server.user);
        page->txtpassword->setText(server.password);
        page->txtport->setText(QString::number(server.port));
    }

    template<typename T> T *control(const char *name) { return find<T>(page, name); }
    bool enabled(const char *name) { return control<QWidget>(name)->isEnabled(); }
    // Which of the connection controls are enabled, in a fixed order.
    QString states()
    {
        QStringList on;
        for (const char *name : { "cmdConnect", "cmddisconnect", "Label3", "cmbDB", "Label4", "cmbtable" })
            on << QString(name) + (enabled(name) ? "+" : "-");
        return on.join(' ');
    }
    Field &field(const char *name) { return *form->fields()->Item(name); }

    void connect_to_server()
    {
        sign_in();
        click(page, "cmdConnect");
        ASSERT_EQ(last_message(), kConnected);
        ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    }
    // Chooses an entry of one of the page's lists, as a click on it does.
    void choose(const char *list, const QString &entry)
    {
        auto *combo = control<QComboBox>(list);
        const int index = combo->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << entry.toStdString();
        combo->setCurrentIndex(index);
        combo->setEditText(entry);
        emit combo->activated(index);
    }
    void choose_table(const QString &table)
    {
        choose("cmbDB", database.name());
        choose("cmbtable", table);
    }
    // The hint the pointer moving over the grid's cells shows.
    QString grid_hint()
    {
        QWidget *cells = grid.cells()->viewport();
        const QPointF at = grid.centre(1, 0);
        QMouseEvent move(QEvent::MouseMove, at, cells->mapToGlobal(at), Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(cells, &move);
        auto *hint = control<QLabel>("lblHelp");
        return hint->isVisible() ? hint->text() : QString();
    }
    void next() { click(page, "cmdNext"); }

    TestDatabase database;
    std::shared_ptr<CForm> form;
    frmstep6a *page = nullptr;
    GridDriver grid { nullptr };
};

TEST_F(MySqlPage, StartsReadyToConnectWithEveryFieldUnassigned)
{
    EXPECT_EQ(page->windowTitle(), "Tressel");
    EXPECT_EQ(page->help_context(), 6);
    EXPECT_EQ(page->txtHost->text(), "localhost");
    EXPECT_EQ(control<QLineEdit>("txtUser")->text(), "root");
    EXPECT_EQ(control<QLineEdit>("txtport")->text(), "3306");
    EXPECT_EQ(control<QLineEdit>("txtpassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3- cmbDB- Label4- cmbtable-");
    EXPECT_EQ(control<QComboBox>("cmbDB")->currentText(), kDatabasePrompt);
    EXPECT_EQ(control<QComboBox>("cmbtable")->currentText(), kTablePrompt);
    auto *create = control<QCheckBox>("create");
    EXPECT_FALSE(create->isChecked());
    EXPECT_EQ(create->text(), "Create table if it doesn't exist");
    EXPECT_EQ(create->toolTip(), "Generate php script to create the table");
    for (const auto &[label, caption] : { std::pair { "Label1", "Host Name" }, { "Label5", "User Name" },
             { "Label2", "Port" }, { "Label6", "Password" }, { "Label3", "DataBaes" }, { "Label4", "Table Name" },
             { "Label7", "Field mapping" } })
        EXPECT_EQ(control<QLabel>(label)->text(), caption);
    EXPECT_EQ(grid.column(0), (QStringList { "name", "email", "born" }));
    EXPECT_EQ(grid.column(1), (QStringList { "Not assigned", "Not assigned", "Not assigned" }));
    EXPECT_EQ(grid.grid->CellText(0, 1), "MySQL's Field name");
    EXPECT_EQ(grid.grid->ComboItems(), QStringList { "Not assigned" });

    // The four boxes come first in the tab order.
    page->txtHost->setFocus();
    QStringList order { page->txtHost->objectName() };
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList { "txtHost", "txtUser", "txtport", "txtpassword" }));

    EXPECT_EQ(grid_hint(), " Please connect your Mysql server first ");
    // Next has nowhere to put the data yet.
    next();
    EXPECT_EQ(last_message(), "Please connect your Mysql server first");
    EXPECT_EQ(visible_page(), WizardPage::frmstep6a);
}

struct ConnectCase
{
    const char *label;
    bool wrong_password, nothing_listens;
    const char *reason; // the start of the second line of the notice
    friend void PrintTo(const ConnectCase &attempt, std::ostream *out) { *out << attempt.label; }
};

class Connecting : public MySqlPage, public ::testing::WithParamInterface<ConnectCase>
{
};

TEST_P(Connecting, EachOutcomeLeavesItsControlsAndTellsWhy)
{
    const ConnectCase &attempt = GetParam();
    field("born").is_date_field = true;
    form->is_date = true;
    sign_in();
    if (attempt.wrong_password)
        page->txtpassword->setText("not the password");
    if (attempt.nothing_listens)
        page->txtport->setText(QString::number(closed_port()));
    click(page, "cmdConnect");
    EXPECT_TRUE(globals::isConnect);
    if (!attempt.reason) {
        EXPECT_EQ(messages(), QStringList { kConnected });
        EXPECT_EQ(states(), "cmdConnect- cmddisconnect+ Label3+ cmbDB+ Label4- cmbtable-");
        EXPECT_TRUE(globals::SuccessfullyConnected);
        auto *databases = control<QComboBox>("cmbDB");
        EXPECT_EQ(databases->currentText(), kDatabasePrompt);
        EXPECT_EQ(page->focusWidget(), databases);
        QStringList listed;
        for (int i = 0; i < databases->count(); ++i)
            listed << databases->itemText(i);
        EXPECT_EQ(listed.filter(database.name()), QStringList { database.name() });
        EXPECT_FALSE(listed.contains(""));
        EXPECT_EQ(grid.grid->Cols(), 2);
        EXPECT_EQ(grid_hint(), " Please select a table");
        return;
    }
    ASSERT_EQ(messages().size(), 1);
    const QStringList lines = messages().front().split('\n');
    ASSERT_EQ(lines.size(), 2) << messages().front().toStdString();
    EXPECT_EQ(lines[0], kUnable);
    EXPECT_TRUE(lines[1].startsWith(attempt.reason)) << lines[1].toStdString();
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3+ cmbDB+ Label4+ cmbtable+");
    EXPECT_FALSE(globals::SuccessfullyConnected);
    EXPECT_TRUE(globals::is_convert_date);
    // Manual mode: the "is date" boxes as the fields have them, and names
    // typed into the column cells.
    EXPECT_EQ(grid.grid->Cols(), 3);
    EXPECT_EQ(grid.grid->CellText(0, 2), "is date");
    EXPECT_EQ(grid.column(2), (QStringList { "False", "False", "True" }));
    EXPECT_EQ(grid.grid->CellKind(1, 2), WizardGrid::CheckBox);
    control<QComboBox>("cmbtable")->setEditText("entries");
    grid.enter(1, 1);
    EXPECT_EQ(control<QLabel>("lblHelp")->text(), kManualHint);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, Connecting,
    ::testing::Values(ConnectCase { "server_answers", false, false, nullptr },
        ConnectCase { "wrong_password", true, false, "Access denied for user 'tressel'@'127.0.0.1'" },
        ConnectCase { "nothing_listens", false, true, "Can't connect to server on '127.0.0.1'" }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(MySqlPage, ConnectingKeepsTheWindowLive)
{
    // A server that takes the connection and says nothing, then hangs up.
    sign_in();
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&silent, &QTcpServer::newConnection, [&silent] {
        QTcpSocket *socket = silent.nextPendingConnection();
        QTimer::singleShot(1000, socket, [socket] { socket->close(); });
    });
    page->txtport->setText(QString::number(silent.serverPort()));
    // Timers keep firing while the page waits; meanwhile it shows the wait
    // window and takes no input, so a second press does nothing.
    int ticks = 0;
    bool waiting_shown = false, page_locked = false;
    QTimer clock;
    QObject::connect(&clock, &QTimer::timeout, [&] {
        if (++ticks != 2)
            return;
        waiting_shown = frmWait::instance().isVisible();
        page_locked = !page->isEnabled();
        click(page, "cmdConnect");
    });
    clock.start(50);
    click(page, "cmdConnect");
    clock.stop();
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(waiting_shown);
    EXPECT_TRUE(page_locked);
    EXPECT_FALSE(frmWait::instance().isVisible());
    EXPECT_TRUE(page->isEnabled());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().front().contains("\nLost connection to server")) << messages().front().toStdString();
}

TEST_F(MySqlPage, ListsDatabasesTablesAndColumnsAndChecksTheMappingOnNext)
{
    // A column saved earlier that the table does not have.
    field("email").mysql_field = "gone";
    connect_to_server();
    choose("cmbDB", database.name());
    EXPECT_EQ(states(), "cmdConnect- cmddisconnect+ Label3+ cmbDB+ Label4+ cmbtable+");
    auto *tables = control<QComboBox>("cmbtable");
    ASSERT_EQ(tables->count(), 2);
    EXPECT_EQ((QStringList { tables->itemText(0), tables->itemText(1) }), (QStringList { "entries", "other" }));
    EXPECT_EQ(tables->currentText(), kTablePrompt);
    choose("cmbtable", "entries");
    EXPECT_EQ(grid.grid->ComboItems(), (QStringList { "Not assigned", "id", "name_col", "born", "note" }));
    EXPECT_EQ(grid_hint(), kMappingHint);
    // Reached with the keyboard, the grid explains itself too.
    QMouseEvent away(QEvent::MouseMove, QPointF(1, 1), page->mapToGlobal(QPointF(1, 1)), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(page, &away);
    ASSERT_FALSE(control<QLabel>("lblHelp")->isVisible());
    control<QCheckBox>("create")->setFocus();
    QTest::keyClick(control<QCheckBox>("create"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), grid.cells());
    EXPECT_EQ(control<QLabel>("lblHelp")->text(), kMappingHint);
    EXPECT_TRUE(control<QLabel>("lblHelp")->isVisible());
    EXPECT_EQ(grid.column(1), (QStringList { "Not assigned", "gone", "Not assigned" }));
    grid.set(1, 1, "name_col");
    grid.set(3, 1, "born");
    EXPECT_EQ(grid.column(1), (QStringList { "name_col", "gone", "born" }));
    // A cell opened and left without a choice keeps its text.
    QTest::keyClick(grid.enter(2, 1), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.grid->CellText(2, 1), "gone");
    save_picture(page, "mysql-page-connected.png");

    next();
    EXPECT_EQ(last_message(), "Field 'gone' doesn't exist in specified table");
    grid.set(2, 1, "Not assigned");
    next();
    EXPECT_EQ(last_message(), kDateNotice);
    EXPECT_EQ(visible_page(), WizardPage::frmstep6a);
    form->is_date = true; // the date format, given on the first page
    next();
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(messages().size(), 3);
    EXPECT_TRUE(globals::is_convert_date);
    EXPECT_TRUE(field("name").in_mysql);
    EXPECT_EQ(field("name").mysql_field, "name_col");
    EXPECT_FALSE(field("email").in_mysql);
    EXPECT_EQ(field("email").mysql_field, "gone"); // kept, though not stored
    EXPECT_EQ(field("born").mysql_field, "born");
    const db &action = *globals::mysql_db();
    EXPECT_EQ(action.dbname, database.name());
    EXPECT_EQ(action.table->table_name(), "entries");
    EXPECT_EQ(action.table->field_types()->Item("born"), "date");
    EXPECT_EQ(action.connection, globals::mysql_connections());
    EXPECT_EQ(action.connection->port(), QString::number(database.server().port));

    // Without a date column the form's own setting decides.
    click(window(WizardPage::frmStep7), "cmdBack");
    ASSERT_EQ(visible_page(), WizardPage::frmstep6a);
    grid.set(3, 1, "note");
    form->is_date = false;
    next();
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_FALSE(globals::is_convert_date);
}

TEST_F(MySqlPage, TypedTableWhileConnectedIsMappedByHand)
{
    connect_to_server();
    choose("cmbDB", database.name());
    auto *tables = control<QComboBox>("cmbtable");
    QTest::mouseClick(tables->lineEdit(), Qt::LeftButton);
    GridDriver::retype(tables->lineEdit(), "guests");
    EXPECT_EQ(grid.grid->Cols(), 2);
    QTest::mouseClick(page->txtHost, Qt::LeftButton); // leaving the box
    ASSERT_EQ(grid.grid->Cols(), 3);
    EXPECT_EQ(grid.grid->ColWidth(2), 61);
    grid.set(1, 1, "guest_name");
    grid.set(3, 1, "birthday");
    grid.tick(3, 2, true);
    EXPECT_EQ(grid.column(2), (QStringList { "False", "False", "True" }));
    save_picture(page, "mysql-page-manual.png");

    next();
    EXPECT_EQ(last_message(), kDateNotice);
    form->is_date = true;
    next();
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(globals::mysql_db()->table->table_name(), "guests");
    EXPECT_EQ(field("name").mysql_field, "guest_name");
    EXPECT_FALSE(field("name").is_date_field);
    EXPECT_EQ(field("born").mysql_field, "birthday");
    EXPECT_TRUE(field("born").is_date_field);
    EXPECT_FALSE(field("email").in_mysql);
    EXPECT_TRUE(globals::is_convert_date);
}

TEST_F(MySqlPage, DisconnectEmptiesTheListsAndKeepsTheFlags)
{
    connect_to_server();
    choose_table("entries");
    click(page, "cmddisconnect");
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3- cmbDB- Label4- cmbtable-");
    for (const auto &[list, prompt] : { std::pair { "cmbDB", kDatabasePrompt }, { "cmbtable", kTablePrompt } }) {
        EXPECT_EQ(control<QComboBox>(list)->count(), 0);
        EXPECT_EQ(control<QComboBox>(list)->currentText(), prompt);
    }
    EXPECT_EQ(globals::mysql_conn, nullptr);
    EXPECT_TRUE(globals::isConnect);
    EXPECT_TRUE(globals::SuccessfullyConnected);
}

TEST_F(MySqlPage, CreateTableLeadsThroughTheNewTablePage)
{
    connect_to_server();
    choose_table("entries");
    grid.set(1, 1, "name_col");
    control<QCheckBox>("create")->click();
    EXPECT_TRUE(globals::prefs()->is_create_tble);
    next();
    ASSERT_EQ(visible_page(), WizardPage::frmstep6b);
    click(window(WizardPage::frmstep6b), "cmdBack");
    ASSERT_EQ(visible_page(), WizardPage::frmstep6a);
    control<QCheckBox>("create")->click();
    next();
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_FALSE(globals::prefs()->is_create_tble);
}

// The new-table page over a form whose fields a and b go to the columns
// col_a and col_b, and c to none.
class NewTablePage : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        form = make_form({ { "a", "text" }, { "b", "text" }, { "c", "text" } });
        take(form);
        globals::prefs()->is_mysql = globals::prefs()->is_create_tble = true;
        field("a").mysql_field = "col_a";
        field("b").mysql_field = "col_b";
        auto *mysql_page = static_cast<frmstep6a *>(window(WizardPage::frmstep6a));
        mysql_page->cmbtable->setEditText(" entries ");
    }

    void open_page()
    {
        page = static_cast<frmstep6b *>(window(WizardPage::frmstep6b));
        show_page(page);
        grid = GridDriver { find<WizardGrid>(page, "grd") };
    }
    void choose_key(const QString &column)
    {
        auto *key = find<QComboBox>(page, "cmbfields");
        key->setCurrentIndex(key->findText(column));
    }
    Field &field(const char *name) { return *form->fields()->Item(name); }

    std::shared_ptr<CForm> form;
    frmstep6b *page = nullptr;
    GridDriver grid { nullptr };
};

struct TableCase
{
    const char *label, *type, *length;
    bool key_chosen;
    const char *message; // nullptr: the page is left for the output page
    friend void PrintTo(const TableCase &row, std::ostream *out) { *out << row.label; }
};

class TableDefinition : public NewTablePage, public ::testing::WithParamInterface<TableCase>
{
};

TEST_P(TableDefinition, NextTakesOnlyADefinitionTheServerAccepts)
{
    const TableCase &row = GetParam();
    open_page();
    if (QString(row.type) != "select data type")
        grid.set(1, 1, row.type);
    grid.set(1, 2, row.length);
    grid.set(2, 1, "TEXT");
    if (row.key_chosen)
        choose_key("col_a");
    click(page, "cmdNext");
    if (row.message) {
        EXPECT_EQ(messages(), QStringList { row.message });
        EXPECT_EQ(m_icons, QList<int> { 3 });
        EXPECT_EQ(visible_page(), WizardPage::frmstep6b);
    } else {
        EXPECT_EQ(messages(), QStringList());
        EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, TableDefinition,
    ::testing::Values(TableCase { "no_type", "select data type", "", true, "please select a datatype for ' col_a ' " },
        TableCase { "required_length_missing", "VARCHAR", "", true, "please enter a valid length for ' col_a ' " },
        TableCase { "required_length_not_a_number", "INT", "abc", true, "please enter a valid length for ' col_a ' " },
        TableCase { "required_length_fraction", "Char", "1.5", true, "please enter a valid length for ' col_a ' " },
        TableCase {
            "required_length_with_decimals", "INT", "10,2", true, "please enter a valid length for ' col_a ' " },
        TableCase {
            "optional_length_not_a_number", "TINYINT", "abc", true, "please enter a valid length for ' col_a ' " },
        TableCase {
            "optional_length_quoted", "BIGINT", "5) DEFAULT '1", true, "please enter a valid length for ' col_a ' " },
        TableCase {
            "decimals_where_the_type_has_none", "SmallInt", "6,1", true, "please enter a valid length for ' col_a ' " },
        TableCase { "no_length_type_with_length", "TEXT", "5", true, "You shouldn't enter length for ' col_a ' " },
        TableCase { "no_primary_key", "VARCHAR", "40", false, "Please select a primary key" },
        TableCase { "required_length", "VARCHAR", " 40 ", true, nullptr },
        TableCase { "optional_length_left_out", "MEDIUMINT", "", true, nullptr },
        TableCase { "decimal_with_decimals", "DECIMAL", "10,2", true, nullptr },
        TableCase { "float_with_decimals", "Float", "7,3", true, nullptr },
        TableCase { "date_without_length", "Date", "", true, nullptr }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(NewTablePage, ValuesGoThroughTheModelAndBackUnchanged)
{
    field("a").sql_type = "VARCHAR";
    field("a").sql_length = "(10)";
    field("a").sql_default = "DEFAULT 'x'";
    field("b").sql_type = "decimal"; // shown as the list writes it
    field("b").sql_length = "(10,2)";
    field("b").sql_default = "DEFAULT 'O'Brien \"q\" \\'";
    globals::sql_script()->primary_key = "col_b";
    open_page();
    EXPECT_EQ(page->windowTitle(), "Tressel");
    EXPECT_EQ(page->help_context(), 10);
    EXPECT_EQ(find<QLabel>(page, "Label1")->text(), "Primary key");
    EXPECT_EQ(grid.grid->Rows(), 3); // c goes to no column
    EXPECT_EQ(grid.column(0), (QStringList { "col_a", "col_b" }));
    EXPECT_EQ(grid.column(1), (QStringList { "VARCHAR", "DECIMAL" }));
    EXPECT_EQ(grid.column(2), (QStringList { "10", "10,2" }));
    EXPECT_EQ(grid.column(3), (QStringList { "x", "O'Brien \"q\" \\" }));
    EXPECT_EQ(grid.grid->ComboItems(), frmstep6b::type_names());
    EXPECT_EQ(frmstep6b::type_names().size(), 23);
    EXPECT_EQ(page->primary_key_text(), "col_b");
    save_picture(page, "new-table-page.png");

    click(page, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(field("a").sql_length, "(10)");
    EXPECT_EQ(field("a").sql_default, "DEFAULT 'x'");
    EXPECT_EQ(field("b").sql_type, "DECIMAL");
    EXPECT_EQ(field("b").sql_length, "(10,2)");
    EXPECT_EQ(field("b").sql_default, "DEFAULT 'O'Brien \"q\" \\'");
    const sql &setup = *globals::sql_script();
    EXPECT_EQ(setup.mysql_table, "entries");
    EXPECT_EQ(setup.primary_key, "col_b");
    EXPECT_EQ(setup.form, form);

    // Emptied cells take the length and the default away.
    click(window(WizardPage::frmStep7), "cmdBack");
    ASSERT_EQ(visible_page(), WizardPage::frmstep6b);
    grid.set(1, 1, "TEXT");
    grid.set(1, 2, "");
    grid.set(1, 3, "");
    click(page, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(field("a").sql_type, "TEXT");
    EXPECT_EQ(field("a").sql_length, "");
    EXPECT_EQ(field("a").sql_default, "");

    // A field taken out of the table on the MySQL page leaves the grid and
    // the key list; what was entered for the others stays.
    click(window(WizardPage::frmStep7), "cmdBack");
    grid.set(1, 3, "kept");
    page->hide();
    field("b").in_mysql = false;
    page->show();
    EXPECT_EQ(grid.column(0), QStringList { "col_a" });
    EXPECT_EQ(grid.column(3), QStringList { "kept" });
    EXPECT_EQ(page->primary_key_text(), "<Select Field>");
    click(page, "cmdNext");
    EXPECT_EQ(last_message(), "Please select a primary key");
}

TEST_F(NewTablePage, WithoutMappedFieldsOnlyTheKeyIsAskedFor)
{
    field("a").mysql_field.clear();
    field("b").mysql_field.clear();
    open_page();
    EXPECT_EQ(grid.grid->Rows(), 1);
    EXPECT_EQ(grid.grid->CellText(0, 1), "Field data type");
    click(page, "cmdNext");
    EXPECT_EQ(messages(), QStringList { "Please select a primary key" });
}

} // namespace

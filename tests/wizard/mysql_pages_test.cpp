// The MySQL page against the test server (connecting, the lists, the
// mapping grid, manual mode, the checks of Next) and the new-table page
// (its checks and the values it writes), driven through their windows.
#include "PageDriver.h"
#include "TestServer.h"
#include "WizardTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/WizardFrame.h"
#include "wizard/WizardGrid.h"
#include "wizard/frmWait.h"
#include "wizard/frmstep6a.h"
#include "wizard/frmstep6b.h"

#include "generate/db.h"
#include "generate/sql.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MySQLTable.h"
#include "mysql/connections.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWindow>

#include <numeric>

namespace {

const QString kConnected = "Connected successfully to MySQL server, please select the database, table, and fields "
                           "in which form data will be saved.";
const QString kDatabasePrompt = "Select a database or type its name";
const QString kTablePrompt = "Select a table or type its name";
const char *const kNothingMapped
    = "Please select the MySQL column of at least one field: with none, nothing would be saved in the table.";
const QString kDateNotice = "One or more of the selected columns in your MySQL table are dates, please click the "
                            "'back' button and set the date format used in your Form (in step 1). ";

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
    void sign_in() { sign_in(database); }
    void sign_in(const TestDatabase &to)
    {
        const TestServer &server = to.server();
        page->txtHost->setText(server.host);
        page->txtUser->setText(server.user);
        page->txtpassword->setText(server.password);
        page->txtport->setText(QString::number(server.port));
    }

    template<typename T> T *control(const char *name) { return find<T>(page, name); }
    // Which of the connection controls are enabled, in a fixed order.
    QString states()
    {
        QStringList on;
        for (const char *name : { "cmdConnect", "cmddisconnect", "Label3", "cmbDB", "Label4", "cmbtable" })
            on << QString(name) + (control<QWidget>(name)->isEnabled() ? "+" : "-");
        return on.join(' ');
    }
    Field &field(const char *name) { return *form->fields()->Item(name); }
    // Where each field goes: its column, "stored" when it is, "date" when
    // its values are converted.
    QStringList mapping()
    {
        QStringList out;
        for (const auto &entry : *form->fields())
            out << entry.value->mysql_field + (entry.value->in_mysql ? " stored" : "")
                    + (entry.value->is_date_field ? " date" : "");
        return out;
    }

    void choose(const char *list, const QString &entry) { drive::choose(control<QComboBox>(list), entry); }
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
    // A Connect that finds no server: the grid takes typed column names.
    void connect_in_vain()
    {
        page->txtport->setText(QString::number(closed_port()));
        click(page, "cmdConnect");
        ASSERT_TRUE(QTest::qWaitForWindowActive(page));
        ASSERT_TRUE(page->manual_mode());
    }

    TestDatabase database;
    std::shared_ptr<CForm> form;
    frmstep6a *page = nullptr;
    GridDriver grid { nullptr };
};

// The usual server address, nothing to choose yet, and Next refused until
// there is somewhere to put the data.
TEST_F(MySqlPage, StartsReadyToConnectWithEveryFieldUnassigned)
{
    EXPECT_EQ((QStringList { page->txtHost->text(), page->txtUser->text(), page->txtport->text(),
                  page->cmbDB->currentText(), page->cmbtable->currentText() }),
        (QStringList { "localhost", "root", "3306", kDatabasePrompt, kTablePrompt }));
    EXPECT_EQ(page->txtpassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3- cmbDB- Label4- cmbtable-");
    EXPECT_FALSE(control<QCheckBox>("create")->isChecked());
    EXPECT_EQ(grid.column(0), (QStringList { "name", "email", "born" }));
    EXPECT_EQ(grid.column(1), QStringList(3, "Not assigned"));
    EXPECT_EQ(grid.grid->ComboItems(), QStringList { "Not assigned" });

    // The four boxes come first in the tab order, as they stand: Host and
    // Port, then User and Password.
    page->txtHost->setFocus();
    QStringList order { page->txtHost->objectName() };
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList { "txtHost", "txtport", "txtUser", "txtpassword" }));

    next();
    EXPECT_EQ(last_message(), "Please connect your MySQL server first");
    EXPECT_EQ(visible_page(), WizardPage::frmstep6a);
}

struct ConnectCase
{
    const char *label;
    bool wrong_password, nothing_listens;
    const char *reason; // the start of the second line of the notice
    const char *port = nullptr; // typed into the port box
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
    if (attempt.port)
        drive::retype(page->txtport, attempt.port);
    click(page, "cmdConnect");
    save_picture(page, QStringLiteral("mysql-page-%1.png").arg(attempt.label));
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
    EXPECT_EQ(lines[0],
        "Unable to connect your MySQL server, all you have to do is typing the database, table and Fields name "
        "manually in the lists of this step and check the 'is date' box for date type fields");
    EXPECT_TRUE(lines[1].startsWith(attempt.reason)) << lines[1].toStdString();
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3+ cmbDB+ Label4+ cmbtable+");
    EXPECT_FALSE(globals::SuccessfullyConnected);
    EXPECT_TRUE(globals::is_convert_date);
    // Manual mode: the "is date" boxes as the fields have them, and names
    // typed into the lists and the column cells.
    EXPECT_EQ(grid.grid->Cols(), 3);
    EXPECT_EQ(grid.column(2), (QStringList { "False", "False", "True" }));
    page->cmbDB->setEditText(database.name());
    page->cmbtable->setEditText("entries");
    grid.enter(1, 1);
    EXPECT_EQ(control<QLabel>("lblHelp")->text(),
        "For each field that you want to save type an equivalent MySQL Field in the 'MySQL's Field Name' column and "
        "check the 'is date' box for date type fields.");
    grid.set(1, 1, "name_col");
    grid.set(3, 1, "birthday");
    grid.tick(1, 2, true);
    grid.tick(3, 2, false);
    // A ticked box needs the form's date format.
    form->is_date = false;
    next();
    EXPECT_EQ(last_message(), kDateNotice);
    form->is_date = true;
    next();
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(mapping(), (QStringList { "name_col stored date", "", "birthday stored" }));
    EXPECT_EQ(globals::mysql_db()->table->table_name(), "entries");
    EXPECT_TRUE(globals::is_convert_date);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, Connecting,
    ::testing::Values(ConnectCase { "server_answers", false, false, nullptr },
        ConnectCase { "wrong_password", true, false, "Access denied for user 'tressel'@'127.0.0.1'" },
        ConnectCase { "nothing_listens", false, true, "Can't connect to server on '127.0.0.1'" },
        // One past the range would reach the default port unseen; the
        // highest port is tried (nothing listens there).
        ConnectCase { "port_past_the_range", false, false, "The port must be a number from 0 to 65535.", "65536" },
        ConnectCase { "highest_port", false, false, "Can't connect to server on '127.0.0.1'", "65535" }),
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

// The server going away after Connect is told as such, in its own words,
// and once it is back the page uses it again without a new Connect.
TEST_F(MySqlPage, LostConnectionIsToldAndTheServerBackIsUsedAgain)
{
    // A server of this test's own: stopping the shared one would fail others.
    OwnServer own;
    ASSERT_TRUE(own.server());
    TestDatabase there(own.server());
    ASSERT_TRUE(there.ok());
    there.exec("CREATE TABLE entries (id INT PRIMARY KEY, name_col VARCHAR(40))");
    const QString dropped = there.name() + "_dropped";
    there.exec("CREATE DATABASE `" + dropped + '`');
    field("name").mysql_field = "name_col";
    sign_in(there);
    click(page, "cmdConnect");
    ASSERT_EQ(last_message(), kConnected);
    // A database gone from a server that still answers is told as before.
    there.exec("DROP DATABASE `" + dropped + '`');
    choose("cmbDB", dropped);
    EXPECT_EQ(last_message(), "Database doesn't exist");

    // In the server's words, with why it cannot be reached now.
    const QRegularExpression lost("^The connection to your MySQL server was lost:\n"
                                  "(Lost connection to server during query|Server has gone away)\n"
                                  "Can't connect to server on '127\\.0\\.0\\.1' \\(\\d+\\)\n"
                                  "Once the server answers again, try once more: the page connects to it again by "
                                  "itself\\.$");
    const auto told_lost = [&] { EXPECT_TRUE(lost.match(last_message()).hasMatch()) << last_message().toStdString(); };
    own.stop();
    choose("cmbDB", there.name());
    told_lost();
    EXPECT_EQ(states(), "cmdConnect- cmddisconnect+ Label3+ cmbDB+ Label4- cmbtable-");
    own.start_again();
    const qsizetype told = messages().size();
    choose("cmbDB", there.name());
    EXPECT_EQ(messages().size(), told);
    ASSERT_EQ(page->cmbtable->count(), 1);

    // Columns that could not be read are read by Next once the server is back.
    own.stop();
    choose("cmbtable", "entries");
    told_lost();
    EXPECT_EQ(grid.grid->ComboItems(), QStringList { "Not assigned" });
    next();
    told_lost();
    EXPECT_EQ(messages().size(), told + 2);
    EXPECT_EQ(visible_page(), WizardPage::frmstep6a);
    own.start_again();
    next();
    ASSERT_EQ(visible_page(), WizardPage::frmStep7) << last_message().toStdString();
    EXPECT_EQ(grid.grid->ComboItems(), (QStringList { "Not assigned", "id", "name_col" }));
    EXPECT_EQ(mapping(), (QStringList { "name_col stored", "", "" }));
    EXPECT_EQ(globals::mysql_db()->table->field_types()->Item("name_col"), "varchar");
}

TEST_F(MySqlPage, ListsDatabasesTablesAndColumnsAndChecksTheMappingOnNext)
{
    // A column saved earlier that the table does not have.
    field("email").mysql_field = "gone";
    sign_in();
    click(page, "cmdConnect");
    ASSERT_EQ(last_message(), kConnected);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    choose("cmbDB", database.name());
    EXPECT_EQ(states(), "cmdConnect- cmddisconnect+ Label3+ cmbDB+ Label4+ cmbtable+");
    auto *tables = control<QComboBox>("cmbtable");
    ASSERT_EQ(tables->count(), 2);
    EXPECT_EQ((QStringList { tables->itemText(0), tables->itemText(1) }), (QStringList { "entries", "other" }));
    EXPECT_EQ(tables->currentText(), kTablePrompt);
    choose("cmbtable", "entries");
    EXPECT_EQ(grid.grid->ComboItems(), (QStringList { "Not assigned", "id", "name_col", "born", "note" }));
    EXPECT_EQ(grid_hint(),
        " For each field that you want to save to database you should select or type an equivalent "
        "MySQL Field in the 'MySQL's Field Name' column.");
    EXPECT_EQ(grid.column(1), (QStringList { "Not assigned", "gone", "Not assigned" }));
    grid.set(1, 1, "name_col");
    grid.set(3, 1, "born");
    // A cell opened and left without a choice keeps its text.
    QTest::keyClick(grid.enter(2, 1), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.column(1), (QStringList { "name_col", "gone", "born" }));
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
    // The column a field had is kept, though the field is not stored.
    EXPECT_EQ(mapping(), (QStringList { "name_col stored", "gone", "born stored" }));
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
    // No field given a column: nothing would be stored.
    click(window(WizardPage::frmStep7), "cmdBack");
    grid.set(1, 1, "Not assigned");
    grid.set(3, 1, "Not assigned");
    next();
    EXPECT_EQ(std::pair(last_message(), visible_page()), std::pair(QString(kNothingMapped), WizardPage::frmstep6a));
    grid.set(1, 1, "name_col");
    next();

    // Disconnect empties the lists and keeps the names and the flags.
    click(window(WizardPage::frmStep7), "cmdBack");
    click(page, "cmddisconnect");
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3- cmbDB- Label4- cmbtable-");
    EXPECT_EQ((QList<int> { page->cmbDB->count(), page->cmbtable->count() }), (QList<int> { 0, 0 }));
    EXPECT_EQ((QStringList { page->cmbDB->currentText(), page->cmbtable->currentText() }),
        (QStringList { database.name(), "entries" }));
    EXPECT_EQ(globals::mysql_conn, nullptr);
    EXPECT_TRUE(globals::isConnect);
    EXPECT_TRUE(globals::SuccessfullyConnected);

    // A Connect that fails then leaves the failed state, as after no earlier
    // success, and a project saved now records that failure.
    const QString port = QString::number(closed_port());
    page->txtport->setText(port);
    click(page, "cmdConnect");
    EXPECT_TRUE(last_message().startsWith("Unable to connect your MySQL server")) << last_message().toStdString();
    EXPECT_EQ(states(), "cmdConnect+ cmddisconnect- Label3+ cmbDB+ Label4+ cmbtable+");
    EXPECT_EQ((QList<int> { page->cmbDB->count(), page->cmbtable->count() }), (QList<int> { 0, 0 }));
    EXPECT_TRUE(page->manual_mode());
    EXPECT_FALSE(globals::SuccessfullyConnected);
    page->cmbDB->setEditText("");
    next();
    EXPECT_EQ(last_message(), "Please select a database or type its name");
    const QTemporaryDir folder;
    const QString project = folder.filePath("after-failure.tsl");
    CommonDialog::script(CommonDialog::Answer::chosen_file(project));
    ASSERT_TRUE(WizardFrame::instance().save_project());
    const QStringList lines = QString::fromUtf8(read_file(project)).split("\r\n");
    const qsizetype section = lines.indexOf("[MySQL]");
    ASSERT_GE(section, 0);
    EXPECT_EQ(lines.mid(section + 1, 2), (QStringList { "isConnect=True", "SuccessfullyConnected=False" }));
    EXPECT_EQ(lines.mid(section + 6, 1), QStringList { "port=" + port });
}

// The names a reopened project fills in (the test's database is "@") as
// they stand after a Connect, and as the project is saved then.
struct KeptNames
{
    const char *label;
    const char *database, *table; // saved
    const char *shown; // after Connect, "database|table"
    const char *chosen; // the boxes that show an entry of their lists
    bool manual; // the grid takes typed columns
    bool again = false; // Connect, Disconnect and Connect again
    friend void PrintTo(const KeptNames &row, std::ostream *out) { *out << row.label; }
};

class KeepingNames : public MySqlPage, public ::testing::WithParamInterface<KeptNames>
{
};

TEST_P(KeepingNames, ConnectKeepsTheSavedDatabaseAndTable)
{
    const KeptNames &row = GetParam();
    const auto real = [this](const char *text) { return QString(text).replace("@", database.name()); };
    // As the refill of a project whose connection had worked leaves them.
    page->set_database_name(real(row.database));
    page->set_table_name(real(row.table));
    sign_in();
    click(page, "cmdConnect");
    if (row.again) {
        click(page, "cmddisconnect");
        // Shown as a reopened project shows them, for the next Connect.
        EXPECT_EQ(page->cmbDB->currentText() + '|' + page->cmbtable->currentText(), real(row.shown));
        click(page, "cmdConnect");
    }
    ASSERT_EQ(messages(), QStringList(row.again ? 2 : 1, kConnected));
    EXPECT_EQ(page->cmbDB->currentText() + '|' + page->cmbtable->currentText(), real(row.shown));
    QStringList chosen;
    for (const QComboBox *box : { page->cmbDB, page->cmbtable }) {
        if (box->currentIndex() >= 0 && box->itemText(box->currentIndex()) == box->currentText())
            chosen << box->objectName();
    }
    EXPECT_EQ(chosen.join(' '), row.chosen);
    EXPECT_EQ(page->manual_mode(), row.manual);

    const QTemporaryDir folder;
    const QString project = folder.filePath("connected.tsl");
    CommonDialog::script(CommonDialog::Answer::chosen_file(project));
    ASSERT_TRUE(WizardFrame::instance().save_project());
    const QStringList lines = QString::fromUtf8(read_file(project)).split("\r\n");
    const QStringList names = real(row.shown).replace(kDatabasePrompt, "").replace(kTablePrompt, "").split('|');
    EXPECT_EQ(lines.mid(lines.indexOf("[MySQL]") + 7, 2), (QStringList { "db=" + names[0], "table=" + names[1] }));

    if (!names.contains(""))
        grid.set(1, 1, "name_col"); // a field stored
    next();
    if (names.contains("")) {
        EXPECT_EQ(last_message(),
            names[0].isEmpty() ? "Please select a database or type its name"
                               : "Please select a table or type its name");
        return;
    }
    ASSERT_EQ(visible_page(), WizardPage::frmStep7) << last_message().toStdString();
    EXPECT_EQ(globals::mysql_db()->dbname + '|' + globals::mysql_db()->table->table_name(), real(row.shown));
}

INSTANTIATE_TEST_SUITE_P(Connect, KeepingNames,
    ::testing::Values(KeptNames { "both_listed", "@", "entries", "@|entries", "cmbDB cmbtable", false },
        KeptNames { "table_not_listed", "@", "orders", "@|orders", "cmbDB", true },
        KeptNames { "database_not_listed", "shop", "orders", "shop|orders", "", true },
        KeptNames { "database_not_listed_no_table", "shop", "", "shop|Select a table or type its name", "", false },
        // Files of earlier versions saved the prompts as names.
        KeptNames { "prompts_saved", "Select a database or type it's name", "Select a table or type it's name",
            "Select a database or type its name|Select a table or type its name", "", false },
        // Through Disconnect and Connect: chosen, typed, and none.
        KeptNames { "both_listed_again", "@", "entries", "@|entries", "cmbDB cmbtable", false, true },
        KeptNames { "table_not_listed_again", "@", "orders", "@|orders", "cmbDB", true, true },
        KeptNames { "prompts_again", "", "", "Select a database or type its name|Select a table or type its name", "",
            false, true }),
    [](const auto &info) { return std::string(info.param.label); });

// The columns share the grid's width, in either mode.
TEST_F(MySqlPage, GridColumnsFillItsWidth)
{
    page->resize(page->width() + 300, page->height());
    for (const bool manual : { false, true }) {
        SCOPED_TRACE(manual);
        if (manual)
            page->modify_grid();
        settle();
        const QTableWidget *cells = grid.cells();
        QList<int> widths;
        for (int column = 0; column < cells->columnCount(); ++column)
            widths << cells->columnWidth(column);
        EXPECT_EQ(std::accumulate(widths.begin(), widths.end(), 0), cells->viewport()->width());
        EXPECT_GT(widths[0], 172 + 100); // the room beyond the given widths, shared
        EXPECT_NEAR(widths[0], widths[1], 1);
        if (manual) {
            EXPECT_LT(widths[2], widths[1] / 2); // the "is date" column stays the narrow one
        }
    }
}

// Keys as the keyboard sends them, each where the focus is then.
void keys(const std::vector<QKeyCombination> &pressed)
{
    for (const QKeyCombination key : pressed) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        QCoreApplication::processEvents();
    }
}

// The grid as "current cell, open or closed, columns chosen" ("-": none).
QString state(const GridDriver &grid)
{
    const QTableWidget *cells = grid.cells();
    const bool open = cells->indexWidget(cells->currentIndex()) || QApplication::activePopupWidget();
    const QString at = QStringLiteral("%1,%2 ").arg(cells->currentRow() + 1).arg(cells->currentColumn());
    return at + (open ? "open " : "closed ") + grid.column(1).join('|').replace("Not assigned", "-");
}

// Arrow keys walk the cells; a list opened by Alt+Down or F4 changes a
// column by a pick, and nothing else does; typed names need no F2.
TEST_F(MySqlPage, KeysMoveBetweenCellsAndOnlyAPickChangesAColumn)
{
    sign_in();
    click(page, "cmdConnect");
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    choose("cmbDB", database.name());
    choose("cmbtable", "entries");
    const std::pair<std::vector<QKeyCombination>, const char *> steps[] = {
        { { Qt::Key_Right, Qt::Key_Down, Qt::Key_Down }, "3,1 closed -|-|-" },
        // Up, Up and Tab once opened a list, changed its choice and kept it.
        { { Qt::Key_Up, Qt::Key_Up, Qt::Key_Tab }, "2,0 closed -|-|-" },
        { { Qt::Key_Right, Qt::Key_N, Qt::Key_Space }, "2,1 closed -|-|-" },
        { { Qt::AltModifier | Qt::Key_Down }, "2,1 open -|-|-" },
        { { Qt::Key_Down, Qt::Key_Down, Qt::Key_Return }, "2,1 closed -|name_col|-" },
        { { Qt::Key_F4, Qt::Key_End, Qt::Key_Escape, Qt::Key_Escape }, "2,1 closed -|name_col|-" },
    };
    grid.enter(1, 0);
    for (const auto &[pressed, after] : steps) {
        keys(pressed);
        EXPECT_EQ(state(grid), QString::fromLatin1(after));
    }
    // A list the mouse opened, in a row as high as it: Up leaves it as it was.
    QWidget *editor = grid.enter(3, 1);
    ASSERT_TRUE(editor);
    EXPECT_GE(editor->height(), editor->minimumSizeHint().height());
    EXPECT_LE(grid.cells()->rowHeight(2), editor->minimumSizeHint().height() + 1); // and the grid line
    keys({ Qt::Key_Up });
    EXPECT_EQ(state(grid), QStringLiteral("2,1 closed -|name_col|-"));

    // Where names are typed, the first key starts the typing over the cell's
    // text, and Left and Right move the caret in it.
    click(page, "cmddisconnect");
    page->txtport->setText(QString::number(closed_port()));
    click(page, "cmdConnect");
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    grid.enter(1, 0);
    keys({ Qt::Key_Right, Qt::Key_N, Qt::Key_O, Qt::Key_Left, Qt::Key_Left, Qt::Key_X, Qt::Key_Right, Qt::Key_Y });
    EXPECT_EQ(state(grid), QStringLiteral("1,1 open -|name_col|-"));
    keys({ Qt::Key_Down, Qt::Key_N, Qt::Key_Return });
    EXPECT_EQ(state(grid), QStringLiteral("2,1 closed xnyo|n|-"));
}

// Where the keyboard is: "row,column" of a grid's current cell, or the
// control's name.
QString focus_at(const GridDriver &grid)
{
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !grid.grid->isAncestorOf(focus))
        return focus ? focus->objectName() : QString();
    return QStringLiteral("%1,%2").arg(grid.cells()->currentRow() + 1).arg(grid.cells()->currentColumn());
}

// Where column names are typed, "Not assigned" is no part of one: what is
// typed replaces it however the editing starts, and Next refuses a name
// begun with it, at its cell. A name is typed on.
TEST_F(MySqlPage, NotAssignedIsNoPartOfAColumnName)
{
    connect_in_vain();
    // Types a name into the email cell, from another cell: a click on a cell
    // that is not current opens it at once.
    const auto name_email = [this](const QString &name) {
        grid.enter(3, 0);
        grid.set(2, 1, name);
        grid.enter(3, 0);
    };
    // Clicks on the cell, then keys from the cell left of it.
    const struct
    {
        int clicks;
        std::vector<QKeyCombination> start;
        const char *before, *typed, *after;
    } ways[] = { { 1, {}, "Not assigned", "customer", "customer" }, { 2, {}, "Not assigned", "customer", "customer" },
        { 0, { Qt::Key_Right, Qt::Key_F2 }, "Not assigned", "customer", "customer" },
        { 0, { Qt::Key_Right }, "Not assigned", "customer", "customer" },
        { 0, { Qt::Key_Right, Qt::Key_Return }, "Not assigned", "customer", "customer" },
        { 1, {}, "cust", "omer", "customer" }, { 0, { Qt::Key_Right, Qt::Key_F2 }, "cust", "omer", "customer" } };
    for (const auto &way : ways) {
        SCOPED_TRACE(&way - ways);
        name_email(way.before);
        grid.enter(2, 0);
        // As the window system delivers clicks: the second of a double click
        // reaches what the first opened.
        QWindow *window = page->windowHandle();
        const QPoint at = grid.cells()->viewport()->mapTo(page, grid.centre(2, 1));
        if (way.clicks == 2)
            QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
        else if (way.clicks == 1)
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
        keys(way.start);
        for (const char *key = way.typed; *key; ++key)
            QTest::keyClick(QApplication::focusWidget(), *key);
        keys({ Qt::Key_Return });
        EXPECT_EQ(grid.column(1), (QStringList { "Not assigned", way.after, "Not assigned" }));
    }
    EXPECT_EQ(messages().size(), 1); // the notice of the Connect alone

    page->cmbDB->setEditText("shop");
    page->cmbtable->setEditText("customers");
    for (const QString name : { "Not assignedcustomer", "NOT ASSIGNED_customer" }) {
        name_email(name);
        next();
        EXPECT_EQ(last_message(),
            "Please select the MySQL column of field 'email' or type its name: '" + name
                + "' begins with 'Not assigned'.");
        EXPECT_EQ(visible_page(), WizardPage::frmstep6a);
        EXPECT_EQ(focus_at(grid), "2,1");
    }
    EXPECT_EQ(mapping(), QStringList(3, " stored")); // the fields as they were
    name_email("was_Not assigned");
    next();
    EXPECT_EQ(visible_page(), WizardPage::frmStep7) << last_message().toStdString();
    EXPECT_EQ(mapping(), (QStringList { "", "was_Not assigned stored", "" }));
}

// Tab walks the last row cell by cell, Shift+Tab the first, before the
// keyboard leaves the grid.
TEST_F(MySqlPage, TabLeavesTheGridAfterItsLastCell)
{
    connect_in_vain();
    QStringList walked;
    grid.enter(3, 0);
    for (int i = 0; i < 3; ++i) {
        keys({ Qt::Key_Tab });
        walked << focus_at(grid);
    }
    grid.enter(1, 2);
    for (int i = 0; i < 3; ++i) {
        keys({ Qt::Key_Backtab });
        walked << focus_at(grid);
    }
    EXPECT_EQ(walked, (QStringList { "3,1", "3,2", "cmdBack", "1,1", "1,0", "create" }));
}

// The program may end while a cell is being edited: the page goes first,
// and the grid's editor closing after it must not call back into it.
TEST_F(MySqlPage, EndsWhileACellIsEdited)
{
    ASSERT_TRUE(grid.enter(2, 1));
    WizardFrame::instance().reset();
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

    Field &field(const char *name) { return *form->fields()->Item(name); }
    // A field's column definition: type, length and default.
    QStringList definition(const char *name)
    {
        return { field(name).sql_type, field(name).sql_length, field(name).sql_default };
    }

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
    if (row.key_chosen) {
        auto *key = find<QComboBox>(page, "cmbfields");
        key->setCurrentIndex(key->findText("col_a"));
    }
    click(page, "cmdNext");
    EXPECT_EQ(messages(), row.message ? QStringList { row.message } : QStringList());
    EXPECT_EQ(m_icons, row.message ? QList<int> { 3 } : QList<int>());
    EXPECT_EQ(visible_page(), row.message ? WizardPage::frmstep6b : WizardPage::frmStep7);
}

const char *const kBadLength = "please enter a valid length for ' col_a ' ";
const char *const kTextKey
    = "The column 'col_a' is of the type TEXT, which cannot be a primary key. Please choose another primary key, or "
      "give 'col_a' one of the types a key can have: TINYINT, SmallInt, MEDIUMINT, INT, BIGINT, Float, DOUBLE, "
      "DECIMAL, DateTime, Date, TimeStamp, Time, Year, Char, VARCHAR.";

INSTANTIATE_TEST_SUITE_P(Rows, TableDefinition,
    ::testing::Values(TableCase { "no_type", "select data type", "", true, "please select a datatype for ' col_a ' " },
        TableCase { "required_length_missing", "VARCHAR", "", true, kBadLength },
        TableCase { "required_length_not_a_number", "INT", "abc", true, kBadLength },
        TableCase { "required_length_fraction", "Char", "1.5", true, kBadLength },
        TableCase { "required_length_with_decimals", "INT", "10,2", true, kBadLength },
        TableCase { "optional_length_not_a_number", "TINYINT", "abc", true, kBadLength },
        TableCase { "optional_length_quoted", "BIGINT", "5) DEFAULT '1", true, kBadLength },
        TableCase { "decimals_where_the_type_has_none", "SmallInt", "6,1", true, kBadLength },
        TableCase { "no_length_type_with_length", "TEXT", "5", true, "You shouldn't enter length for ' col_a ' " },
        TableCase { "no_primary_key", "VARCHAR", "40", false, "Please select a primary key" },
        TableCase { "required_length", "VARCHAR", " 40 ", true, nullptr },
        TableCase { "optional_length_left_out", "MEDIUMINT", "", true, nullptr },
        TableCase { "decimal_with_decimals", "DECIMAL", "10,2", true, nullptr },
        TableCase { "float_with_decimals", "Float", "7,3", true, nullptr },
        TableCase { "date_without_length", "Date", "", true, nullptr },
        TableCase { "text_key", "TEXT", "", true, kTextKey }),
    [](const auto &info) { return std::string(info.param.label); });

// Next refuses as the key just the types the server cannot key without a
// length.
TEST_F(NewTablePage, KeyTypesAreThoseTheServerTakes)
{
    TestDatabase database;
    ASSERT_TRUE(database.ok());
    const auto connection = database.connect();
    open_page();
    grid.set(2, 1, "TEXT");
    auto *key = find<QComboBox>(page, "cmbfields");
    key->setCurrentIndex(key->findText("col_a"));
    // Each type with a length where it needs one, and the longest a key may be.
    QList<std::pair<QString, QString>> cases;
    for (const QString &type : frmstep6b::type_names())
        cases.append({ type, QStringList { "INT", "Char", "VARCHAR" }.contains(type) ? "10" : "" });
    cases.append({ { "VARCHAR", "768" }, { "VARCHAR", "769" } });
    QStringList page_refused, server_refused;
    for (const auto &[type, length] : cases) {
        grid.set(1, 1, type);
        grid.set(1, 2, length);
        click(page, "cmdNext");
        if (visible_page() == WizardPage::frmstep6b)
            page_refused << type + length;
        else
            click(window(WizardPage::frmStep7), "cmdBack");
        connection->Execute(QString("CREATE TABLE `key_%1%2` (c %1%3 PRIMARY KEY) DEFAULT CHARSET=utf8mb4")
                                .arg(type, length, length.isEmpty() ? QString() : '(' + length + ')'));
    }
    const QStringList made = database.column("SHOW TABLES");
    for (const auto &[type, length] : cases) {
        if (!made.contains("key_" + type + length, Qt::CaseInsensitive))
            server_refused << type + length;
    }
    EXPECT_EQ(page_refused, server_refused);
    EXPECT_EQ(page_refused.size(), 9);
}

// Column names, types and defaults show whole in their columns.
TEST_F(NewTablePage, EveryTextShowsWhole)
{
    field("a").mysql_field = "applicant_cover_letter_text";
    field("a").sql_default = "DEFAULT 'no letter was sent with this application'";
    open_page();
    grid.set(2, 3, "CURRENT_TIMESTAMP default");
    settle();
    QTableWidget *cells = grid.cells();
    for (int column = 0; column < cells->columnCount(); ++column) {
        const int needed = std::max(static_cast<QAbstractItemView *>(cells)->sizeHintForColumn(column),
            cells->horizontalHeader()->sectionSizeHint(column));
        EXPECT_GE(cells->columnWidth(column), needed) << column;
    }
}

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
    EXPECT_EQ(grid.grid->Rows(), 3); // c goes to no column
    EXPECT_EQ(grid.column(0), (QStringList { "col_a", "col_b" }));
    EXPECT_EQ(grid.column(1), (QStringList { "VARCHAR", "DECIMAL" }));
    EXPECT_EQ(grid.column(2), (QStringList { "10", "10,2" }));
    EXPECT_EQ(grid.column(3), (QStringList { "x", "O'Brien \"q\" \\" }));
    EXPECT_EQ(page->primary_key_text(), "col_b");
    save_picture(page, "new-table-page.png");

    click(page, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(definition("a"), (QStringList { "VARCHAR", "(10)", "DEFAULT 'x'" }));
    EXPECT_EQ(definition("b"), (QStringList { "DECIMAL", "(10,2)", "DEFAULT 'O'Brien \"q\" \\'" }));
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
    EXPECT_EQ(definition("a"), (QStringList { "TEXT", "", "" }));

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

    // With no field mapped only the key is asked for.
    page->hide();
    field("a").mysql_field.clear();
    page->show();
    EXPECT_EQ(grid.grid->Rows(), 1);
    click(page, "cmdNext");
    EXPECT_EQ(messages(), QStringList(2, "Please select a primary key"));
}

// Left, Right, Home and End move the caret in a length or default cell
// and keep it open; from a closed type list Right goes on to the next cell.
TEST_F(NewTablePage, CaretKeysStayInATextCell)
{
    open_page();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page));
    for (const int column : { 2, 3 }) {
        SCOPED_TRACE(column);
        grid.enter(1, column);
        keys({ Qt::Key_A, Qt::Key_C, Qt::Key_Home, Qt::Key_X, Qt::Key_End, Qt::Key_Z, Qt::Key_Left, Qt::Key_Left,
            Qt::Key_B, Qt::Key_Right, Qt::Key_Y });
        EXPECT_EQ(focus_at(grid), QString("1,%1").arg(column));
        EXPECT_TRUE(grid.cells()->indexWidget(grid.cells()->currentIndex()));
        keys({ Qt::Key_Return });
        EXPECT_EQ(grid.grid->CellText(1, column), "xabcyz");
    }
    grid.enter(1, 1);
    keys({ Qt::Key_Right });
    EXPECT_EQ(focus_at(grid), "1,2");
    EXPECT_FALSE(grid.cells()->indexWidget(grid.cells()->currentIndex()));
}

} // namespace

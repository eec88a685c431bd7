#include "frmstep6a.h"

#include "MyMessage.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "WizardFrame.h"
#include "WizardGrid.h"
#include "frmWait.h"
#include "named.h"

#include "generate/db.h"
#include "model/BesideEventLoop.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/ProjectFormat.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/MYSQL_CONNECTION.h"
#include "mysql/MySQLTable.h"
#include "mysql/MySQLTables.h"
#include "mysql/connections.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using ProjectFormat::kDatabasePrompt;
using ProjectFormat::kTablePrompt;
const QString kNotAssigned = QStringLiteral("Not assigned");
const QString kTrue = QStringLiteral("True");
// The narrowest the hint line is laid out, in pixels.
constexpr int kHintWidth = 400;

// What the grid's hint says: before a connection, before a table, while a
// cell of a grid without the server's columns is edited, and otherwise.
const QString kGridHints[] = {
    QStringLiteral(" Please connect your MySQL server first "),
    QStringLiteral(" Please select a table"),
    QStringLiteral("For each field that you want to save type an equivalent MySQL Field in the 'MySQL's Field Name' "
                   "column and check the 'is date' box for date type fields."),
    QStringLiteral(" For each field that you want to save to database you should select or type an equivalent MySQL "
                   "Field in the 'MySQL's Field Name' column."),
};

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

QComboBox *name_list(QWidget *parent, const char *name, const QString &prompt)
{
    QComboBox *combo = make_editable_combo(parent, name, {}, prompt);
    combo->setEnabled(false);
    return combo;
}

// Whether the box shows one of its own entries, chosen rather than typed.
bool entry_chosen(const QComboBox *combo)
{
    return combo->currentIndex() >= 0 && combo->itemText(combo->currentIndex()) == combo->currentText();
}

// A saved [MySQL] flag of a reopened project; a missing one reads False.
bool saved_flag(const char *key)
{
    const auto &settings = *globals::mysql_settings();
    const QString name = QString::fromLatin1(key);
    return settings.Contains(name) && settings.Item(name).trimmed().compare(kTrue, Qt::CaseInsensitive) == 0;
}

} // namespace

frmstep6a::frmstep6a(QWidget *parent)
    : WizardWindow(WizardPage::frmstep6a, 6, parent)
    , txtHost(named(new QLineEdit(QStringLiteral("localhost"), this), "txtHost"))
    , txtUser(named(new QLineEdit(QStringLiteral("root"), this), "txtUser"))
    , txtport(named(new QLineEdit(QStringLiteral("3306"), this), "txtport"))
    , txtpassword(named(new QLineEdit(this), "txtpassword"))
    , cmbDB(name_list(this, "cmbDB", kDatabasePrompt))
    , cmbtable(name_list(this, "cmbtable", kTablePrompt))
    , Label3(named(new QLabel(QStringLiteral("Database"), this), "Label3"))
    , Label4(named(new QLabel(QStringLiteral("Table Name"), this), "Label4"))
    , Label1(named(new QLabel(QStringLiteral("Host Name"), this), "Label1"))
    , Label5(named(new QLabel(QStringLiteral("User Name"), this), "Label5"))
    , Label2(named(new QLabel(QStringLiteral("Port"), this), "Label2"))
    , Label6(named(new QLabel(QStringLiteral("Password"), this), "Label6"))
    , cmdConnect(make_button(this, "cmdConnect", QStringLiteral("Connect")))
    , cmddisconnect(make_button(this, "cmddisconnect", QStringLiteral("Disconnect")))
    , create(named(new QCheckBox(QStringLiteral("Create table if it doesn't exist"), this), "create"))
    , Label7(named(new QLabel(QStringLiteral("Field mapping"), this), "Label7"))
    , grd(named(new WizardGrid(this), "grd"))
    , cmdBack(make_button(this, "cmdBack", QStringLiteral("<< Back")))
    , cmdNext(make_button(this, "cmdNext", QStringLiteral("Next >>")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
    , cmdHelp(make_button(this, "cmdHelp", QStringLiteral("Help")))
    , lblHelp(named(new QLabel(this), "lblHelp"))
{
    setObjectName(QStringLiteral("frmstep6a"));
    txtpassword->setEchoMode(QLineEdit::Password);
    txtpassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    cmddisconnect->setEnabled(false);
    Label3->setEnabled(false);
    Label4->setEnabled(false);
    create->setToolTip(QStringLiteral("Generate php script to create the table"));
    create->setChecked(globals::prefs()->is_create_tble);

    auto *server = new QGridLayout;
    server->addWidget(Label1, 0, 0);
    server->addWidget(txtHost, 0, 1);
    server->addWidget(Label2, 0, 2);
    server->addWidget(txtport, 0, 3);
    server->addWidget(Label5, 1, 0);
    server->addWidget(txtUser, 1, 1);
    server->addWidget(Label6, 1, 2);
    server->addWidget(txtpassword, 1, 3);
    server->setColumnStretch(1, 3);
    server->setColumnStretch(3, 2);
    auto *connection = new QHBoxLayout;
    connection->addStretch(1);
    connection->addWidget(cmdConnect);
    connection->addWidget(cmddisconnect);
    auto *names = new QGridLayout;
    names->addWidget(Label3, 0, 0);
    names->addWidget(cmbDB, 0, 1);
    names->addWidget(Label4, 1, 0);
    names->addWidget(cmbtable, 1, 1);
    names->addWidget(create, 2, 1);
    names->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (gxButtons_H *button : { cmdBack, cmdNext, cmdCancel, cmdHelp })
        buttons->addWidget(button);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(server);
    layout->addLayout(connection);
    layout->addSpacing(6);
    layout->addLayout(names);
    layout->addSpacing(6);
    layout->addWidget(Label7);
    layout->addWidget(grd, 1);
    layout->addWidget(lblHelp);
    layout->addLayout(buttons);
    grd->setMinimumSize(172 + 172 + 4, 160);

    // Room for the longest of the grid's sentences: the hint comes and goes
    // without moving the controls below it.
    set_hint_label(lblHelp, kHintWidth);
    for (const QString &sentence : kGridHints)
        reserve_hint_room(sentence);
    cmbtable->installEventFilter(this);

    connect(cmdConnect, &gxButtons_H::Click, this, &frmstep6a::cmdConnect_Click);
    connect(cmddisconnect, &gxButtons_H::Click, this, &frmstep6a::cmddisconnect_Click);
    connect(cmbDB, &QComboBox::activated, this, &frmstep6a::cmbDB_Click);
    connect(cmbtable, &QComboBox::activated, this, &frmstep6a::cmbtable_Click);
    connect(cmbtable, &QComboBox::editTextChanged, this, [this] {
        // A typed name is not the table whose columns were read.
        if (!entry_chosen(cmbtable))
            table_listed = false;
        refresh_hints();
    });
    connect(create, &QCheckBox::toggled, this, &frmstep6a::create_Click);
    connect(grd, &WizardGrid::CellEntered, this, &frmstep6a::grd_CellEntered);
    connect(grd, &WizardGrid::CellLeft, this, &frmstep6a::grd_CellLeft);
    connect(cmdNext, &gxButtons_H::Click, this, &frmstep6a::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, [this] { WizardFrame::instance().go_back(*this); });
    connect(cmdCancel, &gxButtons_H::Click, this, &frmstep6a::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmstep6a::show_help);

    if (!grid_ready)
        intialize_grid();
    refresh_hints();
}

frmstep6a::~frmstep6a()
{
    // Closing the window ends a cell's editing, and the grid says so after
    // this page's own values are gone: it no longer tells this page.
    disconnect(grd, nullptr, this, nullptr);
}

QStringList frmstep6a::form_field_names()
{
    QStringList names;
    if (const auto &form = globals::web_page()->selected_form) {
        for (const auto &entry : *form->fields())
            names << entry.value->name;
    }
    return names;
}

void frmstep6a::showEvent(QShowEvent *event)
{
    create->setChecked(globals::prefs()->is_create_tble);
    // Another form taken since the grid was laid out: its fields are listed,
    // in the mode the grid was in, with the chosen table's columns.
    if (form_field_names() != m_listed) {
        const bool manual = manual_mode();
        intialize_grid();
        if (manual)
            modify_grid();
        const auto &table = globals::mysql_db()->table;
        if (globals::SuccessfullyConnected && table_listed && table) {
            for (const auto &entry : *table->field_names())
                grd->ComboAddItem(entry.value);
        }
    }
    refresh_hints();
    WizardWindow::showEvent(event);
}

bool frmstep6a::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbtable && event->type() == QEvent::FocusOut) {
        // Opening the box's own list, or another window, keeps the focus here.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && !QApplication::activePopupWidget())
            cmbtable_LostFocus();
    }
    return WizardWindow::eventFilter(watched, event);
}

bool frmstep6a::manual_mode() const
{
    return grd->Cols() == 3;
}

void frmstep6a::intialize_grid()
{
    // A new layout leaves manual mode.
    grd->set_Cols(2);
    grd->set_ComboTyping(false);
    grd->set_ColWidth(0, 172);
    grd->set_ColWidth(1, 172);
    grd->set_CellText(0, 0, QStringLiteral("Form's Field name"));
    grd->set_CellText(0, 1, QStringLiteral("MySQL's Field name"));
    for (int column : { 0, 1 }) {
        grd->set_CellForeColor(0, column, WizardGrid::kHeaderText);
        grd->set_CellBold(0, column, true);
        grd->set_CellKind(0, column, WizardGrid::Plain);
        grd->set_CellBackColor(0, column, WizardGrid::kHeaderBack);
    }
    grd->set_FixedCols(0);

    const QStringList names = form_field_names();
    choice_index.fill(0, names.size() + 2);
    choice_index[0] = -1;
    grd->set_Rows(1);
    if (const auto &form = globals::web_page()->selected_form) {
        int r = 1;
        for (const auto &entry : *form->fields()) {
            const Field &field = *entry.value;
            grd->set_Rows(r + 1);
            grd->set_CellText(r, 0, field.name);
            grd->set_CellKind(r, 1, WizardGrid::DropDown);
            for (int column : { 0, 1 }) {
                grd->set_CellBackColor(r, column, WizardGrid::kDataBack);
                grd->set_CellForeColor(r, column, WizardGrid::kDataText);
                grd->set_CellBold(r, column, false);
            }
            grd->set_CellText(r, 1, field.mysql_field.isEmpty() ? kNotAssigned : field.mysql_field);
            choice_index[r] = 0;
            ++r;
        }
    }
    grd->ComboClear();
    grd->ComboAddItem(kNotAssigned);
    grd->set_ComboPlaceholder(kNotAssigned);
    m_listed = names;

    // A reopened project whose connection had failed is laid out for typing.
    if (!globals::project_file.isEmpty() && !globals::project_error && saved_flag("isConnect")
        && !saved_flag("SuccessfullyConnected") && !globals::SuccessfullyConnected)
        modify_grid();
    grid_ready = true;
}

void frmstep6a::modify_grid()
{
    grd->set_Cols(3);
    grd->set_ColWidth(0, 140);
    grd->set_ColWidth(1, 140);
    grd->set_ColWidth(2, 61);
    grd->set_CellText(0, 2, QStringLiteral("is date"));
    for (int r = 1; r < grd->Rows(); ++r) {
        grd->set_CellKind(r, 2, WizardGrid::CheckBox);
        grd->set_CellBackColor(r, 2, WizardGrid::kDataBack);
    }
    if (const auto &form = globals::web_page()->selected_form) {
        int r = 1;
        for (const auto &entry : *form->fields())
            grd->set_CellText(r++, 2, entry.value->is_date_field ? kTrue : QStringLiteral("False"));
    }
    // Without the table's columns the user types them.
    grd->set_ComboTyping(true);
    refresh_hints();
}

void frmstep6a::get_connection_parameters()
{
    connections &profile = *globals::mysql_connections();
    profile.set_host(txtHost->text().trimmed());
    profile.set_user(txtUser->text().trimmed());
    profile.set_password(txtpassword->text().trimmed());
    profile.set_port(txtport->text().trimmed());
}

bool frmstep6a::connect_without_freezing()
{
    m_connecting = true;
    const QPointer<QWidget> focused = focusWidget();
    // The page takes no input meanwhile, so Connect cannot be pressed twice;
    // it still repaints, and the wait window says what goes on.
    setEnabled(false);
    frmWait &wait = frmWait::instance();
    wait.show();
    wait.raise();

    bool opened = false;
    const connections profile = *globals::mysql_connections();
    if (const auto connection = profile.new_connection()) {
        // A server that does not answer holds the call for up to the connect
        // time-out.
        run_beside_event_loop([&profile, &connection, &opened] { opened = profile.open(*connection); });
    }

    wait.hide();
    setEnabled(true);
    activateWindow();
    // Locking the page took the focus; it goes back where it was.
    if (focused)
        focused->setFocus();
    m_connecting = false;
    return opened;
}

bool frmstep6a::on_server(const std::function<void()> &call)
{
    const auto lost = [] {
        const auto &connection = globals::mysql_conn;
        return !connection || connection->State() != MYSQL_CONNECTION::Open || connection->ConnectionLost();
    };
    if (!lost()) {
        call();
        if (!lost())
            return true;
        m_lost = globals::mysql_conn->Error()->Description();
    }
    // The server may be back: the page goes on as if it had never gone.
    QStringList words { m_lost };
    if (connect_without_freezing()) {
        m_lost.clear();
        if (!m_listed_database.isEmpty())
            globals::mysql_conn->SelectDb(m_listed_database);
        call();
        if (!lost())
            return true;
        m_lost = globals::mysql_conn->Error()->Description();
        words = QStringList { m_lost };
    } else if (globals::mysql_conn) {
        words << globals::mysql_conn->Error()->Description();
    }
    if (WizardFrame::instance().is_ending())
        return false;
    words.removeAll(QString());
    notice(QStringLiteral("The connection to your MySQL server was lost:\n") + words.join(QLatin1Char('\n'))
        + QStringLiteral("\nOnce the server answers again, try once more: the page connects to it again by itself."));
    return false;
}

void frmstep6a::cmdConnect_Click()
{
    if (m_connecting)
        return;
    globals::isConnect = true;
    m_listed_database.clear();
    m_columns_unread = false;
    m_lost.clear();
    get_connection_parameters();
    const bool connected = connect_without_freezing();
    if (WizardFrame::instance().is_ending())
        return;
    if (!connected) {
        // The server's own reason tells a typing mistake from a server that
        // is down.
        notice(QStringLiteral("Unable to connect your MySQL server, all you have to do is typing the database, table "
                              "and Fields name manually in the lists of this step and check the 'is date' box for "
                              "date type fields\n")
            + globals::mysql_conn->Error()->Description());
        cmddisconnect->setEnabled(false);
        globals::SuccessfullyConnected = false;
        for (QWidget *widget : QWidgetList { cmdConnect, cmbDB, cmbtable, Label3, Label4 })
            widget->setEnabled(true);
        if (const auto &form = globals::web_page()->selected_form)
            globals::is_convert_date = form->is_date;
        modify_grid();
        refresh_hints();
        return;
    }
    notice(QStringLiteral("Connected successfully to MySQL server, please select the database, table, and fields in "
                          "which form data will be saved."));
    const QString database = globals::trim_blanks(database_name());
    const QString table = globals::trim_blanks(table_name());
    cmddisconnect->setEnabled(true);
    cmbDB->setEnabled(true);
    globals::SuccessfullyConnected = true;
    intialize_grid();
    Label3->setEnabled(true);
    cmdConnect->setEnabled(false);
    cmbDB->clear();
    connections &profile = *globals::mysql_connections();
    const QStringList databases = profile.GetDatabases();
    for (int i = 0; i < profile.database_count() && i < databases.size(); ++i)
        cmbDB->addItem(databases.at(i));
    keep_names(database, table);
    cmbDB->setFocus();
    refresh_hints();
}

void frmstep6a::cmddisconnect_Click()
{
    // The names stay for the next Connect, as a reopened project's do.
    const QString database = database_name();
    const QString table = table_name();
    globals::mysql_connections()->disconnect();
    cmdConnect->setEnabled(true);
    cmddisconnect->setEnabled(false);
    cmbDB->clear();
    cmbtable->clear();
    for (QWidget *widget : QWidgetList { Label3, Label4, cmbDB, cmbtable })
        widget->setEnabled(false);
    set_database_name(database);
    set_table_name(table);
    table_listed = false;
    m_listed_database.clear();
    m_columns_unread = false;
    m_lost.clear();
    refresh_hints();
}

void frmstep6a::cmbDB_Click(int index)
{
    if (globals::SuccessfullyConnected && index >= 0)
        list_tables();
}

bool frmstep6a::list_tables()
{
    db &action = *globals::mysql_db();
    action.dbname = cmbDB->currentText();
    const auto listed = action.tables;
    bool read = false;
    if (!on_server([&action, &read] { read = action.read_tables(); })) {
        // The table list still holds the tables it held.
        action.tables = listed;
        return false;
    }
    if (!read) {
        notice(QStringLiteral("Database doesn't exist"));
        return false;
    }
    m_listed_database = action.dbname;
    m_columns_unread = false;
    cmbtable->setEnabled(true);
    Label4->setEnabled(true);
    cmbtable->clear();
    for (const auto &entry : *action.tables)
        cmbtable->addItem(entry.value->table_name());
    cmbtable->setCurrentIndex(-1);
    cmbtable->setEditText(kTablePrompt);
    return true;
}

void frmstep6a::keep_names(const QString &database, const QString &table)
{
    // Nothing is chosen that the user did not name.
    const int database_at = database.isEmpty() ? -1 : cmbDB->findText(database);
    cmbDB->setCurrentIndex(database_at);
    if (database_at < 0)
        set_database_name(database);
    const bool tables = database_at >= 0 && list_tables();
    const int table_at = tables && !table.isEmpty() ? cmbtable->findText(table) : -1;
    if (table_at >= 0) {
        cmbtable->setCurrentIndex(table_at);
        cmbtable_Click(table_at);
    } else if (!table.isEmpty() || (!database.isEmpty() && !tables)) {
        // The table is typed, as in a database the server does not list;
        // its columns are typed too.
        cmbtable->setEnabled(true);
        Label4->setEnabled(true);
        cmbtable->setCurrentIndex(-1);
        set_table_name(table);
        table_listed = false;
        if (!table.isEmpty())
            modify_grid();
    }
}

void frmstep6a::cmbtable_Click(int index)
{
    db &action = *globals::mysql_db();
    if (globals::SuccessfullyConnected && index >= 0 && action.tables && index < action.tables->Count()) {
        // By place in the list: two tables may differ only in case.
        action.table = action.tables->Item(index + 1);
        // Before the reading, which may take the focus from the box a while.
        table_listed = true;
        read_columns();
    } else {
        action.table = std::make_shared<MySQLTable>();
        action.table->set_table_name(cmbtable->currentText());
        table_listed = false;
    }
    refresh_hints();
}

bool frmstep6a::read_columns()
{
    const auto table = globals::mysql_db()->table;
    m_columns_unread = !on_server([&table] { table->read_flds(); });
    grd->ComboClear();
    grd->ComboAddItem(kNotAssigned);
    for (const auto &entry : *table->field_names())
        grd->ComboAddItem(entry.value);
    return !m_columns_unread;
}

QString frmstep6a::database_name() const
{
    return ProjectFormat::mysql_name(cmbDB->currentText());
}

QString frmstep6a::table_name() const
{
    return ProjectFormat::mysql_name(cmbtable->currentText());
}

void frmstep6a::set_database_name(const QString &name)
{
    cmbDB->setEditText(ProjectFormat::mysql_name(name).isEmpty() ? kDatabasePrompt : name);
}

void frmstep6a::set_table_name(const QString &name)
{
    cmbtable->setEditText(ProjectFormat::mysql_name(name).isEmpty() ? kTablePrompt : name);
}

void frmstep6a::cmbtable_LostFocus()
{
    if (globals::SuccessfullyConnected && !table_listed && !manual_mode())
        modify_grid();
}

void frmstep6a::create_Click()
{
    globals::prefs()->is_create_tble = create->isChecked();
}

void frmstep6a::grd_CellEntered(int row, int column)
{
    if (row >= 1 && column == 1 && row < choice_index.size())
        grd->set_ComboIndex(choice_index[row]);
    show_grid_hint(true);
}

void frmstep6a::grd_CellLeft(int row, int column)
{
    if (row >= 1 && column == 1 && row < choice_index.size())
        choice_index[row] = static_cast<qint16>(grd->ComboIndex());
}

void frmstep6a::get_options()
{
    get_connection_parameters();
    db &action = *globals::mysql_db();
    action.dbname = globals::trim_blanks(database_name());
    const int chosen = cmbtable->currentIndex();
    if (entry_chosen(cmbtable) && globals::SuccessfullyConnected && action.tables && chosen < action.tables->Count()) {
        action.table = action.tables->Item(chosen + 1);
    } else {
        action.table = std::make_shared<MySQLTable>();
        action.table->set_table_name(globals::trim_blanks(table_name()));
    }
    action.connection = globals::mysql_connections();

    const auto &form = globals::web_page()->selected_form;
    if (!form)
        return;
    const ::fields &list = *form->fields();
    // The "is date" boxes count where the page has not got the table's columns.
    const bool typed = !entry_chosen(cmbtable) || !globals::SuccessfullyConnected;
    for (int r = 1; r < grd->Rows(); ++r) {
        const QString name = grd->CellText(r, 0);
        if (!list.Contains(name))
            continue;
        Field &field = *list.Item(name);
        const QString column = globals::trim_blanks(grd->CellText(r, 1));
        if (column == kNotAssigned || column.isEmpty()) {
            field.in_mysql = false;
            continue;
        }
        if (typed && manual_mode())
            field.is_date_field = grd->CellText(r, 2) == kTrue;
        field.in_mysql = true;
        field.mysql_field = column;
    }
}

void frmstep6a::getconversion_option(bool &result)
{
    result = true;
    const auto &form = globals::web_page()->selected_form;
    if (!form)
        return;
    const auto &table = globals::mysql_db()->table;
    // The table's column types decide where the page has them; elsewhere the
    // "is date" boxes do.
    const bool types_known = globals::SuccessfullyConnected && table_listed && table;
    bool found = false;
    for (const auto &entry : *form->fields()) {
        const Field &field = *entry.value;
        if (!field.in_mysql || field.mysql_field.isEmpty())
            continue;
        if (!types_known) {
            found = found || field.is_date_field;
            continue;
        }
        if (!table->field_types()->Contains(field.mysql_field)) {
            notice(
                QStringLiteral("Field '") + field.mysql_field + QStringLiteral("' doesn't exist in specified table"));
            result = false;
            return;
        }
        const QString &type = table->field_types()->Item(field.mysql_field);
        if (type == QLatin1String("datetime") || type == QLatin1String("date"))
            found = true;
    }
    if (!found) {
        globals::is_convert_date = form->is_date;
        return;
    }
    if (form->is_date) {
        globals::is_convert_date = true;
        return;
    }
    result = false;
    notice(QStringLiteral("One or more of the selected columns in your MySQL table are dates, please click the 'back' "
                          "button and set the date format used in your Form (in step 1). "));
}

bool frmstep6a::names_given()
{
    QComboBox *box = globals::trim_blanks(database_name()).isEmpty() ? cmbDB
        : globals::trim_blanks(table_name()).isEmpty()               ? cmbtable
                                                                     : nullptr;
    if (!box)
        return true;
    if (!box->isEnabled()) {
        notice(QStringLiteral("Please connect your MySQL server first"));
        txtHost->setFocus();
    } else {
        notice(box == cmbDB ? QStringLiteral("Please select a database or type its name")
                            : QStringLiteral("Please select a table or type its name"));
        box->setFocus();
    }
    return false;
}

bool frmstep6a::columns_named()
{
    for (int r = 1; r < grd->Rows(); ++r) {
        const QString column = globals::trim_blanks(grd->CellText(r, 1));
        if (column == kNotAssigned || !column.startsWith(kNotAssigned, Qt::CaseInsensitive))
            continue;
        notice(QStringLiteral("Please select the MySQL column of field '%1' or type its name: '%2' begins with '%3'.")
                   .arg(grd->CellText(r, 0), column, kNotAssigned));
        grd->set_CurrentCell(r, 1);
        grd->setFocus();
        return false;
    }
    return true;
}

void frmstep6a::cmdNext_Click()
{
    if (m_connecting || !names_given() || !columns_named())
        return;
    get_options();
    // The checks below need the columns that a lost connection kept unread.
    if (m_columns_unread && table_listed && !read_columns())
        return;
    // With no field given a column the script would insert empty rows, or
    // fail every submission on a table whose columns need values.
    const auto &form = globals::web_page()->selected_form;
    if (form && std::none_of(form->fields()->begin(), form->fields()->end(),
                    [](const auto &entry) { return entry.value->in_mysql; })) {
        notice(QStringLiteral("Please select the MySQL column of at least one field: with none, nothing would be "
                              "saved in the table."));
        grd->setFocus();
        return;
    }
    bool convertible = true;
    getconversion_option(convertible);
    if (!convertible)
        return;
    WizardFrame::instance().go_next(*this);
}

void frmstep6a::cancel()
{
    // Not while a connection is being opened: the page waits for it.
    if (m_connecting)
        return;
    WizardWindow::cancel();
}

QString frmstep6a::grid_hint(bool editing) const
{
    if (!globals::isConnect)
        return kGridHints[0];
    if (cmbtable->currentText() == kTablePrompt)
        return kGridHints[1];
    if (editing && !globals::SuccessfullyConnected)
        return kGridHints[2];
    return kGridHints[3];
}

void frmstep6a::refresh_hints()
{
    // The pointer over the grid and the grid getting the focus explain it.
    const QString sentence = grid_hint(false);
    if (sentence == m_grid_hint)
        return;
    add_hint(grd, sentence, nullptr, Pointer | Focus);
    m_grid_hint = sentence;
    // A hint shown before no longer holds.
    reset_hint();
}

void frmstep6a::show_grid_hint(bool editing)
{
    // The pointer and the focus go on explaining the grid as before.
    show_hint(grid_hint(editing));
}

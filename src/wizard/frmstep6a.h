#pragma once

#include "WizardWindow.h"

#include <QStringList>
#include <QVector>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class WizardGrid;
class gxButtons_H;

// Page 6: the MySQL table that stores every submission. Connected to the
// server it lists the databases, a database's tables and a table's columns;
// otherwise the user types the names. The grid maps each form field to a
// column and, without the table's columns, marks the date columns.
class frmstep6a final : public WizardWindow
{
    Q_OBJECT

public:
    explicit frmstep6a(QWidget *parent = nullptr);
    ~frmstep6a() override;

    // Lays the grid out for the current form: one row per field with its
    // column, the drop-down list holding "Not assigned" only.
    void intialize_grid();
    // Copies the connection, the database, the table and the mapping into
    // the model.
    void get_options();
    // Whether the mapped date columns can be converted (sets
    // globals::is_convert_date); false after a notice that says why not.
    void getconversion_option(bool &result);
    // Manual mode: the "is date" column, and typed column names.
    void modify_grid();
    // Copies the trimmed texts of the four connection boxes into the
    // connection profile.
    void get_connection_parameters();

    // Whether the grid is in manual mode.
    bool manual_mode() const;

    // The names the database and table boxes give, as typed or chosen;
    // empty while a box shows its prompt.
    QString database_name() const;
    QString table_name() const;
    // Shows a name in its box, or the box's prompt for no name.
    void set_database_name(const QString &name);
    void set_table_name(const QString &name);

    void cancel() override;

    // Controls that the project file writes and a reopened project fills.
    QLineEdit *txtHost;
    QLineEdit *txtUser;
    QLineEdit *txtport;
    QLineEdit *txtpassword;
    QComboBox *cmbDB;
    QComboBox *cmbtable;
    QLabel *Label3;
    QLabel *Label4;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdConnect_Click();
    void cmddisconnect_Click();
    void cmbDB_Click(int index);
    // Lists the tables of the database the box names; false after a notice
    // when the server cannot read them.
    bool list_tables();
    // Reads the chosen table's columns into the grid's list; false when the
    // connection was lost (the user was told).
    bool read_columns();
    // Runs a call on the shared connection. A connection found lost is
    // opened again as Connect opens it, and the call runs once more; false
    // after telling the user when the server cannot be reached.
    bool on_server(const std::function<void()> &call);
    // After a Connect the names the boxes held stay: chosen where the
    // server lists them, typed where it does not.
    void keep_names(const QString &database, const QString &table);
    void cmbtable_Click(int index);
    void cmbtable_LostFocus();
    void create_Click();
    void cmdNext_Click();
    void grd_CellEntered(int row, int column);
    void grd_CellLeft(int row, int column);
    // Opens the connection on a thread of its own while the window stays
    // live and the wait window shows; false when it failed.
    bool connect_without_freezing();
    // A notice; true when the database and table boxes name something.
    bool names_given();
    // A notice; true when no column name begins with the grid's "Not
    // assigned", as typing onto it would give.
    bool columns_named();
    // The hint sentence of the grid; `editing`: the user entered a cell.
    QString grid_hint(bool editing) const;
    void refresh_hints();
    void show_grid_hint(bool editing);
    // The field names of the current form, as the grid lists them.
    static QStringList form_field_names();

    QLabel *Label1;
    QLabel *Label5;
    QLabel *Label2;
    QLabel *Label6;
    gxButtons_H *cmdConnect;
    gxButtons_H *cmddisconnect;
    QCheckBox *create;
    QLabel *Label7;
    WizardGrid *grd;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;
    QLabel *lblHelp;

    // Per grid row, the drop-down choice last made in its column cell.
    QVector<qint16> choice_index;
    bool grid_ready = false;
    bool table_listed = false;
    bool m_connecting = false;
    // The database whose tables the table list holds; a new connection uses
    // it again.
    QString m_listed_database;
    // The chosen table's columns could not be read: the connection was lost.
    bool m_columns_unread = false;
    // The server's words when the connection was lost, until it is open again.
    QString m_lost;
    // The fields the grid lists.
    QStringList m_listed;
    // The grid's hint as registered.
    QString m_grid_hint;
};

#pragma once

#include "WizardWindow.h"

#include <QStringList>

class QComboBox;
class QLabel;
class WizardGrid;
class gxButtons_H;

// The table that setup.php creates: for every field that goes into the
// MySQL table, its column's data type, length and default; and the primary
// key. Between the MySQL page and the output page.
class frmstep6b final : public WizardWindow
{
    Q_OBJECT

public:
    explicit frmstep6b(QWidget *parent = nullptr);

    // One row per column of the MySQL page's mapping, filled from its field.
    void intialize_grid();
    // The mapped columns as primary-key candidates; the saved key chosen.
    void intialize_comb();
    // The data types of the grid's drop-down list.
    void populate_grd_combo();
    // Copies the page into the fields and the table-setup settings.
    void get_options();
    // False after a notice naming the first problem.
    bool validate();

    // The data types offered, in their order.
    static const QStringList &type_names();
    // The text of the primary-key box.
    QString primary_key_text() const;

    QComboBox *cmbfields;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdNext_Click();
    // The columns of the fields that go into the table, in form order.
    static QStringList mapped_columns();

    QLabel *Label1;
    WizardGrid *grd;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;
    // The columns the grid lists.
    QStringList m_listed;
};

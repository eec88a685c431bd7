#pragma once

#include "WizardWindow.h"

#include <QStringList>

class QComboBox;
class QLineEdit;
class QListWidget;
class gxButtons_H;

// Page 5: which fields the script appends to a text file on the server, the
// file's name and format, the separator and the end of line.
class frmstep5 final : public WizardWindow
{
    Q_OBJECT

public:
    explicit frmstep5(QWidget *parent = nullptr);

    // The file format is "*." and an extension, the separator a name of its
    // list or one character, the end of line "\r\n" or "\n"; false after a
    // notice that names the box.
    bool check();
    // Copies the page into the fields and the CSV settings.
    void get_csv_options();

    // Boxes that the project file reads and a reopened project fills.
    QListWidget *lstfields;
    QLineEdit *txtfilename;
    QComboBox *cmbtypes;
    QComboBox *cmbDelimiter;
    QComboBox *cmbendline;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Lists the current form's fields, each chosen while it is saved.
    void list_fields();
    void cmbtypes_Click(int index);
    void cmdNext_Click();

    gxButtons_H *cmdSelectAll;
    gxButtons_H *CmdselectNone;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;
    QStringList m_listed;
};

#pragma once

#include "MailPage.h"

#include <QPointer>

class FrmMultipleRecipients;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class gxButtons_H;

// Page 3: the mail the script sends the form owner on every valid
// submission.
class frmStep3 final : public MailPage
{
    Q_OBJECT

public:
    explicit frmStep3(QWidget *parent = nullptr);

    // One "name: #name#" line per field of the current form in the body, and
    // the From box back to its prompt.
    void intialize_form();
    // False (after a notice, with the focus on the box at fault) while the
    // page cannot make a mail.
    bool check();
    // Copies the page into the owner mail and the current form.
    void get_options();
    // Rebuilds the owner mail's message lines from the body.
    void get_message();
    // Whether a field of the current form has exactly this name.

    void fill_field_lists(bool from_project) override;

    // Boxes that other windows fill: the recipients list and a reopened
    // project.
    QLineEdit *txtTo;
    QComboBox *cmbfields;
    QLineEdit *txtSubject;
    QPlainTextEdit *txtMessage;
    QCheckBox *chkIP;

private:
    void cmdNext_Click();
    void cmdMultipleRecipient_Click();

    QLabel *Label1;
    QLabel *Label4;
    QLabel *Label2;
    QLabel *Label3;
    gxButtons_H *cmdMultipleRecipient;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;
    // Kept while hidden after Ok; Cancel unloads it.
    QPointer<FrmMultipleRecipients> m_recipients;
};

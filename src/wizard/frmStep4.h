#pragma once

#include "MailPage.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class frmFields;
class gxButtons_H;

// Page 4: the confirmation mail the script sends back to the visitor.
class frmStep4 final : public MailPage
{
    Q_OBJECT

public:
    explicit frmStep4(QWidget *parent = nullptr);

    // The page has no rules: every state passes.
    bool check();
    // Copies the page into the auto-response mail.
    void get_options();
    // Rebuilds the auto-response's message lines from the body.
    void get_message();

    void fill_field_lists(bool from_project) override;

    // The picker that quotes fields in the body.
    frmFields *field_picker() const { return m_fields; }

    // Boxes that other windows fill: the field picker and a reopened project.
    QLineEdit *txtsender;
    QComboBox *cmbfields;
    QLineEdit *txtSubject;
    QPlainTextEdit *txtMessage;

private:
    void cmdNext_Click();

    QLabel *Label4;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    gxButtons_H *personalize;
    gxButtons_H *cmdBack;
    gxButtons_H *cmdNext;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdHelp;
    frmFields *m_fields;
};

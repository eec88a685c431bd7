#pragma once

#include <QDialog>

class QListWidget;
class frmStep4;
class gxButtons_H;

// Quotes a field of the form in the confirmation mail's body: the chosen
// field's reference goes to the end of the body.
class frmFields final : public QDialog
{
    Q_OBJECT

public:
    explicit frmFields(frmStep4 *page);

    // The form's fields, listed by the first page when it takes a form.
    QListWidget *lstfields;

private:
    void cmdAdd_Click();

    frmStep4 *m_page;
    gxButtons_H *cmdAdd;
    gxButtons_H *cmdCancel;
};

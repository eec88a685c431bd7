#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class frmStep3;
class gxButtons_H;

// The owner mail's list of recipients: addresses are added to and removed
// from the owner mail as the user edits the list; Ok puts them into the
// page's To box.
class FrmMultipleRecipients final : public QDialog
{
    Q_OBJECT

public:
    explicit FrmMultipleRecipients(frmStep3 *page);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdAdd_Click();
    void cmdRemove_Click();
    void CmdOk_Click();
    void take_addresses_in_to();

    frmStep3 *m_page;
    QLineEdit *txtEmail;
    QListWidget *lstemails;
    gxButtons_H *cmdAdd;
    gxButtons_H *CmdOk;
    gxButtons_H *cmdCancel;
    gxButtons_H *cmdRemove;
};

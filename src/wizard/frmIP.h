#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class gxButtons_H;

// Edits the list of visitor addresses the generated script refuses. The
// list is the page's `blocked_ips`, changed in place: there is no cancel.
class frmIP final : public QDialog
{
    Q_OBJECT

public:
    explicit frmIP(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void cmdAdd_Click();
    void cmdRemove_Click();

    QLineEdit *txtIP;
    QListWidget *lstIps;
    gxButtons_H *cmdAdd;
    gxButtons_H *cmdRemove;
    gxButtons_H *CmdOk;
};

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

    // A visitor's address as a web server reports it to the script, which
    // compares it with each banned one exactly: a valid IPv4 address in
    // dotted decimal or an IPv6 address in its canonical form (lower case,
    // the longest run of zeros shortened). Empty for anything else (a
    // network, a host name, a port, a zone).
    static QString canonical_address(const QString &typed);

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

#include "frmIP.h"

#include "DialogKeys.h"
#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"

#include "model/globals.h"
#include "model/webpage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <arpa/inet.h>

frmIP::frmIP(QWidget *parent)
    : QDialog(parent)
    , txtIP(new QLineEdit(this))
    , lstIps(new QListWidget(this))
    , cmdAdd(make_button(this, "cmdAdd", QStringLiteral("Add IP")))
    , cmdRemove(make_button(this, "cmdRemove", QStringLiteral("Remove IP")))
    , CmdOk(make_button(this, "CmdOk", QStringLiteral("Ok")))
{
    setObjectName(QStringLiteral("frmIP"));
    setWindowTitle(QStringLiteral("Block certain IP addresses"));
    fit_title(this);
    txtIP->setObjectName(QStringLiteral("txtIP"));
    lstIps->setObjectName(QStringLiteral("lstIps"));
    auto *label = new QLabel(QStringLiteral("Ban users connecting from these IP addresses"), this);
    label->setObjectName(QStringLiteral("Label1"));

    cmdRemove->setEnabled(false);
    const StringCollection &ips = *globals::web_page()->blocked_ips();
    if (ips.Count() > 0) {
        cmdRemove->setEnabled(true);
        lstIps->clear();
        for (const auto &entry : ips)
            lstIps->addItem(entry.value);
    }

    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(txtIP, 1, 0);
    grid->addWidget(cmdAdd, 1, 1);
    grid->addWidget(lstIps, 2, 0, 2, 1);
    auto *side = new QVBoxLayout;
    side->addWidget(cmdRemove);
    side->addStretch(1);
    side->addWidget(CmdOk);
    grid->addLayout(side, 2, 1, 2, 1);
    lstIps->setMinimumHeight(160);

    connect(cmdAdd, &gxButtons_H::Click, this, &frmIP::cmdAdd_Click);
    connect(cmdRemove, &gxButtons_H::Click, this, &frmIP::cmdRemove_Click);
    connect(CmdOk, &gxButtons_H::Click, this, &QDialog::accept);
    // No cancel: edits are made as they go, so Escape just closes.
    auto *keys = new DialogKeys(this, CmdOk);
    keys->on_enter_in(txtIP, cmdAdd);
}

void frmIP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtIP->setFocus();
}

QString frmIP::canonical_address(const QString &typed)
{
    // Characters outside Latin-1 become "?", which no address holds.
    const QByteArray text = typed.trimmed().toLatin1();
    for (const int family : { AF_INET, AF_INET6 }) {
        unsigned char address[sizeof(in6_addr)];
        char shown[INET6_ADDRSTRLEN];
        if (inet_pton(family, text.constData(), address) == 1 && inet_ntop(family, address, shown, sizeof shown))
            return QString::fromLatin1(shown);
    }
    return {};
}

void frmIP::cmdAdd_Click()
{
    // The script compares addresses as text: only one written as the server
    // will report it can ever match.
    const QString address = canonical_address(txtIP->text());
    if (address.isEmpty()) {
        MyMessage::show_message(QStringLiteral("Please enter a valid IP address"), 1, 3);
        return;
    }
    // An address listed once is banned; a second entry bans nothing more.
    for (const auto &entry : *globals::web_page()->blocked_ips()) {
        if (canonical_address(entry.value) == address) {
            MyMessage::show_message(QStringLiteral("This IP address is already in the list"), 1, 3);
            txtIP->setFocus();
            txtIP->selectAll();
            return;
        }
    }
    lstIps->addItem(address);
    globals::web_page()->blocked_ips()->Add(address);
    txtIP->clear();
    txtIP->setFocus();
    cmdRemove->setEnabled(true);
}

void frmIP::cmdRemove_Click()
{
    if (lstIps->count() == 0)
        cmdRemove->setEnabled(false);
    const int selected = lstIps->currentRow();
    if (selected < 0 || !lstIps->item(selected)->isSelected())
        return;
    globals::web_page()->blocked_ips()->Remove(selected + 1);
    delete lstIps->takeItem(selected);
    // As after removing from a list box: nothing is selected, so another
    // click removes nothing.
    lstIps->setCurrentRow(-1);
    lstIps->clearSelection();
}

#include "frmIP.h"

#include "MyMessage.h"
#include "WizardButtons.h"

#include "model/globals.h"
#include "model/webpage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

frmIP::frmIP(QWidget *parent)
    : QDialog(parent)
    , txtIP(new QLineEdit(this))
    , lstIps(new QListWidget(this))
    , cmdAdd(make_button(this, "cmdAdd", QStringLiteral("Add IP")))
    , cmdRemove(make_button(this, "cmdRemove", QStringLiteral("Remove IP")))
    , CmdOk(make_button(this, "CmdOk", QStringLiteral("Ok")))
{
    setObjectName(QStringLiteral("frmIP"));
    setWindowTitle(QStringLiteral("block certain IP addresses "));
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
    connect(txtIP, &QLineEdit::returnPressed, this, &frmIP::cmdAdd_Click);
    connect(cmdRemove, &gxButtons_H::Click, this, &frmIP::cmdRemove_Click);
    connect(CmdOk, &gxButtons_H::Click, this, &QDialog::accept);
}

void frmIP::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtIP->setFocus();
}

void frmIP::cmdAdd_Click()
{
    const QString address = txtIP->text();
    if (!address.contains(QLatin1Char('.'))) {
        MyMessage::show_message(QStringLiteral("Please enter a valid IP address"), 1, 3);
        return;
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

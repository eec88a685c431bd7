#include "FrmMultipleRecipients.h"

#include "DialogKeys.h"
#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "frmStep3.h"
#include "named.h"

#include "generate/cmail.h"
#include "model/globals.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

FrmMultipleRecipients::FrmMultipleRecipients(frmStep3 *page)
    : QDialog(page)
    , m_page(page)
    , txtEmail(named(new QLineEdit(this), "txtEmail"))
    , lstemails(named(new QListWidget(this), "lstemails"))
    , cmdAdd(make_button(this, "cmdAdd", QStringLiteral("Add ")))
    , CmdOk(make_button(this, "CmdOk", QStringLiteral("Ok")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
    , cmdRemove(make_button(this, "cmdRemove", QStringLiteral("Remove")))
{
    setObjectName(QStringLiteral("FrmMultipleRecipients"));
    setWindowTitle(QStringLiteral("Multiple Recipients"));
    fit_title(this);
    cmdRemove->setEnabled(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(
        named(new QLabel(QStringLiteral("Type the email address of the Recipient you want to add"), this), "Label1"), 0,
        0, 1, 2);
    layout->addWidget(txtEmail, 1, 0);
    layout->addWidget(cmdAdd, 1, 1);
    layout->addWidget(lstemails, 2, 0, 4, 1);
    layout->addWidget(cmdRemove, 2, 1);
    layout->addWidget(CmdOk, 3, 1);
    layout->addWidget(cmdCancel, 4, 1);
    layout->setRowStretch(5, 1);
    resize(440, 260);

    connect(cmdAdd, &gxButtons_H::Click, this, &FrmMultipleRecipients::cmdAdd_Click);
    connect(cmdRemove, &gxButtons_H::Click, this, &FrmMultipleRecipients::cmdRemove_Click);
    connect(CmdOk, &gxButtons_H::Click, this, &FrmMultipleRecipients::CmdOk_Click);
    connect(cmdCancel, &gxButtons_H::Click, this, &FrmMultipleRecipients::reject);
    auto *keys = new DialogKeys(this, CmdOk, cmdCancel);
    keys->on_enter_in(txtEmail, cmdAdd);

    const StringCollection &recipients = *globals::owner_mail()->recipients();
    if (recipients.Count() >= 1) {
        cmdRemove->setEnabled(true);
        lstemails->clear();
        for (const auto &entry : recipients)
            lstemails->addItem(entry.value);
    }
}

void FrmMultipleRecipients::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    take_addresses_in_to();
    txtEmail->setFocus();
}

void FrmMultipleRecipients::take_addresses_in_to()
{
    // What the user typed in To joins the list, so that Ok, which puts the
    // list into To, never drops an address.
    StringCollection &recipients = *globals::owner_mail()->recipients();
    for (const QString &part : m_page->txtTo->text().split(QLatin1Char(','))) {
        const QString address = part.trimmed();
        if (address.isEmpty() || recipients.Contains(address))
            continue;
        recipients.Add(address, address);
        lstemails->addItem(address);
    }
    if (lstemails->count() >= 1)
        cmdRemove->setEnabled(true);
}

void FrmMultipleRecipients::cmdAdd_Click()
{
    const QString address = txtEmail->text();
    if (!address.contains(QLatin1Char('@'))) {
        MyMessage::show_message(QStringLiteral("Please enter a valid email address"), 1, 3);
        return;
    }
    StringCollection &recipients = *globals::owner_mail()->recipients();
    if (recipients.Contains(address)) {
        // Each address is held once: the list shows the one already there.
        const auto held = lstemails->findItems(address, Qt::MatchFixedString);
        if (!held.isEmpty())
            lstemails->setCurrentItem(held.front());
    } else {
        lstemails->addItem(address);
        recipients.Add(address, address);
    }
    txtEmail->clear();
    txtEmail->setFocus();
    if (lstemails->count() >= 1)
        cmdRemove->setEnabled(true);
}

void FrmMultipleRecipients::cmdRemove_Click()
{
    if (lstemails->count() == 0)
        cmdRemove->setEnabled(false);
    const auto selected = lstemails->selectedItems();
    if (selected.isEmpty())
        return;
    StringCollection &recipients = *globals::owner_mail()->recipients();
    if (recipients.Contains(selected.front()->text()))
        recipients.Remove(selected.front()->text());
    delete selected.front();
    // Nothing is chosen afterwards: a second Remove needs a new choice.
    lstemails->setCurrentRow(-1);
    lstemails->clearSelection();
}

void FrmMultipleRecipients::CmdOk_Click()
{
    cmail &mail = *globals::owner_mail();
    const StringCollection &recipients = *mail.recipients();
    if (recipients.Count() > 1) {
        mail.is_multiRecipients = true;
        QStringList addresses;
        for (const auto &entry : recipients)
            addresses << entry.value;
        m_page->txtTo->setText(addresses.join(QLatin1Char(',')));
    } else {
        mail.is_multiRecipients = false;
        if (recipients.Count() == 1)
            m_page->txtTo->setText(recipients.Item(1));
    }
    accept();
}

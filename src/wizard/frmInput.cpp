#include "frmInput.h"

#include "DialogKeys.h"
#include "MyMessage.h"
#include "WizardButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

frmInput::frmInput(QWidget *parent)
    : QDialog(parent)
    , lblmessage(new QLabel(this))
    , Text1(new QLineEdit(this))
    , CmdOk(make_button(this, "CmdOk", QStringLiteral("OK")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
{
    setObjectName(QStringLiteral("frmInput"));
    setWindowTitle(QStringLiteral("Tressel"));
    lblmessage->setObjectName(QStringLiteral("lblmessage"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMinimumWidth(280);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblmessage);
    layout->addWidget(Text1);
    layout->addLayout(buttons);

    connect(CmdOk, &gxButtons_H::Click, this, &frmInput::CmdOk_Click);
    connect(cmdCancel, &gxButtons_H::Click, this, &QDialog::reject);
    new DialogKeys(this, CmdOk, cmdCancel);
}

QString frmInput::ask(QWidget *parent, const QString &prompt, const QString &default_text)
{
    frmInput box(parent);
    box.lblmessage->setText(prompt);
    box.Text1->setText(default_text);
    box.Text1->selectAll();
    box.exec();
    return box.result;
}

bool frmInput::valid_name(const QString &name)
{
    // "\" as on the system projects may come from, "/" as here: either would
    // make the name a path.
    return !name.isEmpty() && !name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('/'));
}

void frmInput::CmdOk_Click()
{
    if (!valid_name(Text1->text())) {
        MyMessage::show_message(QStringLiteral("please enter a valid name"), 1, 3);
        Text1->setFocus();
        return;
    }
    result = Text1->text();
    accept();
}

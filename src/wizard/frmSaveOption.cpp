#include "frmSaveOption.h"

#include "Artwork.h"
#include "DialogKeys.h"
#include "WizardButtons.h"
#include "named.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

frmSaveOption::frmSaveOption(QWidget *parent)
    : QDialog(parent)
    , optNew(named(new QRadioButton(QStringLiteral("Keep new Fields only"), this), "optNew"))
    , OptAll(named(new QRadioButton(QStringLiteral("Keep saved Fields and new Fields"), this), "OptAll"))
    , optSaved(named(new QRadioButton(QStringLiteral("Keep saved Fields only"), this), "optSaved"))
    , CmdOk(make_button(this, "CmdOk", QStringLiteral("OK")))
{
    setObjectName(QStringLiteral("frmSaveOption"));
    setWindowTitle(QStringLiteral("Tressel"));
    OptAll->setChecked(true);

    auto *picture = named(new QLabel(this), "Image1");
    picture->setPixmap(message_icon(1));
    auto *texts = new QVBoxLayout;
    texts->addWidget(named(new QLabel(QStringLiteral("There are some new Fields in the HTML Form "), this), "Label1"));
    texts->addWidget(named(new QLabel(QStringLiteral("aren't saved in this project "), this), "Label2"));
    texts->addSpacing(8);
    for (QRadioButton *option : { optNew, OptAll, optSaved })
        texts->addWidget(option);
    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(CmdOk, 0, Qt::AlignHCenter);

    connect(CmdOk, &gxButtons_H::Click, this, &frmSaveOption::CmdOk_Click);
    new DialogKeys(this, CmdOk);
}

frmSaveOption::Choice frmSaveOption::choice() const
{
    if (optNew->isChecked())
        return Choice::NewFields;
    if (optSaved->isChecked())
        return Choice::SavedFields;
    return Choice::AllFields;
}

void frmSaveOption::CmdOk_Click()
{
    accept();
}

void frmSaveOption::reject()
{
    // Leaving without OK drops the choice made: every field is kept.
    OptAll->setChecked(true);
    QDialog::reject();
}

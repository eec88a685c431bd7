#include "FrmManyforms.h"

#include "DialogKeys.h"
#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "frmStep1.h"
#include "named.h"

#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kPlaceholder = QStringLiteral("<Select a form>");
}

FrmManyforms::FrmManyforms(frmStep1 *page)
    : QDialog(page)
    , m_page(page)
    , Label1(named(new QLabel(QStringLiteral("This page has more than one Form, Please Select "), this), "Label1"))
    , Label2(named(new QLabel(QStringLiteral("the Form you wish to process ."), this), "Label2"))
    , cmbForm(make_editable_combo(this, "cmbForm", {}, kPlaceholder))
    , CmdOk(make_button(this, "CmdOk", QStringLiteral("OK")))
{
    setObjectName(QStringLiteral("FrmManyforms"));
    setWindowTitle(QStringLiteral("Select Form .."));
    fit_title(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Forms"), this));
    row->addWidget(cmbForm, 1);
    layout->addLayout(row);
    layout->addWidget(CmdOk, 0, Qt::AlignHCenter);
    connect(CmdOk, &gxButtons_H::Click, this, &FrmManyforms::CmdOk_Click);
    new DialogKeys(this, CmdOk);
}

void FrmManyforms::add_form(const QString &title)
{
    cmbForm->addItem(title);
    cmbForm->setEditText(kPlaceholder);
}

void FrmManyforms::ask_instead()
{
    Label1->setText(QStringLiteral("Select the form to process in its place,"));
    Label2->setText(QStringLiteral("or close this window to keep the page as it is."));
}

void FrmManyforms::CmdOk_Click()
{
    const QString title = cmbForm->currentText();
    const auto &forms = globals::web_page()->forms;
    // A typed title that names no form is refused like no choice at all.
    if (title == kPlaceholder || !forms || !forms->Contains(title)) {
        MyMessage::show_message(QStringLiteral("please select a form to process"), 1, 3);
        return;
    }
    m_page->select_form(forms->Item(title));
    globals::selected_form_title = title;
    accept();
}

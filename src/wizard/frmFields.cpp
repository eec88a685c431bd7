#include "frmFields.h"

#include "DialogKeys.h"
#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "frmStep4.h"
#include "named.h"

#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

frmFields::frmFields(frmStep4 *page)
    : QDialog(page)
    , lstfields(named(new QListWidget(this), "lstfields"))
    , m_page(page)
    , cmdAdd(make_button(this, "cmdAdd", QStringLiteral("Add")))
    , cmdCancel(make_button(this, "cmdCancel", QStringLiteral("Cancel")))
{
    setObjectName(QStringLiteral("frmFields"));
    setWindowTitle(QStringLiteral("Personalize Message Body"));
    fit_title(this);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstfields, 1);
    layout->addLayout(buttons);
    resize(300, 280);

    connect(cmdAdd, &gxButtons_H::Click, this, &frmFields::cmdAdd_Click);
    connect(cmdCancel, &gxButtons_H::Click, this, &frmFields::reject);
    new DialogKeys(this, cmdAdd, cmdCancel);
}

void frmFields::cmdAdd_Click()
{
    const auto selected = lstfields->selectedItems();
    if (selected.isEmpty()) {
        MyMessage::show_message(QStringLiteral("Please select a field to insert in the message body"), 1, 3);
        return;
    }
    const QString name = selected.front()->text();
    const auto &form = globals::web_page()->selected_form;
    const bool upload
        = form && form->fields()->Contains(name) && form->fields()->Item(name)->field_type == QLatin1String("file");
    // An upload is quoted by the web address the script gives it.
    const QString reference = QLatin1Char('#') + name + (upload ? QStringLiteral("_URL#") : QStringLiteral("#"));
    QTextCursor end(m_page->txtMessage->document());
    end.movePosition(QTextCursor::End);
    end.insertText(reference);
    accept();
}

#include "frmStep4.h"

#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "WizardFrame.h"
#include "frmFields.h"
#include "named.h"

#include "generate/cmail.h"
#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

frmStep4::frmStep4(QWidget *parent)
    : MailPage(WizardPage::frmStep4, 4, parent)
{
    setObjectName(QStringLiteral("frmStep4"));
    Label4 = named(new QLabel(QStringLiteral("From"), this), "Label4");
    txtsender = named(new QLineEdit(this), "txtsender");
    Label1 = named(new QLabel(QStringLiteral("To"), this), "Label1");
    cmbfields = make_editable_combo(this, "cmbfields");
    Label2 = named(new QLabel(QStringLiteral("Subject"), this), "Label2");
    txtSubject = named(new QLineEdit(this), "txtSubject");
    Label3 = named(new QLabel(QStringLiteral("Message"), this), "Label3");
    txtMessage = named(new QPlainTextEdit(this), "txtMessage");
    personalize = make_button(this, "personalize", QStringLiteral("Add Personalized Field..."));
    cmdBack = make_button(this, "cmdBack", QStringLiteral("<< Back"));
    cmdNext = make_button(this, "cmdNext", QStringLiteral("Next >>"));
    cmdCancel = make_button(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdHelp = make_button(this, "cmdHelp", QStringLiteral("Help"));
    m_fields = new frmFields(this);

    fit_edit_text(cmbfields, kSelectVisitorField);
    cmbfields->setEditText(kSelectVisitorField);
    txtMessage->setTabChangesFocus(true);

    auto *rows = new QGridLayout;
    rows->addWidget(Label4, 0, 0);
    rows->addWidget(txtsender, 0, 1);
    rows->addWidget(Label1, 1, 0);
    rows->addWidget(cmbfields, 1, 1);
    rows->addWidget(Label2, 2, 0);
    rows->addWidget(txtSubject, 2, 1);
    rows->addWidget(Label3, 3, 0, Qt::AlignTop);
    rows->addWidget(txtMessage, 3, 1);
    rows->addWidget(personalize, 4, 1, Qt::AlignLeft);
    rows->setRowStretch(3, 1);
    arrange(rows, { cmdBack, cmdNext, cmdCancel, cmdHelp });

    // The hint stands level with the box it explains.
    const QString from_hint = QStringLiteral(" Type your Email address");
    add_placed_hint(txtsender, Pointer | Focus, from_hint, Label4, 400, 1800);
    add_placed_hint(Label4, Pointer, from_hint, Label4, 400, 1800);
    const QString to_hint = QStringLiteral("Select the field which include your visitor email address  ");
    add_placed_hint(cmbfields, Focus, to_hint, Label1, 900, 2280);
    add_placed_hint(Label1, Pointer, to_hint, Label1, 900, 2280);
    const QString subject_hint = QStringLiteral("  Type the subject you want for the confirmation email");
    add_placed_hint(txtSubject, Pointer | Focus, subject_hint, Label2, 500, 2760);
    add_placed_hint(Label2, Pointer, subject_hint, Label2, 600, 2760);
    const QString message_hint
        = QStringLiteral(" Type the Message that you like to be sent to your visitor,You can add field data to "
                         "personalize your confirmation email by clicking the 'Add Personalized Field' button");
    add_placed_hint(txtMessage, Pointer | Focus, message_hint, Label3, 1695, 3000);
    add_placed_hint(Label3, Pointer, message_hint, Label3, 1695, 3000);
    add_placed_hint(personalize, Pointer,
        QStringLiteral(" You can add field data to personalize your confirmation email by clicking the 'Add "
                       "Personalized Field' button, select the Field you want to add and then press 'Add'  "),
        nullptr, 1695, 3000);
    set_hint_rest(1215, 1800);
    reset_hint();

    connect(txtsender, &QLineEdit::textChanged, this, [this] { show_hint_of(txtsender); });
    connect(cmbfields, &QComboBox::activated, this, [this] { show_hint_of(cmbfields); });
    connect(txtSubject, &QLineEdit::textChanged, this, [this] { show_hint_of(txtSubject); });
    connect(txtMessage, &QPlainTextEdit::textChanged, this, [this] { show_hint_of(txtMessage); });
    connect(personalize, &gxButtons_H::Click, m_fields, &frmFields::exec);
    connect(cmdNext, &gxButtons_H::Click, this, &frmStep4::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, [this] { WizardFrame::instance().go_back(*this); });
    connect(cmdCancel, &gxButtons_H::Click, this, &frmStep4::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmStep4::show_help);
}

void frmStep4::fill_field_lists(bool from_project)
{
    Q_UNUSED(from_project);
    cmbfields->clear();
    m_fields->lstfields->clear();
    if (const auto &form = globals::web_page()->selected_form) {
        for (const auto &entry : *form->fields()) {
            cmbfields->addItem(entry.value->name);
            m_fields->lstfields->addItem(entry.value->name);
        }
    }
    fit_entries(m_fields->lstfields);
    // A field of another form is no choice: the prompt shows again.
    cmbfields->setEditText(kSelectVisitorField);
}

bool frmStep4::check()
{
    // The reply goes to what the visitor typed in a field of the form; any
    // other text is no address, and the reply would never be sent.
    if (names_field(globals::trim_blanks(cmbfields->currentText())))
        return true;
    MyMessage::show_message(
        QStringLiteral("Please select from the 'To' list the field in which your visitor types an email address"), 1, 3);
    cmbfields->setFocus();
    return false;
}

void frmStep4::get_options()
{
    cmail &mail = *globals::auto_mail();
    mail.is_autoresponde = true;
    mail.sender = txtsender->text();
    mail.email_to = QLatin1Char('$') + globals::trim_blanks(cmbfields->currentText());
    mail.subject = txtSubject->text();
    get_message();
}

void frmStep4::get_message()
{
    globals::auto_mail()->set_message(txtMessage->toPlainText());
}

void frmStep4::cmdNext_Click()
{
    if (!check())
        return;
    get_options();
    WizardFrame::instance().go_next(*this);
}

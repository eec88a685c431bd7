#include "frmStep3.h"

#include "FrmMultipleRecipients.h"
#include "MyMessage.h"
#include "TextFit.h"
#include "WizardButtons.h"
#include "WizardControls.h"
#include "WizardFrame.h"
#include "named.h"

#include "generate/cmail.h"
#include "model/CForm.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

void notice(const QString &text)
{
    MyMessage::show_message(text, 1, 3);
}

} // namespace

frmStep3::frmStep3(QWidget *parent)
    : MailPage(WizardPage::frmStep3, 3, parent)
{
    setObjectName(QStringLiteral("frmStep3"));
    Label1 = named(new QLabel(QStringLiteral("To"), this), "Label1");
    txtTo = named(new QLineEdit(this), "txtTo");
    cmdMultipleRecipient = make_button(this, "cmdMultipleRecipient", QStringLiteral("Multiple Recipients..."));
    Label4 = named(new QLabel(QStringLiteral("From"), this), "Label4");
    cmbfields = make_editable_combo(this, "cmbfields");
    Label2 = named(new QLabel(QStringLiteral("Subject"), this), "Label2");
    txtSubject = named(new QLineEdit(this), "txtSubject");
    Label3 = named(new QLabel(QStringLiteral("Message"), this), "Label3");
    txtMessage = named(new QPlainTextEdit(this), "txtMessage");
    chkIP = named(new QCheckBox(QStringLiteral("Send your visitor's IP address through email"), this), "chkIP");
    cmdBack = make_button(this, "cmdBack", QStringLiteral("<< Back"));
    cmdNext = make_button(this, "cmdNext", QStringLiteral("Next >>"));
    cmdCancel = make_button(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdHelp = make_button(this, "cmdHelp", QStringLiteral("Help"));

    fit_edit_text(cmbfields, kSelectVisitorField);
    txtMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMessage->setTabChangesFocus(true);
    chkIP->setChecked(true);

    auto *rows = new QGridLayout;
    rows->addWidget(Label1, 0, 0);
    rows->addWidget(txtTo, 0, 1);
    rows->addWidget(cmdMultipleRecipient, 0, 2);
    rows->addWidget(Label4, 1, 0);
    rows->addWidget(cmbfields, 1, 1, 1, 2);
    rows->addWidget(Label2, 2, 0);
    rows->addWidget(txtSubject, 2, 1, 1, 2);
    rows->addWidget(Label3, 3, 0, Qt::AlignTop);
    rows->addWidget(txtMessage, 3, 1, 1, 2);
    rows->addWidget(chkIP, 4, 1, 1, 2, Qt::AlignLeft);
    rows->setRowStretch(3, 1);
    arrange(rows, { cmdBack, cmdNext, cmdCancel, cmdHelp });

    const QString to_hint = QStringLiteral(" Type your Email address  ");
    add_placed_hint(txtTo, Pointer | Focus | AnyKey, to_hint, Label1, 400);
    add_placed_hint(Label1, Pointer, to_hint, Label1, 400);
    const QString subject_hint = QStringLiteral("Type the subject you want for the email");
    add_placed_hint(txtSubject, Pointer | Focus | AnyKey | TypedKey, subject_hint, Label2, 500);
    add_placed_hint(Label2, Pointer, subject_hint, Label2, 500);
    const QString message_hint = QStringLiteral(
        " The body of the message will contain the name of each field and its value entered by your visitor in "
        "the following Format 'Field name : # Field value#' . you can also add any other text you want in the body "
        "of the email ");
    add_placed_hint(txtMessage, Pointer | Focus | TypedKey, message_hint, Label3, 1935);
    add_placed_hint(Label3, Pointer, message_hint, Label3, 1935);
    const QString from_hint = QStringLiteral(
        " You can type any valid email address if your form fields don't include your visitor email address.");
    add_placed_hint(cmbfields, Focus | AnyKey | TypedKey, from_hint, Label4, 1215);
    add_placed_hint(Label4, Pointer, from_hint, Label4, 1215);
    add_placed_hint(chkIP, Pointer | FocusResets,
        QStringLiteral("This feature makes you receive the IP address of your visitor along with the data he sent "
                       "through your form, so that you may add it to the blocked IP addresses if you want."),
        chkIP, 1935);
    add_placed_hint(
        cmdMultipleRecipient, Pointer, QStringLiteral("Send form data to as many people as you wish"), nullptr, 500);
    set_hint_rest(1215, 1800);
    reset_hint();

    connect(cmdNext, &gxButtons_H::Click, this, &frmStep3::cmdNext_Click);
    connect(cmdBack, &gxButtons_H::Click, this, [this] { WizardFrame::instance().go_back(*this); });
    connect(cmdCancel, &gxButtons_H::Click, this, &frmStep3::cancel);
    connect(cmdHelp, &gxButtons_H::Click, this, &frmStep3::show_help);
    connect(cmdMultipleRecipient, &gxButtons_H::Click, this, &frmStep3::cmdMultipleRecipient_Click);

    intialize_form();
}

void frmStep3::fill_field_lists(bool from_project)
{
    Q_UNUSED(from_project);
    cmbfields->clear();
    if (const auto &form = globals::web_page()->selected_form) {
        for (const auto &entry : *form->fields())
            cmbfields->addItem(entry.value->name);
    }
    intialize_form();
}

void frmStep3::intialize_form()
{
    QString body;
    if (const auto &form = globals::web_page()->selected_form) {
        for (const auto &entry : *form->fields()) {
            const Field &field = *entry.value;
            // An upload is quoted by the web address the script gives it.
            const QString reference = field.field_type == QLatin1String("file")
                ? globals::trim_blanks(field.name) + QStringLiteral("_URL")
                : field.name;
            body += field.name + QStringLiteral(": #") + reference + QStringLiteral("#\n");
        }
    }
    txtMessage->setPlainText(body);
    cmbfields->setEditText(kSelectVisitorField);
}

bool frmStep3::check()
{
    const auto refuse = [](const QString &text, QWidget *control) {
        notice(text);
        control->setFocus();
        return false;
    };
    if (txtTo->text().isEmpty())
        return refuse(QStringLiteral("You must specify a valid email address to send this email message to"), txtTo);
    if (!txtTo->text().contains(QLatin1Char('.')))
        return refuse(QStringLiteral("Please enter a valid email address"), txtTo);
    // A field of the form, or an address typed in its place; a name the form
    // no longer has (the page changed since the project was saved) is
    // neither, and would stand in the mail as its sender.
    const QString sender = cmbfields->currentText();
    if (!names_field(sender) && !sender.contains(QLatin1Char('@')))
        return refuse(QStringLiteral("You must select the field which include your visitor email address from the "
                                     "'From' list"),
            cmbfields);
    if (txtSubject->text().isEmpty())
        return refuse(QStringLiteral("Subject is empty"), txtSubject);
    if (txtMessage->toPlainText().isEmpty())
        return refuse(QStringLiteral("Message is empty"), txtMessage);
    return true;
}

void frmStep3::get_options()
{
    cmail &mail = *globals::owner_mail();
    mail.is_autoresponde = false;
    mail.email_to = txtTo->text();
    mail.subject = txtSubject->text();
    mail.sender = cmbfields->currentText();
    if (const auto &form = globals::web_page()->selected_form)
        form->is_send_ip = chkIP->isChecked();
    mail.is_GeneericEmail = !names_field(mail.sender);
    get_message();
}

void frmStep3::get_message()
{
    globals::owner_mail()->set_message(txtMessage->toPlainText());
}

void frmStep3::cmdNext_Click()
{
    if (!check())
        return;
    get_options();
    WizardFrame::instance().go_next(*this);
}

void frmStep3::cmdMultipleRecipient_Click()
{
    if (!m_recipients)
        m_recipients = new FrmMultipleRecipients(this);
    // Ok only hides the list; Cancel and the close box unload it, so the
    // next opening lists the recipients afresh.
    if (m_recipients->exec() != QDialog::Accepted)
        delete m_recipients;
}

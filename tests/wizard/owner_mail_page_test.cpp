// The owner-mail page and its recipients list, driven through their
// windows.
#include "ActionPageTest.h"

#include "wizard/MailPage.h"
#include "wizard/frmStep3.h"

#include "generate/cmail.h"
#include "model/CForm.h"
#include "model/globals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QColor kHint(192, 0, 192);
const QColor kRest(0, 0, 192);

class OwnerMailPage : public ActionPageTest
{
protected:
    void SetUp() override
    {
        ActionPageTest::SetUp();
        set_actions(true, false, false, false);
        page = static_cast<frmStep3 *>(window(WizardPage::frmStep3));
        show_page(page);
    }

    // A page that passes its check.
    void fill_in()
    {
        page->txtTo->setText(QStringLiteral("owner@example.com"));
        page->cmbfields->setCurrentIndex(0);
        page->txtSubject->setText(QStringLiteral("New order"));
    }

    QColor color(const char *name) { return find<QWidget>(page, name)->palette().color(QPalette::WindowText); }

    // Opens the recipients list and runs `action` in it.
    void with_recipients(std::function<void(QWidget *)> action)
    {
        in_next_modal(std::move(action));
        click(page, "cmdMultipleRecipient");
    }

    frmStep3 *page = nullptr;
};

TEST_F(OwnerMailPage, ListsTheFieldsAndPrefillsTheBody)
{
    QStringList listed;
    for (int i = 0; i < page->cmbfields->count(); ++i)
        listed << page->cmbfields->itemText(i);
    EXPECT_EQ(listed, (QStringList { "email", "name", "city", "photo" }));
    EXPECT_EQ(page->cmbfields->currentText(), MailPage::kSelectVisitorField);
    EXPECT_EQ(page->txtMessage->toPlainText(),
        QStringLiteral("email: #email#\nname: #name#\ncity: #city#\nphoto: #photo_URL#\n"));
    EXPECT_TRUE(page->chkIP->isChecked());

    // Another form replaces the list and the body.
    page->cmbfields->setEditText(QStringLiteral("email"));
    take_form({ { QStringLiteral("mail"), QStringLiteral("text") } });
    EXPECT_EQ(page->cmbfields->count(), 1);
    EXPECT_EQ(page->cmbfields->itemText(0), QStringLiteral("mail"));
    EXPECT_EQ(page->cmbfields->currentText(), MailPage::kSelectVisitorField);
    EXPECT_EQ(page->txtMessage->toPlainText(), QStringLiteral("mail: #mail#\n"));
}

struct CheckCase
{
    const char *to;
    const char *from; // nullptr: the prompt
    const char *subject;
    const char *message;
    const char *expected;
    const char *focus;
};

void PrintTo(const CheckCase &c, std::ostream *out)
{
    *out << c.expected;
}

class OwnerMailCheck : public OwnerMailPage, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(OwnerMailCheck, FirstFailingRuleIsReportedAndFocused)
{
    const CheckCase &c = GetParam();
    page->txtTo->setText(QString::fromUtf8(c.to));
    page->cmbfields->setEditText(c.from ? QString::fromUtf8(c.from) : MailPage::kSelectVisitorField);
    page->txtSubject->setText(QString::fromUtf8(c.subject));
    page->txtMessage->setPlainText(QString::fromUtf8(c.message));
    click(page, "cmdNext");
    EXPECT_EQ(new_messages(), QStringList { QString::fromUtf8(c.expected) });
    EXPECT_EQ(m_buttons.back(), 1);
    EXPECT_EQ(m_icons.back(), 3);
    EXPECT_TRUE(has_focus(page, find<QWidget>(page, c.focus))) << c.focus;
    EXPECT_EQ(visible_page(), WizardPage::frmStep3);
    EXPECT_TRUE(globals::owner_mail()->email_to.isEmpty()); // nothing copied
}

const char *const kNoTo = "You must specify a valid email address to send this email message to";
const char *const kBadTo = "Please enter a valid email address";
const char *const kNoFrom = "You must select the field which include your visitor email address from the 'From' list";

INSTANTIATE_TEST_SUITE_P(Rules, OwnerMailCheck,
    ::testing::Values(CheckCase { "", nullptr, "", "", kNoTo, "txtTo" },
        CheckCase { "owner@example", "email", "s", "m", kBadTo, "txtTo" },
        // Any text with a dot passes as an address.
        CheckCase { "not an address.", nullptr, "s", "m", kNoFrom, "cmbfields" },
        CheckCase { "a@b.c", "", "s", "m", kNoFrom, "cmbfields" },
        CheckCase { "a@b.c", "email", "", "", "Subject is empty", "txtSubject" },
        CheckCase { "a@b.c", "me@example.com", "s", "", "Message is empty", "txtMessage" }));

TEST_F(OwnerMailPage, NextCopiesThePageIntoTheOwnerMail)
{
    globals::owner_mail()->is_autoresponde = true;
    fill_in();
    page->txtMessage->setPlainText(QStringLiteral("Name: #name#\nCity: #city#"));
    page->chkIP->setChecked(false);
    click(page, "cmdNext");
    EXPECT_TRUE(new_messages().isEmpty());
    const cmail &mail = *globals::owner_mail();
    EXPECT_FALSE(mail.is_autoresponde);
    EXPECT_EQ(mail.email_to, QStringLiteral("owner@example.com"));
    EXPECT_EQ(mail.subject, QStringLiteral("New order"));
    EXPECT_EQ(mail.sender, QStringLiteral("email"));
    EXPECT_FALSE(mail.is_GeneericEmail);
    EXPECT_EQ(texts(*globals::owner_mail()->message_lines()), (QStringList { "Name: $name\\n", "City: $city" }));
    EXPECT_FALSE(form->is_send_ip);
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);

    // Back again with the box ticked: the next Next sends the address.
    show_page(page);
    page->chkIP->setChecked(true);
    click(page, "cmdNext");
    EXPECT_TRUE(form->is_send_ip);
}

class OwnerMailSender : public OwnerMailPage, public ::testing::WithParamInterface<std::pair<QString, bool>>
{
};

TEST_P(OwnerMailSender, ATypedAddressIsNoField)
{
    fill_in();
    page->cmbfields->setEditText(GetParam().first);
    click(page, "cmdNext");
    EXPECT_EQ(globals::owner_mail()->sender, GetParam().first);
    EXPECT_EQ(globals::owner_mail()->is_GeneericEmail, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Senders, OwnerMailSender,
    ::testing::Values(std::pair { QStringLiteral("email"), false }, std::pair { QStringLiteral("photo"), false },
        std::pair { QStringLiteral("forms@example.com"), true },
        // Field names compare exactly.
        std::pair { QStringLiteral("EMAIL"), true }, std::pair { QStringLiteral(" email"), true }));

TEST_F(OwnerMailPage, RecipientsAddedAndRemoved)
{
    with_recipients([](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Multiple Recipients"));
        auto *email = find<QLineEdit>(dialog, "txtEmail");
        auto *list = find<QListWidget>(dialog, "lstemails");
        EXPECT_FALSE(find<QWidget>(dialog, "cmdRemove")->isEnabled());
        email->setText(QStringLiteral("nobody"));
        click(dialog, "cmdAdd");
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(email->text(), QStringLiteral("nobody"));
        for (const char *address : { "a@example.com", "b@example.org", "A@EXAMPLE.COM" }) {
            email->setText(QString::fromUtf8(address));
            click(dialog, "cmdAdd");
            EXPECT_TRUE(email->text().isEmpty());
        }
        EXPECT_EQ(list->count(), 2); // an address is held once: the list points at it
        EXPECT_EQ(list->selectedItems().value(0)->text(), QStringLiteral("a@example.com"));
        EXPECT_TRUE(find<QWidget>(dialog, "cmdRemove")->isEnabled());
        click(dialog, "CmdOk");
    });
    EXPECT_EQ(new_messages(), QStringList { "Please enter a valid email address" });
    EXPECT_EQ(page->txtTo->text(), QStringLiteral("a@example.com,b@example.org"));
    EXPECT_TRUE(globals::owner_mail()->is_multiRecipients);
    EXPECT_EQ(texts(*globals::owner_mail()->recipients()), (QStringList { "a@example.com", "b@example.org" }));

    // Ok kept the list and its choice: remove it, and the other address
    // alone is the recipient.
    with_recipients([](QWidget *dialog) {
        auto *list = find<QListWidget>(dialog, "lstemails");
        EXPECT_EQ(list->count(), 2);
        click(dialog, "cmdRemove");
        EXPECT_EQ(list->count(), 1);
        click(dialog, "cmdRemove"); // the choice went with the entry
        EXPECT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("b@example.org"));
        click(dialog, "CmdOk");
    });
    EXPECT_EQ(page->txtTo->text(), QStringLiteral("b@example.org"));
    EXPECT_FALSE(globals::owner_mail()->is_multiRecipients);

    // An empty list leaves the To box as typed.
    page->txtTo->setText(QStringLiteral("typed@example.com"));
    with_recipients([](QWidget *dialog) {
        auto *list = find<QListWidget>(dialog, "lstemails");
        list->item(0)->setSelected(true);
        click(dialog, "cmdRemove");
        EXPECT_TRUE(find<QWidget>(dialog, "cmdRemove")->isEnabled());
        click(dialog, "cmdRemove"); // on the empty list it gives up
        EXPECT_FALSE(find<QWidget>(dialog, "cmdRemove")->isEnabled());
        click(dialog, "CmdOk");
    });
    EXPECT_EQ(page->txtTo->text(), QStringLiteral("typed@example.com"));
    EXPECT_EQ(globals::owner_mail()->recipients()->Count(), 0);
}

TEST_F(OwnerMailPage, CancelKeepsWhatWasAddedButNotTheToBox)
{
    page->txtTo->setText(QStringLiteral("old@example.com"));
    with_recipients([](QWidget *dialog) {
        for (const char *address : { "c@example.com", "d@example.com" }) {
            find<QLineEdit>(dialog, "txtEmail")->setText(QString::fromUtf8(address));
            click(dialog, "cmdAdd");
        }
        save_picture(dialog, QStringLiteral("recipients.png"));
        click(dialog, "cmdCancel");
    });
    EXPECT_EQ(page->txtTo->text(), QStringLiteral("old@example.com"));
    EXPECT_FALSE(globals::owner_mail()->is_multiRecipients);
    EXPECT_EQ(texts(*globals::owner_mail()->recipients()), (QStringList { "c@example.com", "d@example.com" }));

    // The next opening lists the recipients afresh.
    with_recipients([](QWidget *dialog) {
        auto *list = find<QListWidget>(dialog, "lstemails");
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(list->count() - 1)->text(), QStringLiteral("d@example.com"));
        EXPECT_TRUE(find<QWidget>(dialog, "cmdRemove")->isEnabled());
        dialog->close(); // the close box unloads it as Cancel does
    });
    EXPECT_EQ(page->txtTo->text(), QStringLiteral("old@example.com"));
    globals::owner_mail()->recipients()->Remove(1);
    with_recipients([](QWidget *dialog) {
        EXPECT_EQ(find<QListWidget>(dialog, "lstemails")->count(), 1);
        click(dialog, "CmdOk");
    });
    EXPECT_EQ(page->txtTo->text(), QStringLiteral("d@example.com"));
}

TEST_F(OwnerMailPage, HintLineFollowsPointerFocusAndKeys)
{
    auto *hint = find<QLabel>(page, "lblHelp");
    const auto background = [this] { move_over_background(page); };
    EXPECT_TRUE(hint->isVisible()); // the first box got the focus
    EXPECT_EQ(hint->text(), QStringLiteral(" Type your Email address  "));
    background();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(hint->height(), 1215 / 15);

    QTest::mouseMove(find<QWidget>(page, "Label1"));
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral(" Type your Email address  "));
    EXPECT_EQ(hint->height(), 400 / 15);
    EXPECT_EQ(color("Label1"), kHint);

    page->txtSubject->setFocus();
    EXPECT_EQ(hint->text(), QStringLiteral("Type the subject you want for the email"));
    EXPECT_EQ(hint->height(), 500 / 15);
    EXPECT_EQ(color("Label2"), kHint);
    EXPECT_EQ(color("Label1"), kHint); // only the background restores colours

    QTest::mouseMove(page->txtMessage);
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral(" The body of the massage")));
    EXPECT_EQ(hint->height(), 1935 / 15);
    EXPECT_EQ(color("Label3"), kHint);

    QTest::mouseMove(find<QWidget>(page, "cmdMultipleRecipient"));
    EXPECT_EQ(hint->text(), QStringLiteral("Send form data to as many people as you wish"));
    EXPECT_EQ(hint->height(), 500 / 15);

    QTest::mouseMove(page->chkIP);
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral("This feature makes you receive the IP address")));
    EXPECT_EQ(color("chkIP"), kHint);
    EXPECT_EQ(hint->height(), 1935 / 15);

    background();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(hint->height(), 1215 / 15);
    for (const char *name : { "Label1", "Label2", "Label3", "Label4", "chkIP" })
        EXPECT_EQ(color(name), kRest) << name;

    // A key in the box with the focus shows its hint again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral("Type the subject you want for the email"));

    // The IP box's focus puts it all back too.
    page->chkIP->setFocus();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(color("Label2"), kRest);

    // The From box explains itself on focus and keys, not under the pointer.
    QTest::mouseMove(page->cmbfields);
    EXPECT_FALSE(hint->isVisible());
    page->cmbfields->setFocus();
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral(" You can type any valid email address")));
    EXPECT_EQ(hint->height(), 1215 / 15);
    EXPECT_EQ(color("Label4"), kHint);
    background();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(color("Label4"), kHint);
}

TEST_F(OwnerMailPage, Picture)
{
    fill_in();
    page->txtTo->setText(QStringLiteral("owner@example.com,boss@example.com"));
    move_over_background(page);
    QTest::mouseMove(find<QWidget>(page, "Label3"));
    settle();
    save_picture(page, QStringLiteral("page3-owner-mail.png"));
}

} // namespace

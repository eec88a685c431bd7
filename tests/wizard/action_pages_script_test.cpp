// From the action pages to the mails and the data file of a real
// submission: the pages are filled in as a person would, the script is
// generated and php-cgi runs it.
#include "ActionPageTest.h"

#include "PhpRunner.h"

#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"
#include "wizard/frmstep5.h"

#include "generate/CPHP_script.h"
#include "model/Cprefrences.h"
#include "model/globals.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

class ActionPagesScript : public ActionPageTest
{
protected:
    void SetUp() override
    {
        ActionPageTest::SetUp();
        take_form({ { QStringLiteral("email"), QStringLiteral("text") },
            { QStringLiteral("name"), QStringLiteral("text") }, { QStringLiteral("city"), QStringLiteral("text") } });
    }

    PhpRunner php;
};

TEST_F(ActionPagesScript, OwnerMailAutoResponseAndDataFile)
{
    set_actions(true, true, true, false);
    auto *owner = static_cast<frmStep3 *>(window(WizardPage::frmStep3));
    show_page(owner);
    in_next_modal([](QWidget *dialog) {
        for (const char *address : { "owner@example.com", "boss@example.com" }) {
            find<QLineEdit>(dialog, "txtEmail")->setText(QString::fromUtf8(address));
            click(dialog, "cmdAdd");
        }
        click(dialog, "CmdOk");
    });
    click(owner, "cmdMultipleRecipient");
    owner->cmbfields->setCurrentIndex(owner->cmbfields->findText(QStringLiteral("email")));
    owner->txtSubject->setText(QStringLiteral("New order"));
    owner->txtMessage->appendPlainText(QStringLiteral("Sent by \"#name#\" | $5 & 100%"));
    click(owner, "cmdNext");

    auto *reply = static_cast<frmStep4 *>(window(WizardPage::frmStep4));
    ASSERT_EQ(visible_page(), WizardPage::frmStep4);
    reply->txtsender->setText(QStringLiteral("shop@example.com"));
    reply->cmbfields->setCurrentIndex(0);
    reply->txtSubject->setText(QStringLiteral("Thank you"));
    reply->txtMessage->setPlainText(QStringLiteral("Dear "));
    in_next_modal([](QWidget *picker) {
        find<QListWidget>(picker, "lstfields")->item(1)->setSelected(true);
        click(picker, "cmdAdd");
    });
    click(reply, "personalize");
    reply->txtMessage->appendPlainText(QStringLiteral("\nwe will ship to #city#."));
    click(reply, "cmdNext");

    auto *csv = static_cast<frmstep5 *>(window(WizardPage::frmstep5));
    ASSERT_EQ(visible_page(), WizardPage::frmstep5);
    csv->txtfilename->setText(QStringLiteral("orders"));
    csv->cmbDelimiter->setEditText(QStringLiteral("semicolon"));
    csv->cmbendline->setCurrentIndex(1);
    csv->lstfields->item(2)->setSelected(false);
    click(csv, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_TRUE(new_messages().isEmpty());

    globals::prefs()->success_message = QStringLiteral("ok");
    globals::prefs()->php_des = php.path(QStringLiteral("order.php"));
    globals::php_script()->prepare_script();
    const PhpResponse response = php.run(QStringLiteral("order.php"),
        PhpRequest().add("email", "ann@example.com").add("name", "Ann O'Neil").add("city", "Paris"));
    EXPECT_EQ(response.errors, QByteArray());
    EXPECT_EQ(response.body, "ok");

    const auto mails = php.take_mails();
    ASSERT_EQ(mails.size(), 2);
    const CapturedMail &to_owner = mails[0];
    EXPECT_EQ(to_owner.headers.value("to"), "owner@example.com,boss@example.com");
    EXPECT_EQ(to_owner.headers.value("subject"), "New order");
    EXPECT_EQ(to_owner.headers.value("from"), "ann@example.com");
    EXPECT_EQ(to_owner.body,
        "Visitor's IP: 203.0.113.7\nemail: ann@example.com\nname: Ann O'Neil\ncity: Paris\n\n"
        "Sent by 'Ann O'Neil' | $5 & 100%\r\n");

    const CapturedMail &to_visitor = mails[1];
    EXPECT_EQ(to_visitor.headers.value("to"), "ann@example.com");
    EXPECT_EQ(to_visitor.headers.value("subject"), "Thank you");
    EXPECT_EQ(to_visitor.headers.value("from"), "shop@example.com");
    EXPECT_EQ(to_visitor.body, "Dear Ann O'Neil\n\nwe will ship to Paris.\r\n");

    QFile data(php.path(QStringLiteral("orders.csv")));
    ASSERT_TRUE(data.open(QIODevice::ReadOnly));
    EXPECT_EQ(data.readAll(), "email;name\nann@example.com;Ann O'Neil\n");
}

} // namespace

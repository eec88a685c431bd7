// The auto-responder page and its field picker, driven through their
// windows.
#include "ActionPageTest.h"

#include "wizard/MailPage.h"
#include "wizard/frmFields.h"
#include "wizard/frmStep4.h"

#include "generate/cmail.h"
#include "model/globals.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

namespace {

const QColor kHint(192, 0, 192);
const QColor kRest(0, 0, 192);

class AutoResponderPage : public ActionPageTest
{
protected:
    void SetUp() override
    {
        ActionPageTest::SetUp();
        set_actions(false, true, false, false);
        page = static_cast<frmStep4 *>(window(WizardPage::frmStep4));
        show_page(page);
    }

    // Opens the field picker and runs `action` in it.
    void with_picker(std::function<void(QWidget *)> action)
    {
        in_next_modal(std::move(action));
        click(page, "personalize");
    }

    static void pick(QWidget *picker, const char *name)
    {
        auto *list = find<QListWidget>(picker, "lstfields");
        const auto items = list->findItems(QString::fromUtf8(name), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name;
        items.front()->setSelected(true);
        click(picker, "cmdAdd");
    }

    frmStep4 *page = nullptr;
};

TEST_F(AutoResponderPage, ListsTheFieldsInTheBoxAndThePicker)
{
    QStringList listed;
    for (int i = 0; i < page->cmbfields->count(); ++i)
        listed << page->cmbfields->itemText(i);
    EXPECT_EQ(listed, (QStringList { "email", "name", "city", "photo" }));
    EXPECT_EQ(page->cmbfields->currentText(), MailPage::kSelectVisitorField);
    EXPECT_TRUE(page->txtMessage->toPlainText().isEmpty());
    QListWidget *picker_list = page->field_picker()->lstfields;
    ASSERT_EQ(picker_list->count(), 4);
    EXPECT_EQ(picker_list->item(3)->text(), QStringLiteral("photo"));

    take_form({ { QStringLiteral("mail"), QStringLiteral("text") }, { QStringLiteral("cv"), QStringLiteral("file") } });
    EXPECT_EQ(page->cmbfields->count(), 2);
    ASSERT_EQ(picker_list->count(), 2);
    EXPECT_EQ(picker_list->item(1)->text(), QStringLiteral("cv"));
}

TEST_F(AutoResponderPage, NextCopiesThePageIntoTheAutoResponse)
{
    page->txtsender->setText(QStringLiteral("shop@example.com"));
    page->cmbfields->setEditText(QStringLiteral("  email "));
    page->txtSubject->setText(QStringLiteral("Thank you"));
    page->txtMessage->setPlainText(QStringLiteral("Dear #name#,\nthank you."));
    click(page, "cmdNext");
    const cmail &mail = *globals::auto_mail();
    EXPECT_TRUE(mail.is_autoresponde);
    EXPECT_EQ(mail.sender, QStringLiteral("shop@example.com"));
    EXPECT_EQ(mail.email_to, QStringLiteral("$email"));
    EXPECT_EQ(mail.subject, QStringLiteral("Thank you"));
    EXPECT_EQ(texts(*globals::auto_mail()->message_lines()), (QStringList { "Dear $name,\\n", "thank you." }));
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_TRUE(new_messages().isEmpty());
}

TEST_F(AutoResponderPage, EveryStatePassesTheCheck)
{
    click(page, "cmdNext");
    EXPECT_TRUE(new_messages().isEmpty());
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(globals::auto_mail()->email_to, QLatin1Char('$') + MailPage::kSelectVisitorField);
    EXPECT_TRUE(globals::auto_mail()->sender.isEmpty());
    EXPECT_EQ(globals::auto_mail()->message_lines()->Count(), 0);
}

TEST_F(AutoResponderPage, PickerAppendsFieldReferencesAtTheEnd)
{
    page->txtMessage->setPlainText(QStringLiteral("Dear "));
    page->txtMessage->moveCursor(QTextCursor::Start); // the caret does not matter
    with_picker([](QWidget *picker) {
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("Personalize Message Body"));
        click(picker, "cmdAdd"); // nothing chosen: told, and the picker stays
        EXPECT_TRUE(picker->isVisible());
        pick(picker, "name");
        EXPECT_FALSE(picker->isVisible());
    });
    EXPECT_EQ(new_messages(), QStringList { "Please select a field to insert in the message body" });
    EXPECT_EQ(page->txtMessage->toPlainText(), QStringLiteral("Dear #name#"));

    with_picker([](QWidget *picker) { pick(picker, "photo"); });
    EXPECT_EQ(page->txtMessage->toPlainText(), QStringLiteral("Dear #name##photo_URL#"));

    with_picker([](QWidget *picker) {
        save_picture(picker, QStringLiteral("field-picker.png"));
        click(picker, "cmdCancel");
    });
    EXPECT_EQ(page->txtMessage->toPlainText(), QStringLiteral("Dear #name##photo_URL#"));
}

TEST_F(AutoResponderPage, HintLineStandsLevelWithTheControl)
{
    auto *hint = find<QLabel>(page, "lblHelp");
    const auto color
        = [this](const char *name) { return find<QWidget>(page, name)->palette().color(QPalette::WindowText); };
    const auto background = [this] { move_over_background(page); };
    background();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(hint->y(), 1800 / 15);

    struct Expected
    {
        const char *label;
        int height;
        int top;
        const char *starts;
    };
    const auto expect = [&](const Expected &e) {
        EXPECT_TRUE(hint->isVisible());
        EXPECT_TRUE(hint->text().startsWith(QString::fromUtf8(e.starts))) << hint->text().toStdString();
        EXPECT_EQ(hint->height(), e.height / 15);
        EXPECT_EQ(hint->y(), e.top / 15);
        if (e.label) {
            EXPECT_EQ(color(e.label), kHint) << e.label;
        }
    };
    const Expected from { "Label4", 400, 1800, " Type your Email address" };
    const Expected to { "Label1", 900, 2280, "Select the field which include" };
    const Expected subject { "Label2", 500, 2760, "  Type the subject you want for the confirmation email" };
    const Expected subject_label { "Label2", 600, 2760, "  Type the subject" };
    const Expected message { "Label3", 1695, 3000, " Type the Message that you like" };
    const Expected personalize { nullptr, 1695, 3000, " You can add field data" };

    QTest::mouseMove(find<QWidget>(page, "Label1"));
    expect(to);
    QTest::mouseMove(find<QWidget>(page, "Label2"));
    expect(subject_label);
    QTest::mouseMove(page->txtSubject);
    expect(subject);
    QTest::mouseMove(find<QWidget>(page, "personalize"));
    expect(personalize);
    QTest::mouseMove(page->txtMessage);
    expect(message);
    background();
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(hint->height(), 1215 / 15);
    EXPECT_EQ(hint->y(), 1800 / 15);
    for (const char *name : { "Label1", "Label2", "Label3", "Label4" })
        EXPECT_EQ(color(name), kRest) << name;

    // Changes, the focus and a choice from the list show hints as well.
    page->txtsender->setText(QStringLiteral("shop@example.com"));
    expect(from);
    page->cmbfields->setFocus();
    expect(to);
    page->txtMessage->setFocus();
    expect(message);
    page->txtSubject->setText(QStringLiteral("Thanks"));
    expect(subject);
    background();
    emit page->cmbfields->activated(1);
    expect(to);
    background();
    page->txtMessage->insertPlainText(QStringLiteral("x"));
    expect(message);

    // The address box has no hint under the pointer.
    background();
    QTest::mouseMove(page->cmbfields);
    EXPECT_FALSE(hint->isVisible());
}

TEST_F(AutoResponderPage, Picture)
{
    page->txtsender->setText(QStringLiteral("shop@example.com"));
    page->cmbfields->setCurrentIndex(0);
    page->txtSubject->setText(QStringLiteral("Thank you for your order"));
    page->txtMessage->setPlainText(QStringLiteral("Dear #name#,\nwe have received your order."));
    move_over_background(page);
    QTest::mouseMove(find<QWidget>(page, "Label1"));
    settle();
    save_picture(page, QStringLiteral("page4-auto-responder.png"));
}

} // namespace

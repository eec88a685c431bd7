// The action pages (owner mail, auto-responder, CSV file) driven through
// their windows: their checks, what Next copies into the model, where Next
// and Back lead, and the mails and data file of a real submission.
#include "PageDriver.h"
#include "WizardTest.h"

#include "PhpRunner.h"

#include "wizard/MailPage.h"
#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"
#include "wizard/frmstep5.h"

#include "generate/CPHP_script.h"
#include "generate/CSV.h"
#include "generate/cmail.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <array>
#include <tuple>

namespace {

enum Action { Email = 1, Auto = 2, Csv = 4, Mysql = 8 };

// A run whose first page has taken a form of email, name, city (text) and
// photo (upload); the pages around the action pages stand in.
class ActionPages : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        stand_in({ WizardPage::frmStep2, WizardPage::frmstep6a, WizardPage::frmStep7 });
        form = make_form({ { "email", "text" }, { "name", "text" }, { "city", "text" }, { "photo", "file" } });
        take(form);
    }

    static void set_actions(int actions)
    {
        Cprefrences &prefs = *globals::prefs();
        prefs.is_email = actions & Email;
        prefs.is_autoresponde = actions & Auto;
        prefs.is_csv = actions & Csv;
        prefs.is_mysql = actions & Mysql;
    }

    static frmStep3 *owner() { return static_cast<frmStep3 *>(window(WizardPage::frmStep3)); }
    static frmStep4 *reply() { return static_cast<frmStep4 *>(window(WizardPage::frmStep4)); }
    static frmstep5 *csv() { return static_cast<frmstep5 *>(window(WizardPage::frmstep5)); }

    // The owner-mail page filled in so that it passes its check.
    static void fill_in_owner()
    {
        owner()->txtTo->setText(QStringLiteral("owner@example.com"));
        owner()->cmbfields->setEditText(QStringLiteral("email"));
        owner()->txtSubject->setText(QStringLiteral("New order"));
    }

    // What Next copied from a mail page: To, From, Subject, the message
    // lines, and whether it is the auto-response.
    static QStringList copied(cmail &mail)
    {
        return { mail.email_to, mail.sender, mail.subject, texts(*mail.message_lines()).join(QLatin1Char('|')),
            QString::number(mail.is_autoresponde) };
    }

    std::shared_ptr<CForm> form;
};

TEST_F(ActionPages, OwnerMailCheckReportsAndFocusesTheFirstFailingRule)
{
    const char *const no_from
        = "You must select the field which include your visitor email address from the 'From' list";
    const std::array<const char *, 6> cases[] = {
        // To, From (nullptr: the prompt), Subject, Message, the message, the control focused
        { "", nullptr, "", "", "You must specify a valid email address to send this email message to", "txtTo" },
        { "owner@example", "email", "s", "m", "Please enter a valid email address", "txtTo" },
        { "not an address.", nullptr, "s", "m", no_from, "cmbfields" }, // any text with a dot passes
        { "a@b.c", "", "s", "m", no_from, "cmbfields" },
        { "a@b.c", "e_mail", "s", "m", no_from, "cmbfields" }, // a field the form does not have, no address
        { "a@b.c", "email", "", "", "Subject is empty", "txtSubject" },
        { "a@b.c", "me@example.com", "s", "", "Message is empty", "txtMessage" },
    };
    set_actions(Email);
    show_page(owner());
    for (const auto &[to, from, subject, message, told, focused] : cases) {
        SCOPED_TRACE(told);
        owner()->txtTo->setText(QString::fromUtf8(to));
        owner()->cmbfields->setEditText(from ? QString::fromUtf8(from) : MailPage::kSelectVisitorField);
        owner()->txtSubject->setText(QString::fromUtf8(subject));
        owner()->txtMessage->setPlainText(QString::fromUtf8(message));
        click(owner(), "cmdNext");
        EXPECT_EQ(last_message(), QString::fromUtf8(told));
        EXPECT_EQ(m_icons.back(), 3);
        QWidget *focus = owner()->focusWidget();
        QWidget *control = find<QWidget>(owner(), focused);
        EXPECT_TRUE(focus && (focus == control || control->isAncestorOf(focus)));
    }
    EXPECT_EQ(messages().size(), 7);
    EXPECT_EQ(visible_page(), WizardPage::frmStep3);
    EXPECT_TRUE(globals::owner_mail()->email_to.isEmpty()); // nothing copied
}

// From names a field only when it is one exactly; anything else is a typed
// address.
TEST_F(ActionPages, OwnerMailNextCopiesThePage)
{
    set_actions(Email);
    cmail &mail = *globals::owner_mail();
    for (const auto &[from, typed, ip] : { std::tuple { "email", false, false }, std::tuple { "photo", false, true },
             std::tuple { "forms@example.com", true, true }, std::tuple { "Shop <EMAIL@example.com>", true, true } }) {
        SCOPED_TRACE(from);
        show_page(owner());
        fill_in_owner();
        owner()->cmbfields->setEditText(QString::fromLatin1(from));
        owner()->chkIP->setChecked(ip);
        owner()->txtMessage->setPlainText(QStringLiteral("Sent by #name#\nin #city#"));
        click(owner(), "cmdNext");
        EXPECT_EQ(visible_page(), WizardPage::frmStep7);
        EXPECT_EQ(
            copied(mail), (QStringList { "owner@example.com", from, "New order", "Sent by $name\\n|in $city", "0" }));
        EXPECT_EQ(mail.is_GeneericEmail, typed);
        EXPECT_EQ(form->is_send_ip, ip);
    }
    EXPECT_TRUE(messages().isEmpty());
}

// Addresses are added by Add or by Enter in their box; Enter elsewhere is Ok
// and Escape Cancel.
TEST_F(ActionPages, RecipientsDialog)
{
    set_actions(Email);
    show_page(owner());
    const auto with_recipients = [](std::function<void(QWidget *)> action) {
        on_next_modal(std::move(action));
        click(owner(), "cmdMultipleRecipient");
    };
    with_recipients([](QWidget *dialog) {
        auto *box = find<QLineEdit>(dialog, "txtEmail");
        for (const char *address : { "nobody", "a@example.com", "b@example.org", "A@EXAMPLE.COM" }) {
            box->setText(QString::fromUtf8(address));
            box->setFocus();
            press(Qt::Key_Return);
        }
        // An address is held once: the list points at it.
        EXPECT_EQ(find<QListWidget>(dialog, "lstemails")->currentItem()->text(), QStringLiteral("a@example.com"));
        save_picture(dialog, QStringLiteral("recipients.png"));
        find<QListWidget>(dialog, "lstemails")->setFocus();
        press(Qt::Key_Return);
    });
    EXPECT_EQ(messages(), QStringList { "Please enter a valid email address" });
    EXPECT_EQ(owner()->txtTo->text(), QStringLiteral("a@example.com,b@example.org"));
    EXPECT_TRUE(globals::owner_mail()->is_multiRecipients);

    // Ok kept the choice: remove it, and the other address alone is the recipient.
    with_recipients([](QWidget *dialog) {
        click(dialog, "cmdRemove");
        click(dialog, "cmdRemove"); // the choice went with the entry
        click(dialog, "CmdOk");
    });
    EXPECT_EQ(owner()->txtTo->text(), QStringLiteral("b@example.org"));
    EXPECT_FALSE(globals::owner_mail()->is_multiRecipients);

    // What was typed in To joins the list, so Ok keeps it.
    owner()->txtTo->setText(QStringLiteral("typed@example.com, b@example.org"));
    with_recipients([](QWidget *dialog) {
        EXPECT_EQ(find<QListWidget>(dialog, "lstemails")->count(), 2);
        click(dialog, "CmdOk");
    });
    EXPECT_EQ(owner()->txtTo->text(), QStringLiteral("b@example.org,typed@example.com"));

    // Cancel and the close box keep what was added, but not in the To box.
    with_recipients([](QWidget *dialog) {
        find<QLineEdit>(dialog, "txtEmail")->setText(QStringLiteral("c@example.com"));
        click(dialog, "cmdAdd");
        press(Qt::Key_Escape);
    });
    with_recipients([](QWidget *dialog) { dialog->close(); });
    EXPECT_EQ(owner()->txtTo->text(), QStringLiteral("b@example.org,typed@example.com"));
    EXPECT_EQ(texts(*globals::owner_mail()->recipients()),
        (QStringList { "b@example.org", "typed@example.com", "c@example.com" }));
    save_picture(owner(), QStringLiteral("page3-owner-mail.png"));
}

// Enter on a focused Add adds once, as Space does, though Add puts the focus
// back in the box; it presses nothing else: Ok does not fill To, and the
// dialog stays open.
TEST_F(ActionPages, EnterOnAFocusedAddAddsOnce)
{
    set_actions(Email);
    show_page(owner());
    on_next_modal([this](QWidget *dialog) {
        const std::tuple<Qt::Key, const char *, int, const char *> rows[] = {
            // key on Add, address typed, entries listed, message shown
            { Qt::Key_Space, "a@example.com", 1, nullptr }, // as before
            { Qt::Key_Return, "b@example.com", 2, nullptr }, // Add puts the focus back in the box
            { Qt::Key_Enter, "c@example.com", 3, nullptr },
            { Qt::Key_Return, "nobody", 3, "Please enter a valid email address" }, // the focus stays on Add
        };
        for (const auto &[key, typed, listed, told] : rows) {
            SCOPED_TRACE(typed);
            const qsizetype before = messages().size();
            find<QLineEdit>(dialog, "txtEmail")->setText(QString::fromLatin1(typed));
            press(Qt::Key_Tab);
            ASSERT_EQ(dialog->focusWidget()->objectName(), QStringLiteral("cmdAdd"));
            press(key);
            EXPECT_EQ(find<QListWidget>(dialog, "lstemails")->count(), listed);
            EXPECT_EQ(messages().mid(before), told ? QStringList { told } : QStringList());
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(owner()->txtTo->text().isEmpty()); // Ok was not pressed
            find<QLineEdit>(dialog, "txtEmail")->setFocus();
        }
        press(Qt::Key_Escape);
    });
    click(owner(), "cmdMultipleRecipient");
    EXPECT_EQ(texts(*globals::owner_mail()->recipients()),
        (QStringList { "a@example.com", "b@example.com", "c@example.com" }));
}

TEST_F(ActionPages, AutoResponderNeedsTheVisitorsFieldAndCopiesThePage)
{
    set_actions(Auto);
    show_page(reply());
    // The prompt, and a field the form does not have (a form changed since
    // its project was saved), are no address to reply to.
    for (const QString &to : { MailPage::kSelectVisitorField, QStringLiteral("e_mail") }) {
        reply()->cmbfields->setEditText(to);
        click(reply(), "cmdNext");
        EXPECT_EQ(std::pair(last_message(), visible_page()),
            std::pair(QStringLiteral("Please select from the 'To' list the field in which your visitor types an email "
                                     "address"),
                WizardPage::frmStep4));
    }
    EXPECT_TRUE(globals::auto_mail()->email_to.isEmpty());

    // The field picker: Add (or Enter) inserts the chosen field, Escape nothing.
    show_page(reply());
    reply()->txtsender->setText(QStringLiteral("shop@example.com"));
    reply()->cmbfields->setEditText(QStringLiteral("  email "));
    reply()->txtSubject->setText(QStringLiteral("Thank you"));
    reply()->txtMessage->setPlainText(QStringLiteral("Dear "));
    on_next_modal([](QWidget *picker) {
        click(picker, "cmdAdd"); // nothing chosen: told, and the picker stays
        EXPECT_TRUE(picker->isVisible());
        find<QListWidget>(picker, "lstfields")->item(3)->setSelected(true);
        save_picture(picker, QStringLiteral("field-picker.png"));
        press(Qt::Key_Return);
    });
    click(reply(), "personalize");
    on_next_modal([](QWidget *picker) {
        find<QListWidget>(picker, "lstfields")->setCurrentRow(0);
        press(Qt::Key_Escape);
    });
    click(reply(), "personalize");
    EXPECT_EQ(messages().mid(2), QStringList { "Please select a field to insert in the message body" });
    EXPECT_EQ(reply()->txtMessage->toPlainText(), QStringLiteral("Dear #photo_URL#"));
    save_picture(reply(), QStringLiteral("page4-auto-responder.png"));
    click(reply(), "cmdNext");
    EXPECT_EQ(copied(*globals::auto_mail()),
        (QStringList { "$email", "shop@example.com", "Thank you", "Dear $photo_URL", "1" }));
}

TEST_F(ActionPages, CsvNameGetsTheExtensionAndTheSeparatorIsANameOrOneCharacter)
{
    const std::array<const char *, 5> cases[] = {
        // name, format, separator typed, file name, separator
        { "data", "*.csv", "comma", "data.csv", "," },
        { "data.csv", "*.csv", "Comma", "data.csv", "," },
        { "my.csv.old", "*.csv", "SEMICOLON", "my.csv.old", ";" },
        { "", "*.csv", "|", ".csv", "|" },
        { "a.csv.txt", "*.txt", "tab", "a.csv.txt", "   " }, // three blanks, not a tab character
        { "a.csv.txt", "*.csv", "Space", "a.csv.txt", " " },
        { "log", " *.tab ", " ", "log.tab", " " },
        // File names compare with their letter case; names of separators do not.
        { "DATA.CSV", "*.csv", " comma ", "DATA.CSV.csv", "," },
        { "x", "*.csv", ";", "x.csv", ";" },
        { "y", "*.csv", "\t", "y.csv", "\t" },
    };
    set_actions(Csv);
    for (const auto &[name, format, typed, filename, separator] : cases) {
        SCOPED_TRACE(name);
        show_page(csv());
        csv()->txtfilename->setText(QString::fromUtf8(name));
        csv()->cmbtypes->setEditText(QString::fromUtf8(format));
        csv()->cmbDelimiter->setEditText(QString::fromUtf8(typed));
        if (!*name)
            save_picture(csv(), QStringLiteral("page5-csv.png"));
        click(csv(), "cmdNext");
        EXPECT_EQ(globals::csv_file()->filename, QString::fromUtf8(filename));
        EXPECT_EQ(globals::csv_file()->separator, QString::fromUtf8(separator));
    }
}

// The format, the separator and the end of line go into the script as
// they stand: Next takes only what it can use and names the box otherwise.
TEST_F(ActionPages, CsvFormatSeparatorAndEndOfLineMustBeUsable)
{
    const QString format = "Please select a valid File Format: *. followed by an extension, such as *.csv";
    const QString separator
        = "Please select a valid Separator: comma, semicolon, tab, space, or one character other than \" and *";
    const QString end_line = "Please select a valid End of Line: \\r\\n or \\n";
    // Format, separator, end of line, the message (empty: Next goes on).
    const std::tuple<const char *, const char *, const char *, QString> cases[] = { { "CSV", ",", "\\r\\n", format },
        { "*.c;sv", ",", "\\n", format }, { "*.", ",", "\\n", format }, { "*.csv", ",", "CRLF", end_line },
        { "*.csv", ",", "\\r", end_line }, { "*.log", ",", "\\n", {} }, { "*.TXT", "\xC2\xA7", "\\r\\n", {} },
        { "*.csv", "zz", "\\n", separator }, { "*.csv", "", "\\n", separator }, { "*.csv", "\"", "\\n", separator },
        { "*.csv", "*", "\\n", separator }, { "*.csv", " | ", "\\n", separator } };
    set_actions(Csv);
    for (const auto &[typed_format, typed_separator, typed_end, told] : cases) {
        SCOPED_TRACE(std::string(typed_format) + " " + typed_separator + " " + typed_end);
        show_page(csv());
        csv()->cmbtypes->setEditText(QString::fromLatin1(typed_format));
        drive::retype(csv()->cmbDelimiter->lineEdit(), QString::fromUtf8(typed_separator));
        csv()->cmbendline->setEditText(QString::fromLatin1(typed_end));
        const qsizetype before = messages().size();
        click(csv(), "cmdNext");
        EXPECT_EQ(messages().mid(before), told.isEmpty() ? QStringList() : QStringList { told });
        EXPECT_EQ(visible_page(), told.isEmpty() ? WizardPage::frmStep7 : WizardPage::frmstep5);
        window(visible_page())->hide();
    }
}

// The CSV page's choices reach the data file the generated script writes
// (the mails from pages filled in are run in the full-run tests).
TEST_F(ActionPages, DataFileAsTheCsvPageSetsIt)
{
    take(make_form({ { "email", "text" }, { "name", "text" }, { "city", "text" } }));
    set_actions(Csv);
    show_page(csv());
    csv()->txtfilename->setText(QStringLiteral("orders"));
    csv()->cmbDelimiter->setEditText(QStringLiteral("semicolon"));
    csv()->cmbendline->setCurrentIndex(1);
    csv()->lstfields->item(2)->setSelected(false);
    click(csv(), "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep7);

    PhpRunner php;
    globals::prefs()->success_message = QStringLiteral("ok");
    globals::prefs()->php_des = php.path(QStringLiteral("order.php"));
    globals::php_script()->prepare_script();
    const PhpResponse response = php.run(QStringLiteral("order.php"),
        PhpRequest().add("email", "ann@example.com").add("name", "Ann O'Neil").add("city", "Paris"));
    EXPECT_EQ(response.errors, QByteArray());
    EXPECT_EQ(response.body, "ok");
    EXPECT_EQ(read_file(php.path(QStringLiteral("orders.csv"))), "email;name\nann@example.com;Ann O'Neil\n");
}

} // namespace

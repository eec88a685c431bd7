// The whole wizard, driven as a person would: read a page, take its form,
// set rules, fill in the mails and the CSV file, choose a folder, Generate;
// then the generated script takes posts for real.
#include "WizardTest.h"

#include "PhpRunner.h"

#include "wizard/CommonDialog.h"
#include "wizard/DirListBox.h"
#include "wizard/Startup.h"
#include "wizard/WizardFrame.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmStep2.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FullRun : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        frmStep2::types_file() = QStringLiteral(TRESSEL_TYPES_FILE);
    }

    void TearDown() override
    {
        frmStep2::types_file().clear();
        WizardTest::TearDown();
    }

    static WizardWindow *window(WizardPage page) { return WizardFrame::instance().window(page); }

    // The one page on screen.
    static WizardWindow *shown()
    {
        WizardWindow *visible = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *page = qobject_cast<WizardWindow *>(top); page && page->isVisible()) {
                EXPECT_EQ(visible, nullptr) << "two pages on screen";
                visible = page;
            }
        }
        return visible;
    }

    template<typename T> static T *on(WizardPage page, const char *name)
    {
        T *found = window(page)->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    static void type(WizardPage page, const char *box, const QString &text)
    {
        auto *edit = on<QLineEdit>(page, box);
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    static void type_text(WizardPage page, const char *box, const QString &text)
    {
        auto *edit = on<QPlainTextEdit>(page, box);
        edit->setFocus();
        edit->selectAll();
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClicks(edit, lines.at(i));
        }
    }

    static void choose(WizardPage page, const char *combo_name, const char *entry)
    {
        auto *combo = on<QComboBox>(page, combo_name);
        const int index = combo->findText(QString::fromLatin1(entry), Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << entry;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

    static void pick_field(const char *name)
    {
        auto *list = on<QListWidget>(WizardPage::frmStep2, "lstfields");
        const auto found = list->findItems(QString::fromLatin1(name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name;
        QTest::mouseClick(
            list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(found.front()).center());
    }

    static void next(WizardPage page, WizardPage expected)
    {
        click(window(page), "cmdNext");
        ASSERT_EQ(shown(), window(expected));
    }

    PhpRunner php;
    QTemporaryDir pages;
};

TEST_F(FullRun, FromAnHtmlPageToAWorkingScript)
{
    // The introduction comes first, as on any first run.
    on_next_modal([](QWidget *intro) { click(intro, "cmdNext"); });
    ASSERT_TRUE(start_wizard(QString()));
    settle(200);

    const QString html = pages.filePath(QStringLiteral("contact.html"));
    {
        QFile file(html);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html><body><form action=\"contact.php\" method=\"post\">\n"
                   "Name <input name=\"name\"> E-mail <input name=\"e-mail\"> Age <input name=\"age\">\n"
                   "<select name=\"colors[]\" multiple><option>red<option>blue</select>\n"
                   "<textarea name=\"comments\"></textarea><input type=\"submit\" value=\"Send\">\n"
                   "</form></body></html>\n");
    }
    CommonDialog::script(CommonDialog::Answer::chosen_file(html));
    click(window(WizardPage::frmStep1), "Browse");
    ASSERT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    for (const char *action : { "chkMail", "chkAutoResponde", "chkCSV", "chkdate" })
        on<QCheckBox>(WizardPage::frmStep1, action)->click();
    next(WizardPage::frmStep1, WizardPage::frmStep2);

    // Field rules: a required name, a required e-mail address, an age of 18
    // to 65.
    pick_field("name");
    on<QCheckBox>(WizardPage::frmStep2, "chknull")->click();
    pick_field("email");
    choose(WizardPage::frmStep2, "cmbvalidation", "Email address");
    on<QCheckBox>(WizardPage::frmStep2, "chknull")->click();
    pick_field("age");
    choose(WizardPage::frmStep2, "cmbvalidation", "Numeric range");
    type(WizardPage::frmStep2, "txtmin", QStringLiteral("18"));
    type(WizardPage::frmStep2, "txtmax", QStringLiteral("65"));
    next(WizardPage::frmStep2, WizardPage::frmStep3);

    type(WizardPage::frmStep3, "txtTo", QStringLiteral("owner@example.com"));
    on<QComboBox>(WizardPage::frmStep3, "cmbfields")->setEditText(QStringLiteral("email"));
    type(WizardPage::frmStep3, "txtSubject", QStringLiteral("New contact"));
    next(WizardPage::frmStep3, WizardPage::frmStep4);

    type(WizardPage::frmStep4, "txtsender", QStringLiteral("shop@example.com"));
    choose(WizardPage::frmStep4, "cmbfields", "email");
    type(WizardPage::frmStep4, "txtSubject", QStringLiteral("Thank you"));
    type_text(WizardPage::frmStep4, "txtMessage", QStringLiteral("Dear #name#,\nwe got your message."));
    next(WizardPage::frmStep4, WizardPage::frmstep5);

    type(WizardPage::frmstep5, "txtfilename", QStringLiteral("contacts"));
    click(window(WizardPage::frmstep5), "cmdSelectAll");
    next(WizardPage::frmstep5, WizardPage::frmStep7);

    // The script goes into the runner's folder, under the form's action name.
    on_next_modal([this](QWidget *chooser) {
        chooser->findChild<DirListBox *>(QStringLiteral("folder"))->set_Path(php.folder());
        on_next_modal([](QWidget *input) {
            input->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("contact.php"));
            click(input, "CmdOk");
        });
        click(chooser, "ok");
    });
    click(window(WizardPage::frmStep7), "Browse");
    type_text(WizardPage::frmStep7, "main", QStringLiteral("Thank you for writing!"));
    bool reported = false;
    on_next_modal([&reported](QWidget *report) {
        reported = report->objectName() == QLatin1String("frmAction");
        save_picture(report, QStringLiteral("full-run-task-report.png"));
        click(report, "cmdOK");
    });
    click(window(WizardPage::frmStep7), "cmdNext");
    ASSERT_TRUE(reported) << last_message().toStdString();

    for (WizardPage page : { WizardPage::frmStep1, WizardPage::frmStep2, WizardPage::frmStep3, WizardPage::frmStep4,
             WizardPage::frmstep5, WizardPage::frmStep7 }) {
        WizardWindow *each = window(page);
        each->show(); // each page as the person left it
        settle(20);
        save_picture(each, QStringLiteral("full-run-%1.png").arg(each->objectName()));
        each->hide();
    }

    // A good submission: the thanks, both mails and a CSV record.
    PhpRequest good;
    good.add("name", "Ann Lee")
        .add("e-mail", "ann@example.com")
        .add("age", "30")
        .add("colors[]", "red")
        .add("colors[]", "blue")
        .add("comments", "Hello,\r\nworld");
    const PhpResponse answered = php.run(QStringLiteral("contact.php"), good);
    EXPECT_EQ(answered.errors, QByteArray());
    EXPECT_TRUE(answered.body.contains("Thank you for writing!")) << answered.body.toStdString();

    const QList<CapturedMail> mails = php.take_mails();
    ASSERT_EQ(mails.size(), 2);
    EXPECT_EQ(mails[0].headers.value("to"), "owner@example.com");
    EXPECT_EQ(mails[0].headers.value("subject"), "New contact");
    EXPECT_EQ(mails[0].headers.value("from"), "owner@example.com");
    EXPECT_EQ(mails[0].headers.value("reply-to"), "ann@example.com");
    EXPECT_TRUE(mails[0].body.contains("name: Ann Lee")) << mails[0].body.toStdString();
    EXPECT_TRUE(mails[0].body.contains("colors: red&blue")) << mails[0].body.toStdString();
    EXPECT_TRUE(mails[0].body.startsWith("Visitor's IP: 203.0.113.7")) << mails[0].body.toStdString();
    EXPECT_EQ(mails[1].headers.value("to"), "ann@example.com");
    EXPECT_EQ(mails[1].headers.value("from"), "shop@example.com");
    EXPECT_EQ(mails[1].body, "Dear Ann Lee,\r\nwe got your message.\r\n");

    QFile csv(php.path(QStringLiteral("contacts.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(),
        "name,email,age,colors,comments\r\n"
        "Ann Lee,ann@example.com,30,red&blue,\"Hello,<BR>world\"\r\n");
    csv.close();

    // A wrong age: the field's alert, and nothing mailed or stored.
    PhpRequest young = good;
    young.fields[2].second = "12";
    const PhpResponse refused = php.run(QStringLiteral("contact.php"), young);
    EXPECT_EQ(refused.errors, QByteArray());
    EXPECT_TRUE(refused.body.contains("Please enter a valid age")) << refused.body.toStdString();
    EXPECT_FALSE(refused.body.contains("Thank you for writing!"));
    EXPECT_TRUE(php.take_mails().isEmpty());
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 2);
}

} // namespace

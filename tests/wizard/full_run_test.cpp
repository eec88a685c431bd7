// The whole wizard, driven as a person would: read a page, take its form,
// set rules, fill in the mails and the CSV file or the MySQL table, choose a
// folder, Generate; then the generated script takes posts for real, and
// setup.php creates the table it fills.
#include "WizardTest.h"

#include "GridDriver.h"
#include "PhpRunner.h"
#include "TestServer.h"
#include "support/Typist.h"

#include "wizard/CommonDialog.h"
#include "wizard/DirListBox.h"
#include "wizard/Startup.h"
#include "wizard/WizardFrame.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep2.h"
#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"
#include "wizard/frmStep7.h"
#include "wizard/frmstep5.h"
#include "wizard/frmstep6a.h"

#include "model/globals.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
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
        // A choice from the list shows in the box, also when it was the
        // list's current entry.
        if (combo->isEditable())
            combo->setEditText(combo->itemText(index));
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

    void next(WizardPage page, WizardPage expected)
    {
        click(window(page), "cmdNext");
        ASSERT_EQ(shown(), window(expected)) << last_message().toStdString();
    }

    // What the pages after the field rules show: every box, choice and list
    // selection by name.
    static QStringList contents()
    {
        QStringList shown;
        for (WizardPage page : { WizardPage::frmStep1, WizardPage::frmStep3, WizardPage::frmStep4, WizardPage::frmstep5,
                 WizardPage::frmStep7 }) {
            QWidget *each = window(page);
            const QString at = each->objectName() + QLatin1Char('.');
            for (auto *box : each->findChildren<QLineEdit *>()) {
                if (!box->objectName().isEmpty() && !qobject_cast<QComboBox *>(box->parentWidget()))
                    shown << at + box->objectName() + QLatin1Char('=') + box->text();
            }
            for (auto *combo : each->findChildren<QComboBox *>())
                shown << at + combo->objectName() + QLatin1Char('=') + combo->currentText();
            for (auto *text : each->findChildren<QPlainTextEdit *>())
                shown << at + text->objectName() + QLatin1Char('=') + text->toPlainText();
            for (auto *box : each->findChildren<QCheckBox *>())
                shown << at + box->objectName() + QLatin1Char('=') + QString::number(box->isChecked());
            for (auto *list : each->findChildren<QListWidget *>()) {
                for (const QListWidgetItem *item : list->selectedItems())
                    shown << at + list->objectName() + QStringLiteral(" chose ") + item->text();
            }
        }
        return shown;
    }

    // The script without its banner line, which holds the time.
    QByteArray script(const QString &name = QStringLiteral("contact.php")) const
    {
        QByteArray text = read_file(php.path(name));
        const qsizetype banner = text.indexOf("# ----- This script was generated by Tressel");
        EXPECT_GE(banner, 0);
        return text.remove(banner, text.indexOf('\n', banner) - banner);
    }

    // A new run of the program, with `command_line`.
    static void restart(const QString &command_line)
    {
        WizardFrame::instance().reset();
        globals::reset();
        CommonDialog::clear_script();
        frmStart::is_shown = true;
        register_pages();
        ASSERT_TRUE(start_wizard(command_line));
    }

    // Starts the wizard (the introduction first, as on any first run) and
    // reads `html` through Browse on the first page.
    void start_with_page(const QByteArray &html)
    {
        on_next_modal([](QWidget *intro) { click(intro, "cmdNext"); });
        ASSERT_TRUE(start_wizard(QString()));
        settle(200);
        const QString path = pages.filePath(QStringLiteral("form.html"));
        write_file(path, html);
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        click(window(WizardPage::frmStep1), "Browse");
        ASSERT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    }

    // On the output page: the script into the runner's folder under `name`,
    // the success message, and Generate up to the task report.
    void generate(const QString &name, const QString &message)
    {
        on_next_modal([this, name](QWidget *chooser) {
            chooser->findChild<DirListBox *>(QStringLiteral("folder"))->set_Path(php.folder());
            on_next_modal([name](QWidget *input) {
                input->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
                click(input, "CmdOk");
            });
            click(chooser, "ok");
        });
        click(window(WizardPage::frmStep7), "Browse");
        type_text(WizardPage::frmStep7, "main", message);
        bool reported = false;
        on_next_modal([&reported](QWidget *report) {
            reported = report->objectName() == QLatin1String("frmAction");
            click(report, "cmdOK");
        });
        click(window(WizardPage::frmStep7), "cmdNext");
        ASSERT_TRUE(reported) << last_message().toStdString();
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

    // The project saved after the generation, as "Save Project" offers.
    const QString project = pages.filePath(QStringLiteral("contact.tsl"));
    CommonDialog::script(CommonDialog::Answer::chosen_file(project));
    click(window(WizardPage::frmStep7), "cmdNext");
    ASSERT_TRUE(QFileInfo(project).isFile()) << last_message().toStdString();
    const QStringList first_contents = contents();
    const QByteArray first_script = script();

    // A second run opens it from its command line.
    restart(QLatin1Char('"') + project + QLatin1Char('"'));
    next(WizardPage::frmStep1, WizardPage::frmStep2);
    next(WizardPage::frmStep2, WizardPage::frmStep3);
    next(WizardPage::frmStep3, WizardPage::frmStep4);
    next(WizardPage::frmStep4, WizardPage::frmstep5);
    next(WizardPage::frmstep5, WizardPage::frmStep7);
    EXPECT_EQ(contents(), first_contents);
    on_next_modal([](QWidget *report) { click(report, "cmdOK"); });
    click(window(WizardPage::frmStep7), "cmdNext");
    EXPECT_EQ(script(), first_script);
}

TEST_F(FullRun, PagesFilledInComeBackWhenTheProjectIsReopened)
{
    const QString html = pages.filePath(QStringLiteral("form.html"));
    write_file(html, "<form><input name=name><input name=email><textarea name=comments></textarea></form>");
    const QStringList names { "name", "email", "comments" };
    const QString project = pages.filePath(QStringLiteral("form.tsl"));
    const auto font = [](Typist &t) { return FontSpec { t.text(), double(t.number(8, 24)), t.flag(), t.flag() }; };

    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        Typist t(seed);
        restart(QString());
        CommonDialog::script(CommonDialog::Answer::chosen_file(html));
        click(window(WizardPage::frmStep1), "Browse");
        QList<WizardPage> route { WizardPage::frmStep1, WizardPage::frmStep2 };
        for (const auto &[box, page] :
            { std::pair { "chkMail", WizardPage::frmStep3 }, std::pair { "chkAutoResponde", WizardPage::frmStep4 },
                std::pair { "chkCSV", WizardPage::frmstep5 } }) {
            on<QCheckBox>(WizardPage::frmStep1, box)->setChecked(t.coin());
            if (on<QCheckBox>(WizardPage::frmStep1, box)->isChecked())
                route << page;
        }
        route << WizardPage::frmStep7;
        const bool embedded = t.coin();
        on<QCheckBox>(WizardPage::frmStep1, "chkEmbed")->setChecked(embedded);
        on<QCheckBox>(WizardPage::frmStep1, "chkdate")->setChecked(t.coin());
        if (!on<QCheckBox>(WizardPage::frmStep1, "chkdate")->isChecked())
            on<QComboBox>(WizardPage::frmStep1, "cmbdate")->setCurrentIndex(t.number(0, 3));

        for (qsizetype step = 0; step + 1 < route.size(); ++step) {
            const WizardPage page = route.at(step);
            if (page == WizardPage::frmStep2 && embedded) {
                CommonDialog::script(CommonDialog::Answer::chosen_font(font(t), t.whole() & 0xFFFFFF));
                click(window(page), "Browse");
            } else if (page == WizardPage::frmStep3) {
                auto *owner = static_cast<frmStep3 *>(window(page));
                owner->txtTo->setText(t.text() + "@example.com");
                owner->cmbfields->setEditText("x" + t.text());
                owner->txtSubject->setText("s" + t.text());
                owner->txtMessage->setPlainText(t.lines("\n") + "m");
                owner->chkIP->setChecked(t.coin());
            } else if (page == WizardPage::frmStep4) {
                auto *reply = static_cast<frmStep4 *>(window(page));
                reply->txtsender->setText(t.text());
                reply->cmbfields->setEditText(names.at(t.number(0, 2)));
                reply->txtSubject->setText(t.text());
                reply->txtMessage->setPlainText(t.lines("\n"));
            } else if (page == WizardPage::frmstep5) {
                auto *csv = static_cast<frmstep5 *>(window(page));
                csv->txtfilename->setText(t.text());
                for (QComboBox *combo : { csv->cmbtypes, csv->cmbDelimiter, csv->cmbendline })
                    combo->setEditText(t.text());
                for (int row = 0; row < csv->lstfields->count(); ++row)
                    csv->lstfields->item(row)->setSelected(t.coin());
            }
            next(page, route.at(step + 1));
        }
        on<QPlainTextEdit>(WizardPage::frmStep7, "main")->setPlainText(t.lines("\n"));
        if (embedded) {
            CommonDialog::script(CommonDialog::Answer::chosen_font(font(t), t.whole() & 0xFFFFFF));
            click(window(WizardPage::frmStep7), "format");
        }
        const QStringList filled = contents();
        const auto *rules = static_cast<frmStep2 *>(window(WizardPage::frmStep2));
        const auto *output = static_cast<frmStep7 *>(window(WizardPage::frmStep7));
        const QString fonts = Html_converter::text_to_html("a", rules->alert_font(), rules->alert_color())
            + Html_converter::text_to_html("b", output->message_font(), output->message_color());

        // Saved on leaving, and opened again.
        CommonDialog::script(CommonDialog::Answer::chosen_file(project));
        answer(1);
        answer(1);
        click(window(WizardPage::frmStep7), "cmdCancel");
        ASSERT_TRUE(program_ended());
        restart(project);
        for (qsizetype step = 0; step + 1 < route.size(); ++step)
            next(route.at(step), route.at(step + 1));
        EXPECT_EQ(contents(), filled);
        const auto *rules_again = static_cast<frmStep2 *>(window(WizardPage::frmStep2));
        const auto *output_again = static_cast<frmStep7 *>(window(WizardPage::frmStep7));
        EXPECT_EQ(Html_converter::text_to_html("a", rules_again->alert_font(), rules_again->alert_color())
                + Html_converter::text_to_html("b", output_again->message_font(), output_again->message_color()),
            fonts);
        if (HasFailure())
            break;
    }
}

// The MySQL action on the test server: a page whose visitors' rows go into
// a table, mapped on the MySQL page.
class FullRunMySql : public FullRun
{
protected:
    void SetUp() override
    {
        FullRun::SetUp();
        ASSERT_TRUE(database.ok());
    }

    static constexpr const char *kPage = "<html><body><form action=\"guestbook.php\" method=\"post\">\n"
                                         "Name <input name=\"name\"> Visit <input name=\"visit\">\n"
                                         "<textarea name=\"comments\"></textarea><input type=\"submit\">\n"
                                         "</form></body></html>\n";

    // Page 1 with the MySQL action and a date format, page 2 with a
    // required name, and the MySQL page connected to the test server with
    // the test's database chosen.
    void up_to_the_database(const char *date_format)
    {
        start_with_page(kPage);
        on<QCheckBox>(WizardPage::frmStep1, "chkDB")->click();
        choose(WizardPage::frmStep1, "cmbdate", date_format);
        next(WizardPage::frmStep1, WizardPage::frmStep2);
        pick_field("name");
        on<QCheckBox>(WizardPage::frmStep2, "chknull")->click();
        next(WizardPage::frmStep2, WizardPage::frmstep6a);

        const TestServer &server = database.server();
        type(WizardPage::frmstep6a, "txtHost", server.host);
        type(WizardPage::frmstep6a, "txtUser", server.user);
        type(WizardPage::frmstep6a, "txtpassword", server.password);
        type(WizardPage::frmstep6a, "txtport", QString::number(server.port));
        click(window(WizardPage::frmstep6a), "cmdConnect");
        ASSERT_TRUE(last_message().startsWith(QStringLiteral("Connected successfully")))
            << last_message().toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window(WizardPage::frmstep6a)));
        choose(WizardPage::frmstep6a, "cmbDB", database.name().toLatin1().constData());
    }

    GridDriver grid(WizardPage page) const { return GridDriver { on<WizardGrid>(page, "grd") }; }

    QStringList stored(const QString &query) { return database.column(query); }

    // A visitor posts the form to the generated script, which answers with
    // `answer`; then the rows of `table`.
    RawRows visit(const QByteArray &name, const QByteArray &day, const QByteArray &comments, const char *answer,
        const QString &table)
    {
        PhpRequest visitor;
        visitor.add("name", name).add("visit", day).add("comments", comments);
        const PhpResponse answered = php.run(QStringLiteral("guestbook.php"), visitor);
        EXPECT_EQ(answered.errors, QByteArray());
        EXPECT_TRUE(answered.body.contains(answer)) << answered.body.toStdString();
        return database.rows(QStringLiteral("SELECT full_name, visit, comments FROM ") + table);
    }

    TestDatabase database;
};

TEST_F(FullRunMySql, RowsGoIntoTheChosenTable)
{
    database.exec(QStringLiteral("CREATE TABLE guests (id INT PRIMARY KEY AUTO_INCREMENT, full_name VARCHAR(60), "
                                 "visit DATE, comments TEXT)"));
    up_to_the_database("3/14/2005");
    choose(WizardPage::frmstep6a, "cmbtable", "guests");
    const GridDriver mapping = grid(WizardPage::frmstep6a);
    mapping.set(1, 1, QStringLiteral("full_name"));
    mapping.set(2, 1, QStringLiteral("visit"));
    mapping.set(3, 1, QStringLiteral("comments"));
    next(WizardPage::frmstep6a, WizardPage::frmStep7);
    generate(QStringLiteral("guestbook.php"), QStringLiteral("Thank you for signing!"));

    const QByteArray name = "Se\xc3\xa1n O'Brien \"x\" \\ $y";
    EXPECT_EQ(visit(name, "3/4/2005", "Hello,\r\nworld", "Thank you for signing!", QStringLiteral("guests")),
        (RawRows { { name, "2005-03-04", "Hello,\r\nworld" } }));

    // The required name missing: the field's alert, and no row.
    EXPECT_EQ(visit("", "3/4/2005", "", "Please enter a valid name", QStringLiteral("guests")).size(), 1u);
    EXPECT_EQ(stored(QStringLiteral("SELECT COUNT(*) FROM guests")), QStringList { QStringLiteral("1") });

    // Saved, and reopened in a run that does not connect: the names come
    // back typed, and the script converts the same date.
    const QString project = pages.filePath(QStringLiteral("guestbook.tsl"));
    CommonDialog::script(CommonDialog::Answer::chosen_file(project));
    click(window(WizardPage::frmStep7), "cmdNext");
    const QByteArray first_script = script(QStringLiteral("guestbook.php"));
    restart(project);
    next(WizardPage::frmStep1, WizardPage::frmStep2);
    next(WizardPage::frmStep2, WizardPage::frmstep6a);
    next(WizardPage::frmstep6a, WizardPage::frmStep7);
    on_next_modal([](QWidget *report) { click(report, "cmdOK"); });
    click(window(WizardPage::frmStep7), "cmdNext");
    EXPECT_EQ(script(QStringLiteral("guestbook.php")), first_script);
}

TEST_F(FullRunMySql, SetupCreatesTheTableDefinedOnTheNewTablePage)
{
    up_to_the_database("14/3/2005");
    // A table still to be created: typed, so the columns are typed too.
    auto *table = on<QComboBox>(WizardPage::frmstep6a, "cmbtable");
    QTest::mouseClick(table->lineEdit(), Qt::LeftButton);
    GridDriver::retype(table->lineEdit(), QStringLiteral("visitors"));
    QTest::mouseClick(on<QLineEdit>(WizardPage::frmstep6a, "txtHost"), Qt::LeftButton);
    const GridDriver mapping = grid(WizardPage::frmstep6a);
    ASSERT_EQ(mapping.grid->Cols(), 3);
    mapping.set(1, 1, QStringLiteral("full_name"));
    mapping.set(2, 1, QStringLiteral("visit"));
    mapping.tick(2, 2, true);
    mapping.set(3, 1, QStringLiteral("comments"));
    on<QCheckBox>(WizardPage::frmstep6a, "create")->click();
    next(WizardPage::frmstep6a, WizardPage::frmstep6b);

    const GridDriver definition = grid(WizardPage::frmstep6b);
    EXPECT_EQ(definition.column(0), (QStringList { "full_name", "visit", "comments" }));
    definition.set(1, 1, QStringLiteral("VARCHAR"));
    definition.set(1, 2, QStringLiteral("60"));
    definition.set(2, 1, QStringLiteral("Date"));
    definition.set(3, 1, QStringLiteral("VARCHAR"));
    definition.set(3, 2, QStringLiteral("200"));
    definition.set(3, 3, QStringLiteral("it's \"quiet\" \\ here"));
    auto *key = on<QComboBox>(WizardPage::frmstep6b, "cmbfields");
    key->setCurrentIndex(key->findText(QStringLiteral("full_name")));
    next(WizardPage::frmstep6b, WizardPage::frmStep7);
    generate(QStringLiteral("guestbook.php"), QStringLiteral("Welcome!"));

    PhpRequest opened;
    opened.method = "GET";
    const PhpResponse created = php.run(QStringLiteral("setup.php"), opened);
    EXPECT_EQ(created.body, QByteArray("Table created successfully")) << created.errors.toStdString();
    EXPECT_EQ(created.errors, QByteArray());
    EXPECT_EQ(stored(QStringLiteral("SELECT TRIM(CONCAT_WS(' ', COLUMN_NAME, COLUMN_TYPE, COLUMN_KEY)) FROM "
                                    "information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = "
                                    "'visitors' ORDER BY ORDINAL_POSITION")),
        (QStringList { "full_name varchar(60) PRI", "visit date", "comments varchar(200)" }));

    EXPECT_EQ(visit("Ann", "4/3/2005", "Fine\tday", "Welcome!", QStringLiteral("visitors")),
        (RawRows { { "Ann", "2005-03-04", "Fine\tday" } }));
    // The default as typed on the new-table page.
    database.exec(QStringLiteral("INSERT INTO visitors (full_name) VALUES ('Bo')"));
    EXPECT_EQ(stored(QStringLiteral("SELECT comments FROM visitors WHERE full_name = 'Bo'")),
        QStringList { QStringLiteral("it's \"quiet\" \\ here") });

    for (WizardPage page : { WizardPage::frmstep6a, WizardPage::frmstep6b }) {
        WizardWindow *each = window(page);
        each->show();
        settle(20);
        save_picture(each, QStringLiteral("full-run-create-%1.png").arg(each->objectName()));
        each->hide();
    }
}

} // namespace

// Projects through the windows: a project reopened from the command line
// fills the first and output pages, takes its saved rules when the page is
// read, asks which fields to keep, refills the later pages; a damaged file
// leaves the run as without one; and every way of saving ends well.
#include "WizardTest.h"

#include "controls/gxButtons_H.h"
#include "wizard/CommonDialog.h"
#include "wizard/MailPage.h"
#include "wizard/Startup.h"
#include "wizard/WizardGrid.h"
#include "wizard/frmSaveOption.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"
#include "wizard/frmStep2.h"
#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"
#include "wizard/frmStep7.h"
#include "wizard/frmstep5.h"
#include "wizard/frmstep6a.h"

#include "generate/cmail.h"
#include "generate/db.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/ProjectWriter.h"
#include "model/globals.h"
#include "model/webpage.h"
#include "mysql/MySQLTable.h"
#include "mysql/connections.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <functional>
#include <random>

namespace {

// The fields of the saved form: a required name, an e-mail address and
// comments of at most 200 characters.
void saved_rules(CForm &form)
{
    Field name;
    name.name = "name";
    name.field_type = "text";
    name.required = true;
    name.error_message = "Please enter\r\nyour name";
    Field email;
    email.name = "email";
    email.field_type = "text";
    email.validation_type = 2;
    email.error_message = "Bad address";
    Field comments;
    comments.name = "comments";
    comments.field_type = "textarea";
    comments.validation_type = 4;
    comments.length_max = 200;
    comments.length_operator1 = 3;
    comments.error_message = "Too long";
    for (Field *field : { &name, &email, &comments })
        form.fields()->Add(*field, field->name);
}

const QStringList kSaved { "name", "email", "comments" };

class Projects : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        frmStart::is_shown = true;
        html = folder.filePath("contact.html");
        page_fields("<input name=name><input name=email><textarea name=comments></textarea>");
    }

    // The HTML page the project names: one form with these controls.
    void page_fields(const QByteArray &controls)
    {
        write_file(html,
            "<html><body><form action=contact.php method=post>" + controls
                + "<input type=submit></form></body></html>");
    }

    // A project as an earlier run saved it: the saved form's fields, the
    // owner mail, auto-response and CSV actions, an embedded result with a
    // header; `change` alters the model or the pages' texts first.
    QString saved_project(const std::function<void(ProjectPageTexts &)> &change = {})
    {
        globals::reset();
        Cprefrences &prefs = *globals::prefs();
        prefs.is_email = prefs.is_autoresponde = prefs.is_csv = true;
        prefs.php_des = folder.filePath("out/contact.php");
        prefs.is_header = true;
        prefs.header_path = folder.filePath("top.html");
        webpage &page = *globals::web_page();
        page.path = html;
        page.nforms = 1;
        globals::selected_form_title = "Form1";
        auto form = std::make_shared<CForm>();
        form->is_date = true;
        form->date_format = 1;
        saved_rules(*form);
        page.selected_form = form;
        cmail &owner = *globals::owner_mail();
        owner.sender = "email";
        owner.email_to = "a@example.com,b@example.com";
        owner.subject = "New contact";
        cmail &reply = *globals::auto_mail();
        reply.sender = "shop@example.com";
        reply.email_to = "$email";
        reply.subject = "Thanks";
        reply.message_lines()->Add("Dear $name,\\n");
        reply.message_lines()->Add("thanks for $5");

        ProjectPageTexts pages;
        pages.txt_success_message = "Thank you\nfor writing";
        pages.csv_separator = "semicolon";
        pages.csv_filename = "contacts.txt";
        pages.csv_format = "*.txt";
        pages.csv_EndLine = "\\n";
        pages.owner_send_ip = false;
        pages.owner_message = "Name: #name#\nText: #comments#";
        pages.auto_message = "Dear #name#,\nthanks for $5";
        pages.alert_font = FontSpec { "Liberation Serif", 14, true };
        pages.alert_color = 0x0000FF;
        pages.message_font = FontSpec { "Liberation Sans", 12, false, true };
        pages.message_color = 0x008000;
        if (change)
            change(pages);
        const QString path = folder.filePath("contact.tsl");
        globals::save_project(path, pages);
        return path;
    }

    // A new run of the program with `path` on its command line.
    void reopen(const QString &path)
    {
        WizardFrame::instance().reset();
        globals::reset();
        CommonDialog::clear_script();
        register_pages();
        ASSERT_TRUE(start_wizard(path));
    }

    static frmStep1 *first() { return static_cast<frmStep1 *>(window(WizardPage::frmStep1)); }
    static frmStep2 *rules() { return static_cast<frmStep2 *>(window(WizardPage::frmStep2)); }
    static frmStep3 *owner() { return static_cast<frmStep3 *>(window(WizardPage::frmStep3)); }
    static frmStep4 *reply() { return static_cast<frmStep4 *>(window(WizardPage::frmStep4)); }
    static frmstep5 *csv() { return static_cast<frmstep5 *>(window(WizardPage::frmstep5)); }
    static frmStep7 *output() { return static_cast<frmStep7 *>(window(WizardPage::frmStep7)); }
    template<typename T> static T *on(WizardWindow *page, const char *name) { return find<T>(page, name); }

    static QStringList form_fields()
    {
        QStringList names;
        for (const auto &entry : *globals::web_page()->selected_form->fields())
            names << entry.value->name;
        return names;
    }
    static Field &form_field(const char *name)
    {
        return *globals::web_page()->selected_form->fields()->Item(QString::fromLatin1(name));
    }

    QTemporaryDir folder;
    QString html;
};

TEST_F(Projects, ReopeningFillsTheFirstAndOutputPages)
{
    reopen(saved_project());
    EXPECT_TRUE(messages().isEmpty()) << last_message().toStdString();
    EXPECT_FALSE(globals::project_error);
    for (const auto &[box, ticked] :
        { std::pair { "chkMail", true }, std::pair { "chkAutoResponde", true }, std::pair { "chkCSV", true },
            std::pair { "chkDB", false }, std::pair { "chkEmbed", true }, std::pair { "chkdate", false } })
        EXPECT_EQ(on<QCheckBox>(first(), box)->isChecked(), ticked) << box;
    EXPECT_TRUE(on<QRadioButton>(first(), "optLoadHtml")->isChecked());
    EXPECT_EQ(on<QLineEdit>(first(), "txtdestination")->text(), html);
    EXPECT_FALSE(on<QLineEdit>(first(), "txturl")->isEnabled());
    for (const char *button : { "Browse", "load" })
        EXPECT_FALSE(on<QWidget>(first(), button)->isEnabled()) << button;
    EXPECT_EQ(on<QComboBox>(first(), "cmbdate")->currentText(), "14/3/2005");
    EXPECT_TRUE(on<QComboBox>(first(), "cmbdate")->isEnabled());

    EXPECT_EQ(on<QLineEdit>(output(), "txtdestination")->text(), folder.filePath("out/contact.php"));
    EXPECT_TRUE(on<QCheckBox>(output(), "chkHeader")->isChecked());
    EXPECT_TRUE(on<QLineEdit>(output(), "txtHeader")->isEnabled());
    EXPECT_EQ(on<QLineEdit>(output(), "txtHeader")->text(), folder.filePath("top.html"));
    EXPECT_FALSE(on<QCheckBox>(output(), "chkFooter")->isChecked());
    EXPECT_EQ(on<QPlainTextEdit>(output(), "main")->toPlainText(), "Thank you\nfor writing");
    EXPECT_EQ(output()->message_font().name, "Liberation Sans");
    EXPECT_TRUE(output()->message_font().italic);
    EXPECT_EQ(output()->message_color(), 0x008000);
    EXPECT_EQ(rules()->alert_font().size, 14);
    EXPECT_EQ(rules()->alert_color(), 0x0000FF);

    // A page read by URL shows its address, and no date format.
    reopen(saved_project([](ProjectPageTexts &) {
        globals::web_page()->pagetype = 1;
        globals::web_page()->URL = "http://example.com/contact.html";
        globals::web_page()->selected_form->is_date = false;
    }));
    EXPECT_TRUE(on<QRadioButton>(first(), "optLoadURL")->isChecked());
    EXPECT_EQ(on<QLineEdit>(first(), "txturl")->text(), "http://example.com/contact.html");
    EXPECT_FALSE(on<QLineEdit>(first(), "txtdestination")->isEnabled());
    EXPECT_TRUE(on<QCheckBox>(first(), "chkdate")->isChecked());
    EXPECT_FALSE(on<QComboBox>(first(), "cmbdate")->isEnabled());
}

TEST_F(Projects, NextReadsTheSavedPageAndTakesTheSavedRules)
{
    // The page lost "comments" since: no question, the saved field stays.
    page_fields("<input name=name><input name=e-mail>");
    reopen(saved_project());
    click(first(), "cmdNext");
    EXPECT_EQ(messages(), QStringList { "HTML Form is successfully loaded " });
    EXPECT_EQ(visible_page(), WizardPage::frmStep2);
    EXPECT_EQ(form_fields(), kSaved);
    EXPECT_TRUE(form_field("name").required);
    EXPECT_EQ(form_field("name").error_message, "Please enter\r\nyour name");
    EXPECT_EQ(form_field("email").post_name, "e-mail"); // as the page posts it
    EXPECT_EQ(form_field("comments").post_name, QString());
    EXPECT_EQ(globals::web_page()->selected_form->date_format, 1);
    const auto *list = on<QListWidget>(rules(), "lstfields");
    ASSERT_EQ(list->count(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list->item(row)->data(frmStep2::kSmallIconRole).toInt(), row == 0 ? 0 : frmStep2::kRuleIcon) << row;
}

// The page gained a field "phone": what the dialog is answered, and the
// fields the form then holds.
struct Keep
{
    const char *name;
    std::function<void(frmSaveOption *)> answer;
    QStringList fields;
    bool rules_kept;
};

void press_ok(QWidget *dialog)
{
    auto *ok = dialog->findChild<QWidget *>(QStringLiteral("CmdOk"));
    ASSERT_TRUE(ok);
    QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
}

void PrintTo(const Keep &keep, std::ostream *out)
{
    *out << keep.name;
}

class KeepFields : public Projects, public ::testing::WithParamInterface<Keep>
{
};

TEST_P(KeepFields, AsTheDialogIsAnswered)
{
    page_fields("<input name=phone><input name=name><input name=email><textarea name=comments></textarea>");
    reopen(saved_project());
    bool asked = false;
    on_next_modal([&asked](QWidget *dialog) {
        asked = dialog->objectName() == QLatin1String("frmSaveOption");
        ASSERT_TRUE(asked);
        auto *options = static_cast<frmSaveOption *>(dialog);
        EXPECT_TRUE(options->OptAll->isChecked());
        EXPECT_EQ(dialog->windowTitle(), "Tressel");
        GetParam().answer(options);
    });
    click(first(), "cmdNext");
    EXPECT_TRUE(asked);
    EXPECT_EQ(globals::new_field_count, 1);
    EXPECT_EQ(form_fields(), GetParam().fields);
    EXPECT_EQ(form_field("name").required, GetParam().rules_kept);
    if (GetParam().fields.contains("phone")) {
        EXPECT_EQ(form_field("phone").validation_type, 8);
    }
    EXPECT_EQ(on<QListWidget>(rules(), "lstfields")->count(), GetParam().fields.size());
}

INSTANTIATE_TEST_SUITE_P(Projects, KeepFields,
    ::testing::Values(Keep { "NewOnly",
                          [](frmSaveOption *d) {
                              d->optNew->setChecked(true);
                              press_ok(d);
                          },
                          { "phone", "name", "email", "comments" }, false },
        Keep { "SavedAndNew", [](frmSaveOption *d) { press_ok(d); }, kSaved + QStringList { "phone" }, true },
        Keep { "SavedOnly",
            [](frmSaveOption *d) {
                d->optSaved->setChecked(true);
                press_ok(d);
            },
            kSaved, true },
        Keep { "EnterPressesOk",
            [](frmSaveOption *d) {
                d->optSaved->setChecked(true);
                QTest::keyClick(d->optSaved, Qt::Key_Return);
            },
            kSaved, true },
        Keep { "EscapeKeepsEveryField",
            [](frmSaveOption *d) {
                d->optNew->setChecked(true);
                QTest::keyClick(d->optNew, Qt::Key_Escape);
                EXPECT_TRUE(d->OptAll->isChecked());
            },
            kSaved + QStringList { "phone" }, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Projects, FirstNextOfTheRulesPageRefillsTheActionPagesOnce)
{
    reopen(saved_project());
    click(first(), "cmdNext");
    click(rules(), "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep3) << last_message().toStdString();
    EXPECT_EQ(owner()->txtTo->text(), "a@example.com,b@example.com");
    EXPECT_EQ(owner()->cmbfields->currentText(), "email");
    EXPECT_EQ(owner()->txtSubject->text(), "New contact");
    EXPECT_EQ(owner()->txtMessage->toPlainText(), "Name: #name#\nText: #comments#");
    EXPECT_FALSE(owner()->chkIP->isChecked());
    EXPECT_EQ(texts(*globals::owner_mail()->recipients()), (QStringList { "a@example.com", "b@example.com" }));
    // The alerts are rendered in the saved font.
    EXPECT_TRUE(form_field("name").error_html.contains("face='Liberation Serif' size='4' color='#FF0000'"))
        << form_field("name").error_html.toStdString();

    EXPECT_EQ(reply()->txtsender->text(), "shop@example.com");
    EXPECT_EQ(reply()->cmbfields->currentText(), "email");
    EXPECT_EQ(reply()->txtSubject->text(), "Thanks");
    EXPECT_EQ(reply()->txtMessage->toPlainText(), "Dear #name#,\nthanks for $5");
    EXPECT_EQ(csv()->cmbDelimiter->currentText(), "semicolon");
    EXPECT_EQ(csv()->cmbendline->currentText(), "\\n");
    EXPECT_EQ(csv()->cmbtypes->currentText(), "*.txt");
    EXPECT_EQ(csv()->txtfilename->text(), "contacts.txt");

    // Back and Next again: what the person changed stays.
    owner()->txtSubject->setText("Changed");
    click(owner(), "cmdBack");
    click(rules(), "cmdNext");
    EXPECT_EQ(owner()->txtSubject->text(), "Changed");
    EXPECT_EQ(globals::owner_mail()->recipients()->Count(), 2);
}

TEST_F(Projects, RefillFollowsTheActionsAsTickedAndOlderFiles)
{
    // CSV unticked in the project but ticked before Next: filled all the
    // same; the owner mail ticked off: left as its own load made it.
    reopen(saved_project([](ProjectPageTexts &) { globals::prefs()->is_csv = false; }));
    on<QCheckBox>(first(), "chkCSV")->setChecked(true);
    on<QCheckBox>(first(), "chkMail")->setChecked(false);
    click(first(), "cmdNext");
    click(rules(), "cmdNext");
    EXPECT_EQ(csv()->txtfilename->text(), "contacts.txt");
    EXPECT_EQ(owner()->txtTo->text(), QString());
    EXPECT_EQ(owner()->txtMessage->toPlainText(), "name: #name#\nemail: #email#\ncomments: #comments#\n");

    // A file without the pages' section: the auto-response's lines as the
    // page made them, with "#" for "$", and the owner's body from the form.
    const QString path = saved_project();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    bytes.truncate(bytes.indexOf(" \r\n[pages]"));
    write_file(path, bytes);
    reopen(path);
    click(first(), "cmdNext");
    click(rules(), "cmdNext");
    EXPECT_EQ(reply()->txtMessage->toPlainText(), "Dear #name,\nthanks for #5");
    EXPECT_EQ(owner()->txtMessage->toPlainText(), "name: #name#\nemail: #email#\ncomments: #comments#\n");
    EXPECT_TRUE(owner()->chkIP->isChecked());
    EXPECT_EQ(owner()->txtSubject->text(), "New contact");
}

TEST_F(Projects, MySQLPageComesBackAsSaved)
{
    // A connection that had worked, and one that had failed (manual mode).
    for (const bool connected : { true, false }) {
        SCOPED_TRACE(connected);
        const QString path = saved_project([connected](ProjectPageTexts &pages) {
            Cprefrences &prefs = *globals::prefs();
            prefs.is_email = prefs.is_autoresponde = prefs.is_csv = false;
            prefs.is_mysql = true;
            globals::isConnect = true;
            globals::SuccessfullyConnected = connected;
            pages.mysql_host = "db.example.com";
            pages.mysql_user = "ann";
            pages.mysql_pw = "Pw\"$x\\y'z";
            pages.mysql_port = "3307";
            pages.mysql_db = "shop";
            pages.mysql_table = "orders";
            const ::fields &saved = *globals::web_page()->selected_form->fields();
            saved.Item("name")->mysql_field = "full_name";
            saved.Item("email")->mysql_field = "mail";
            saved.Item("email")->is_date_field = true;
        });
        reopen(path);
        click(first(), "cmdNext");
        click(rules(), "cmdNext");
        ASSERT_EQ(visible_page(), WizardPage::frmstep6a) << last_message().toStdString();
        auto *page = static_cast<frmstep6a *>(window(WizardPage::frmstep6a));
        EXPECT_EQ((QStringList { page->txtHost->text(), page->txtUser->text(), page->txtpassword->text(),
                      page->txtport->text(), page->cmbDB->currentText(), page->cmbtable->currentText() }),
            (QStringList { "db.example.com", "ann", "Pw\"$x\\y'z", "3307", "shop", "orders" }));
        for (QWidget *typed : QWidgetList { page->cmbDB, page->cmbtable, page->Label3, page->Label4 })
            EXPECT_EQ(typed->isEnabled(), !connected) << typed->objectName().toStdString();
        EXPECT_EQ(page->manual_mode(), !connected);
        const auto *grid = page->findChild<WizardGrid *>("grd");
        EXPECT_EQ(grid->CellText(1, 1), "full_name");
        EXPECT_EQ(grid->CellText(2, 1), "mail");
        EXPECT_EQ(grid->CellText(3, 1), "Not assigned");
        if (!connected) {
            EXPECT_EQ(grid->CellText(2, 2), "True");
        }

        // Saved again unchanged: the same MySQL section.
        const QString again = folder.filePath("again.tsl");
        CommonDialog::script(CommonDialog::Answer::chosen_file(again));
        ASSERT_TRUE(WizardFrame::instance().save_project());
        const auto section = [](const QString &file) {
            const QList<QByteArray> lines = read_file(file).split('\n');
            const qsizetype at = lines.indexOf("[MySQL]\r");
            EXPECT_GE(at, 0);
            return lines.mid(at, 9);
        };
        EXPECT_EQ(section(again), section(path));

        // Next takes the typed names.
        click(page, "cmdNext");
        EXPECT_EQ(visible_page(), WizardPage::frmStep7) << last_message().toStdString();
        EXPECT_EQ(globals::mysql_db()->dbname, "shop");
        EXPECT_EQ(globals::mysql_db()->table->table_name(), "orders");
        EXPECT_EQ(globals::mysql_connections()->port(), "3307");
        EXPECT_TRUE(form_field("email").is_date_field);
        EXPECT_FALSE(form_field("comments").in_mysql);
    }
}

TEST_F(Projects, DamagedFileLeavesTheRunAsWithoutAProject)
{
    const QString path = saved_project();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    write_file(path, bytes.replace("is_csv=True", "is_csv=maybe"));
    reopen(path);
    EXPECT_EQ(messages(),
        QStringList { "The project could not be read: " + path + ", line 3: is_csv is \"maybe\", not True or False" });
    EXPECT_EQ(m_icons.back(), 2);
    EXPECT_TRUE(globals::project_error);
    // Nothing of it reached the model or the pages.
    EXPECT_FALSE(globals::prefs()->is_email);
    EXPECT_EQ(globals::web_page()->path, QString());
    EXPECT_FALSE(on<QCheckBox>(first(), "chkMail")->isChecked());
    EXPECT_TRUE(on<QWidget>(first(), "Browse")->isEnabled());
    EXPECT_EQ(on<QPlainTextEdit>(output(), "main")->toPlainText(), QString());
    click(first(), "cmdNext");
    EXPECT_EQ(last_message(), "Please select an HTML form to process");

    // A page taken as usual, and the later pages as their own loads made them.
    CommonDialog::script(CommonDialog::Answer::chosen_file(html));
    click(first(), "Browse");
    EXPECT_EQ(last_message(), "HTML Form is successfully loaded ");
    on<QCheckBox>(first(), "chkMail")->setChecked(true);
    on<QCheckBox>(first(), "chkdate")->setChecked(true);
    click(first(), "cmdNext");
    EXPECT_FALSE(form_field("name").required);
    click(rules(), "cmdNext");
    EXPECT_EQ(visible_page(), WizardPage::frmStep3);
    EXPECT_EQ(owner()->txtTo->text(), QString());
}

// One way of leaving or saving: the answers given, and how it ends.
struct SaveWay
{
    const char *name;
    bool after_generation; // on the output page with Save Project and Close
    const char *button; // pressed on the output page
    QList<int> answers;
    enum Dialog { Chosen, Cancelled, Unwritable, Refused } dialog;
    bool ended;
    bool written;
    const char *told; // the start of the last message after the questions
};

void PrintTo(const SaveWay &way, std::ostream *out)
{
    *out << way.name;
}

class SaveWays : public Projects, public ::testing::WithParamInterface<SaveWay>
{
};

TEST_P(SaveWays, EndWell)
{
    const SaveWay &c = GetParam();
    reopen(saved_project());
    click(first(), "cmdNext");
    frmStep7 *page = output();
    rules()->hide(); // where Next led
    show_page(page);
    if (c.after_generation) {
        on<gxButtons_H>(page, "cmdNext")->set_Caption("Save Project");
        on<gxButtons_H>(page, "cmdCancel")->set_Caption("Close");
    }
    const QString path = folder.filePath("saved.tsl");
    switch (c.dialog) {
    case SaveWay::Chosen:
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        break;
    case SaveWay::Cancelled:
        CommonDialog::script(CommonDialog::Answer::cancelled());
        break;
    case SaveWay::Unwritable:
        CommonDialog::script(CommonDialog::Answer::chosen_file(html + "/saved.tsl"));
        break;
    case SaveWay::Refused:
        globals::web_page()->blocked_ips()->Add("10.0.0.1,10.0.0.2");
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        break;
    }
    globals::project_saved = false;
    for (int code : c.answers)
        answer(code);
    click(page, c.button);
    EXPECT_EQ(program_ended(), c.ended);
    EXPECT_EQ(QFileInfo::exists(path), c.written);
    EXPECT_EQ(globals::project_saved, c.written);
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Save);
    EXPECT_TRUE(last_message().startsWith(QString::fromUtf8(c.told))) << last_message().toStdString();
    if (!c.ended) {
        EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    }
    // The dialog offers the reopened project's own file first.
    if (c.dialog == SaveWay::Cancelled) {
        EXPECT_EQ(page->save_dialog().FileName(), folder.filePath("contact.tsl"));
    }
    if (c.written) {
        // Saved: Close ends at once, without a question.
        if (c.after_generation && !c.ended) {
            const qsizetype told = messages().size();
            click(page, "cmdCancel");
            EXPECT_TRUE(program_ended());
            EXPECT_EQ(messages().size(), told);
        }
    }
}

const char *const kSaveLater = "Do you want to save this project to work on later?";

INSTANTIATE_TEST_SUITE_P(Projects, SaveWays,
    ::testing::Values(
        SaveWay { "ExitSavesThenEnds", false, "cmdCancel", { 1, 1 }, SaveWay::Chosen, true, true, kSaveLater },
        SaveWay {
            "ExitWithACancelledSaveStays", false, "cmdCancel", { 1, 1 }, SaveWay::Cancelled, false, false, kSaveLater },
        SaveWay { "ExitWithAFailedSaveStays", false, "cmdCancel", { 1, 1 }, SaveWay::Unwritable, false, false,
            "The project was not saved: " },
        SaveWay { "ExitWithARefusedValueStays", false, "cmdCancel", { 1, 1 }, SaveWay::Refused, false, false,
            "The project was not saved: a banned address on the list of banned IP addresses holds a comma" },
        SaveWay { "SaveProjectWrites", true, "cmdNext", {}, SaveWay::Chosen, false, true, "" },
        SaveWay { "CloseSavesAndStays", true, "cmdCancel", { 1 }, SaveWay::Chosen, false, true,
            "Do you want to save this project ?" },
        SaveWay { "CloseWithACancelledSaveStays", true, "cmdCancel", { 1 }, SaveWay::Cancelled, false, false,
            "Do you want to save this project ?" }),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

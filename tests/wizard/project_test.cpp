// Projects through the windows: a project reopened from the command line
// fills the first and output pages, takes its saved rules when the page is
// read, asks which fields to keep, refills the later pages; a damaged file
// leaves the run as without one; and every way of saving ends well.
#include "PageDriver.h"
#include "WizardTest.h"

#include "controls/gxButtons_H.h"
#include "wizard/CommonDialog.h"
#include "wizard/MyMessage.h"
#include "wizard/frmSaveOption.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"
#include "wizard/frmStep2.h"
#include "wizard/frmStep3.h"
#include "wizard/frmStep4.h"
#include "wizard/frmStep7.h"
#include "wizard/frmstep5.h"
#include "wizard/frmstep6a.h"

#include "generate/CSV.h"
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
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <functional>

namespace {

// The fields of the saved form: a required name, an e-mail address and
// comments of at most 200 characters.
void saved_rules(CForm &form)
{
    const auto add = [&form](const char *name, const char *type, qint32 validation, const char *alert) -> Field & {
        Field field;
        field.name = name;
        field.field_type = type;
        field.validation_type = validation;
        field.error_message = alert;
        form.fields()->Add(field, field.name);
        return *form.fields()->Item(field.name);
    };
    add("name", "text", 8, "Please enter\r\nyour name").required = true;
    add("email", "text", 2, "Bad address");
    Field &comments = add("comments", "textarea", 4, "Too long");
    comments.length_max = 200;
    comments.length_operator1 = 3;
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

    // A project with every action: the saved one with the MySQL action
    // too, its columns typed after a failed connection, and each value as
    // the pages' Next makes it, so that walking the pages changes nothing.
    QString every_action_project()
    {
        return saved_project([](ProjectPageTexts &pages) {
            globals::prefs()->is_mysql = true;
            globals::isConnect = true;
            pages.mysql_host = "db.example.com";
            pages.mysql_user = "ann";
            pages.mysql_pw = "secret";
            pages.mysql_port = "3307";
            pages.mysql_db = "shop";
            pages.mysql_table = "contacts";
            const auto &form = globals::web_page()->selected_form;
            for (const auto &[field, column] : { std::pair { "name", "full_name" }, std::pair { "email", "mail" },
                     std::pair { "comments", "notes" } })
                form->fields()->Item(field)->mysql_field = column;
            globals::is_convert_date = form->is_date;
            cmail &reply = *globals::auto_mail();
            reply.form = form;
            reply.set_message(pages.auto_message);
        });
    }

    // The output page's buttons as a generation leaves them.
    static void as_after_generation(WizardWindow *page)
    {
        find<gxButtons_H>(page, "cmdNext")->set_Caption("Save Project");
        find<gxButtons_H>(page, "cmdCancel")->set_Caption("Close");
    }

    // The saved project reopened, its form taken, and the output page shown,
    // as after a generation when `generated`.
    frmStep7 *reopened_on_the_output_page(bool generated)
    {
        drive::restart(saved_project());
        click(first(), "cmdNext");
        frmStep7 *page = output();
        rules()->hide(); // where Next led
        show_page(page);
        if (generated)
            as_after_generation(page);
        return page;
    }

    // Reopens `path` and goes on to the page after the rules page.
    void reopen_past_the_rules(const QString &path)
    {
        drive::restart(path);
        click(first(), "cmdNext");
        click(rules(), "cmdNext");
    }

    static frmStep1 *first() { return static_cast<frmStep1 *>(window(WizardPage::frmStep1)); }
    static frmStep2 *rules() { return static_cast<frmStep2 *>(window(WizardPage::frmStep2)); }
    static frmStep3 *owner() { return static_cast<frmStep3 *>(window(WizardPage::frmStep3)); }
    static frmStep4 *reply() { return static_cast<frmStep4 *>(window(WizardPage::frmStep4)); }
    static frmstep5 *csv() { return static_cast<frmstep5 *>(window(WizardPage::frmstep5)); }
    static frmStep7 *output() { return static_cast<frmStep7 *>(window(WizardPage::frmStep7)); }

    // The named controls of `page` as they show, " off" after a disabled one.
    static QStringList shown(WizardWindow *page, const QStringList &names)
    {
        QStringList seen;
        for (const QString &name : names) {
            if (const auto *control = find<QWidget>(page, name.toLatin1().constData()))
                seen << drive::shown(control) + (control->isEnabled() ? "" : " off");
        }
        return seen;
    }

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

// The first and output pages are filled at once, the action pages on the
// rules page's first Next only, so what is changed after that stays. (That
// every page comes back as saved through the windows, the full run holds.)
TEST_F(Projects, ReopeningRefillsEveryPage)
{
    drive::restart(saved_project());
    EXPECT_TRUE(messages().isEmpty()) << last_message().toStdString();
    EXPECT_FALSE(globals::project_error);
    EXPECT_EQ(shown(first(),
                  { "chkMail", "chkAutoResponde", "chkCSV", "chkDB", "chkEmbed", "chkdate", "optLoadHtml",
                      "txtdestination", "txturl", "Browse", "load", "cmbdate" }),
        (QStringList { "chkMail+", "chkAutoResponde+", "chkCSV+", "chkDB-", "chkEmbed+", "chkdate-", "optLoadHtml+",
            "txtdestination=" + html, "txturl=http:// off", "Browse off", "load off", "cmbdate=14/3/2005" }));
    EXPECT_EQ(shown(output(), { "txtdestination", "chkHeader", "txtHeader", "chkFooter", "main" }),
        (QStringList { "txtdestination=" + folder.filePath("out/contact.php"), "chkHeader+",
            "txtHeader=" + folder.filePath("top.html"), "chkFooter-", "main=Thank you\nfor writing" }));
    // The alerts are rendered in the saved font.
    click(first(), "cmdNext");
    EXPECT_TRUE(form_field("name").error_html.contains("face='Liberation Serif' size='4' color='#FF0000'"))
        << form_field("name").error_html.toStdString();
    click(rules(), "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep3) << last_message().toStdString();
    EXPECT_EQ(shown(owner(), { "txtTo", "txtSubject", "chkIP" }),
        (QStringList { "txtTo=a@example.com,b@example.com", "txtSubject=New contact", "chkIP-" }));
    EXPECT_EQ(texts(*globals::owner_mail()->recipients()), (QStringList { "a@example.com", "b@example.com" }));
    owner()->txtSubject->setText("Changed");
    click(owner(), "cmdBack");
    click(rules(), "cmdNext");
    EXPECT_EQ(owner()->txtSubject->text(), "Changed");
    EXPECT_EQ(globals::owner_mail()->recipients()->Count(), 2);

    // A page read by URL shows its address, and no date format.
    drive::restart(saved_project([](ProjectPageTexts &) {
        globals::web_page()->pagetype = 1;
        globals::web_page()->URL = "http://example.com/contact.html";
        globals::web_page()->selected_form->is_date = false;
    }));
    EXPECT_EQ(shown(first(), { "optLoadURL", "txturl", "txtdestination", "chkdate", "cmbdate" }),
        (QStringList { "optLoadURL+", "txturl=http://example.com/contact.html", "txtdestination= off", "chkdate+",
            "cmbdate=Select date Format off" }));
}

// A project that permits an upload type the script now refuses every file
// of: a notice names it, and it is taken out of the field.
TEST_F(Projects, UploadTypesTheScriptRefusesAreTakenOut)
{
    page_fields("<input name=name><input name=email><textarea name=comments></textarea><input type=file name=photo>"
                "<input type=file name=scan>");
    drive::restart(saved_project([](ProjectPageTexts &) {
        const auto upload = [](const char *name, const QStringList &types) {
            Field field;
            field.name = name;
            field.field_type = "file";
            field.validation_type = 7;
            for (const QString &type : types)
                field.mime_types()->Add(type, type);
            globals::web_page()->selected_form->fields()->Add(field, field.name);
        };
        upload("photo", { "image/svg+xml", "image/gif" });
        upload("scan", { "image/png", "image/x-unknown" });
    }));
    EXPECT_EQ(messages(),
        QStringList { "These file types are no longer offered, since the script refuses every such file, and were "
                      "removed from the permitted types: image/svg+xml (field 'photo'), image/x-unknown (field "
                      "'scan')" });
    click(first(), "cmdNext");
    EXPECT_EQ(texts(*form_field("photo").mime_types()), QStringList { "image/gif" });
    EXPECT_EQ(texts(*form_field("scan").mime_types()), QStringList { "image/png" });

    // A project whose types are all offered opens without a word.
    const qsizetype told = messages().size();
    drive::restart(saved_project());
    EXPECT_EQ(messages().size(), told) << last_message().toStdString();
}

TEST_F(Projects, NextReadsTheSavedPageAndTakesTheSavedRules)
{
    // The page lost "comments" since: no question, the saved field stays.
    page_fields("<input name=name><input name=e-mail>");
    drive::restart(saved_project());
    click(first(), "cmdNext");
    EXPECT_EQ(messages(), QStringList { "HTML Form is successfully loaded " });
    EXPECT_EQ(visible_page(), WizardPage::frmStep2);
    EXPECT_EQ(form_fields(), kSaved);
    EXPECT_TRUE(form_field("name").required);
    EXPECT_EQ(form_field("name").error_message, "Please enter\r\nyour name");
    EXPECT_EQ(form_field("email").post_name, "e-mail"); // as the page posts it
    EXPECT_EQ(form_field("comments").post_name, QString());
    EXPECT_EQ(globals::web_page()->selected_form->date_format, 1);
    const auto *list = find<QListWidget>(rules(), "lstfields");
    QList<int> icons;
    for (int row = 0; row < list->count(); ++row)
        icons << list->item(row)->data(frmStep2::kSmallIconRole).toInt();
    EXPECT_EQ(icons, (QList<int> { 0, frmStep2::kRuleIcon, frmStep2::kRuleIcon }));
}

// The saved form is no longer on the page: its forms are offered, on Next
// and after Browse to another page, and the one chosen takes the saved rules.
TEST_F(Projects, AFormNoLongerOnThePageIsChosenAgain)
{
    const QByteArray forms = "<html><body><form action=contact.php method=post><input name=name><input name=email>"
                             "<textarea name=comments></textarea></form><form><input name=search></form></body></html>";
    write_file(html, forms);
    const QString other = folder.filePath("moved.html");
    write_file(other, forms);
    const QString path = saved_project();
    write_file(path, read_file(path).replace("SelectedFormTitle=Form1", "SelectedFormTitle=Form3"));
    const QString overwrite = "Selecting another form will overwrite saved settings , Do you want to continue ?";
    for (const bool browse : { false, true }) {
        SCOPED_TRACE(browse ? "Browse" : "Next");
        drive::restart(path);
        const qsizetype before = messages().size();
        bool offered = false;
        on_next_modal([&offered](QWidget *picker) {
            offered = picker->objectName() == QLatin1String("FrmManyforms");
            drive::choose(find<QComboBox>(picker, "cmbForm"), "Form1");
            press(Qt::Key_Return);
        });
        if (browse) {
            find<QRadioButton>(first(), "optLoadHtml")->click();
            answer(1);
            CommonDialog::script(CommonDialog::Answer::chosen_file(other));
            click(first(), "Browse");
        }
        click(first(), "cmdNext");
        EXPECT_TRUE(offered);
        QStringList told { "HTML Form is successfully loaded " };
        if (browse)
            told.prepend(overwrite);
        EXPECT_EQ(messages().mid(before), told);
        ASSERT_EQ(visible_page(), WizardPage::frmStep2);
        EXPECT_EQ(globals::selected_form_title, "Form1");
        EXPECT_EQ(form_fields(), kSaved);
        EXPECT_TRUE(form_field("name").required);
    }
}

// A saved file format or end of line the script cannot use is reported by
// the CSV page's Next, as one typed there.
TEST_F(Projects, ReopenedCsvValuesAreCheckedAtNext)
{
    reopen_past_the_rules(saved_project([](ProjectPageTexts &pages) {
        pages.csv_format = "CSV";
        pages.csv_EndLine = "CRLF";
    }));
    click(owner(), "cmdNext");
    click(reply(), "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmstep5);
    click(csv(), "cmdNext");
    EXPECT_EQ(last_message(), "Please select a valid File Format: *. followed by an extension, such as *.csv");
    drive::choose(csv()->cmbtypes, "*.txt");
    click(csv(), "cmdNext");
    EXPECT_EQ(last_message(), "Please select a valid End of Line: \\r\\n or \\n");
    EXPECT_EQ(visible_page(), WizardPage::frmstep5);
    drive::choose(csv()->cmbendline, "\\n");
    click(csv(), "cmdNext");
    EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    EXPECT_EQ(globals::csv_file()->EndLine, "\\n");
}

// A reopened project's file dialogs open beside its page.
TEST_F(Projects, PageDialogsOpenBesideTheSavedPage)
{
    drive::restart(saved_project());
    find<QRadioButton>(first(), "optLoadHtml")->click();
    answer(1);
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(first(), "Browse");
    EXPECT_EQ(CommonDialog::last_folder(), folder.path());
    show_page(output());
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(output(), "headerbrowse");
    EXPECT_EQ(CommonDialog::last_folder(), folder.path());
}

// The page gained a field "phone": the option chosen in the dialog and the
// key that closes it (none: OK is clicked), and the fields the form then holds.
struct Keep
{
    const char *name;
    const char *option;
    Qt::Key key;
    QStringList fields;
    bool rules_kept;
    friend void PrintTo(const Keep &keep, std::ostream *out) { *out << keep.name; }
};

class KeepFields : public Projects, public ::testing::WithParamInterface<Keep>
{
};

TEST_P(KeepFields, AsTheDialogIsAnswered)
{
    const Keep &c = GetParam();
    page_fields("<input name=phone><input name=name><input name=email><textarea name=comments></textarea>");
    drive::restart(saved_project());
    bool asked = false;
    on_next_modal([&](QWidget *dialog) {
        asked = dialog->objectName() == QLatin1String("frmSaveOption");
        ASSERT_TRUE(asked);
        auto *options = static_cast<frmSaveOption *>(dialog);
        EXPECT_TRUE(options->OptAll->isChecked());
        auto *option = find<QRadioButton>(dialog, c.option);
        option->setChecked(true);
        if (c.key)
            QTest::keyClick(option, c.key);
        else
            click(dialog, "CmdOk");
        if (c.key == Qt::Key_Escape) {
            EXPECT_TRUE(options->OptAll->isChecked());
        }
    });
    click(first(), "cmdNext");
    EXPECT_TRUE(asked);
    EXPECT_EQ(globals::new_field_count, 1);
    EXPECT_EQ(form_fields(), c.fields);
    EXPECT_EQ(form_field("name").required, c.rules_kept);
    if (c.fields.contains("phone")) {
        EXPECT_EQ(form_field("phone").validation_type, 8);
    }
    EXPECT_EQ(find<QListWidget>(rules(), "lstfields")->count(), c.fields.size());
}

INSTANTIATE_TEST_SUITE_P(Projects, KeepFields,
    ::testing::Values(Keep { "NewOnly", "optNew", {}, { "phone", "name", "email", "comments" }, false },
        Keep { "SavedAndNew", "OptAll", {}, kSaved + QStringList { "phone" }, true },
        Keep { "SavedOnly", "optSaved", {}, kSaved, true },
        Keep { "EnterPressesOk", "optSaved", Qt::Key_Return, kSaved, true },
        Keep { "EscapeKeepsEveryField", "optNew", Qt::Key_Escape, kSaved + QStringList { "phone" }, true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Projects, RefillFollowsTheActionsAsTickedAndOlderFiles)
{
    // CSV unticked in the project but ticked before Next: filled all the
    // same; the owner mail ticked off: left as its own load made it.
    drive::restart(saved_project([](ProjectPageTexts &) { globals::prefs()->is_csv = false; }));
    find<QCheckBox>(first(), "chkCSV")->setChecked(true);
    find<QCheckBox>(first(), "chkMail")->setChecked(false);
    click(first(), "cmdNext");
    click(rules(), "cmdNext");
    const QString from_the_form = "txtMessage=name: #name#\nemail: #email#\ncomments: #comments#\n";
    EXPECT_EQ(csv()->txtfilename->text(), "contacts.txt");
    EXPECT_EQ(shown(owner(), { "txtTo", "txtMessage" }), (QStringList { "txtTo=", from_the_form }));

    // A file without the pages' section: the auto-response's lines as the
    // page made them, with "#" for "$", and the owner's body from the form.
    const QString path = saved_project();
    write_file(path, read_file(path).left(read_file(path).indexOf(" \r\n[pages]")));
    reopen_past_the_rules(path);
    EXPECT_EQ(reply()->txtMessage->toPlainText(), "Dear #name,\nthanks for #5");
    EXPECT_EQ(shown(owner(), { "txtMessage", "chkIP", "txtSubject" }),
        (QStringList { from_the_form, "chkIP+", "txtSubject=New contact" }));
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
        reopen_past_the_rules(path);
        ASSERT_EQ(visible_page(), WizardPage::frmstep6a) << last_message().toStdString();
        auto *page = static_cast<frmstep6a *>(window(WizardPage::frmstep6a));
        // Connected, the names were chosen from lists, which stay off until
        // a new connection; manual mode has them typed.
        const QString off = connected ? " off" : "";
        EXPECT_EQ(
            shown(page, { "txtHost", "txtUser", "txtpassword", "txtport", "Label3", "cmbDB", "Label4", "cmbtable" }),
            (QStringList { "txtHost=db.example.com", "txtUser=ann", "txtpassword=Pw\"$x\\y'z", "txtport=3307",
                "Label3" + off, "cmbDB=shop" + off, "Label4" + off, "cmbtable=orders" + off }));
        EXPECT_EQ(page->manual_mode(), !connected);
        const GridDriver grid { find<WizardGrid>(page, "grd") };
        EXPECT_EQ(grid.column(1), (QStringList { "full_name", "mail", "Not assigned" }));
        if (!connected) {
            EXPECT_EQ(grid.column(2), (QStringList { "False", "True", "False" }));
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
    write_file(path, read_file(path).replace("is_csv=True", "is_csv=maybe"));
    drive::restart(path);
    EXPECT_EQ(messages(),
        QStringList { "The project could not be read: " + path + ", line 3: is_csv is \"maybe\", not True or False" });
    EXPECT_EQ(m_icons.back(), 2);
    EXPECT_TRUE(globals::project_error);
    // Nothing of it reached the model or the pages.
    EXPECT_FALSE(globals::prefs()->is_email);
    EXPECT_EQ(globals::web_page()->path, QString());
    EXPECT_EQ(shown(first(), { "chkMail", "Browse" }), (QStringList { "chkMail-", "Browse" }));
    EXPECT_EQ(find<QPlainTextEdit>(output(), "main")->toPlainText(), QString());
    click(first(), "cmdNext");
    EXPECT_EQ(last_message(), "Please select an HTML form to process");

    // A page taken as usual gets none of the saved rules.
    CommonDialog::script(CommonDialog::Answer::chosen_file(html));
    click(first(), "Browse");
    EXPECT_EQ(last_message(), "HTML Form is successfully loaded ");
    find<QCheckBox>(first(), "chkdate")->setChecked(true);
    click(first(), "cmdNext");
    EXPECT_EQ(visible_page(), WizardPage::frmStep2);
    EXPECT_FALSE(form_field("name").required);
}

// One way of leaving or saving: the answers given, and how it ends.
struct SaveWay
{
    const char *name;
    bool after_generation; // on the output page with Save Project and Close
    const char *button; // pressed on the output page
    QList<int> answers;
    // Unasked: the question was closed or answered No, so no dialog shows.
    enum Dialog { Chosen, Cancelled, Unwritable, Refused, Unasked } dialog;
    bool ended;
    bool written;
    const char *told; // the start of the last message after the questions
    friend void PrintTo(const SaveWay &way, std::ostream *out) { *out << way.name; }
};

class SaveWays : public Projects, public ::testing::WithParamInterface<SaveWay>
{
};

TEST_P(SaveWays, EndWell)
{
    const SaveWay &c = GetParam();
    frmStep7 *page = reopened_on_the_output_page(c.after_generation);
    const QString path = folder.filePath("saved.tsl");
    if (c.dialog == SaveWay::Refused)
        globals::web_page()->blocked_ips()->Add("10.0.0.1,10.0.0.2");
    // Offered where no dialog should show, too, so that none waits.
    CommonDialog::script(c.dialog == SaveWay::Cancelled
            ? CommonDialog::Answer::cancelled()
            : CommonDialog::Answer::chosen_file(c.dialog == SaveWay::Unwritable ? html + "/saved.tsl" : path));
    globals::project_saved = false;
    for (int code : c.answers)
        answer(code);
    click(page, c.button);
    EXPECT_EQ(program_ended(), c.ended);
    EXPECT_EQ(QFileInfo::exists(path), c.written);
    EXPECT_EQ(globals::project_saved, c.written);
    if (c.dialog == SaveWay::Unasked) {
        EXPECT_TRUE(CommonDialog::asked().empty());
    } else {
        EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Save);
    }
    EXPECT_TRUE(last_message().startsWith(QString::fromUtf8(c.told))) << last_message().toStdString();
    if (!c.ended) {
        EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    }
    // The dialog offers the reopened project's own file first.
    if (c.dialog == SaveWay::Cancelled) {
        EXPECT_EQ(page->save_dialog().FileName(), folder.filePath("contact.tsl"));
    }
    // Saved: Close ends at once, without a question.
    if (c.written && c.after_generation && !c.ended) {
        const qsizetype told = messages().size();
        click(page, "cmdCancel");
        EXPECT_TRUE(program_ended());
        EXPECT_EQ(messages().size(), told);
    }
}

// Saved at once from a page of a run that reopened a project, in one way,
// after a change made on purpose (or none).
struct SavedAgain
{
    const char *name;
    WizardPage page;
    enum How { Cancel, CloseBox, SaveProject, Close } how;
    void (*change)(WizardWindow *page);
    // The text the change replaces in the file, and what stands there now.
    const char *before;
    const char *after;
    friend void PrintTo(const SavedAgain &again, std::ostream *out) { *out << again.name; }
};

class SavedAtOnce : public Projects, public ::testing::WithParamInterface<SavedAgain>
{
};

// What was opened stays in the file, whichever pages the run has shown or
// filled: the mails, the CSV and MySQL settings and the bodies included.
TEST_P(SavedAtOnce, HoldsWhatWasOpened)
{
    const SavedAgain &c = GetParam();
    const QString opened = every_action_project();
    drive::restart(opened);
    const QList<WizardPage> route { WizardPage::frmStep1, WizardPage::frmStep2, WizardPage::frmStep3,
        WizardPage::frmStep4, WizardPage::frmstep5, WizardPage::frmstep6a, WizardPage::frmStep7 };
    for (qsizetype step = 0; route.at(step) != c.page; ++step) {
        click(window(route.at(step)), "cmdNext");
        ASSERT_EQ(visible_page(), route.at(step + 1)) << last_message().toStdString();
    }
    WizardWindow *page = window(c.page);
    if (c.change)
        c.change(page);
    const QString copy = folder.filePath("copy.tsl");
    CommonDialog::script(CommonDialog::Answer::chosen_file(copy));
    if (c.how == SavedAgain::SaveProject || c.how == SavedAgain::Close)
        as_after_generation(page);
    switch (c.how) {
    case SavedAgain::Cancel:
    case SavedAgain::CloseBox:
        answer(1); // exit
        answer(1); // and save
        if (c.how == SavedAgain::Cancel)
            click(page, "cmdCancel");
        else
            page->close();
        EXPECT_TRUE(program_ended());
        break;
    case SavedAgain::SaveProject:
        click(page, "cmdNext");
        break;
    case SavedAgain::Close:
        answer(1);
        click(page, "cmdCancel");
        EXPECT_FALSE(program_ended());
        break;
    }
    EXPECT_TRUE(messages().filter("not saved").isEmpty()) << last_message().toStdString();
    QByteArray expected = read_file(opened);
    if (c.before) {
        ASSERT_EQ(expected.count(c.before), 1) << c.before;
        expected.replace(c.before, c.after);
    }
    EXPECT_EQ(QString::fromUtf8(read_file(copy)).split("\r\n"), QString::fromUtf8(expected).split("\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Projects, SavedAtOnce,
    ::testing::Values(SavedAgain { "Rules", WizardPage::frmStep2, SavedAgain::Cancel, nullptr, nullptr, nullptr },
        SavedAgain { "RulesCloseBox", WizardPage::frmStep2, SavedAgain::CloseBox, nullptr, nullptr, nullptr },
        SavedAgain { "OwnerMail", WizardPage::frmStep3, SavedAgain::Cancel, nullptr, nullptr, nullptr },
        SavedAgain { "AutoResponder", WizardPage::frmStep4, SavedAgain::Cancel, nullptr, nullptr, nullptr },
        SavedAgain { "Csv", WizardPage::frmstep5, SavedAgain::Cancel, nullptr, nullptr, nullptr },
        SavedAgain { "MySQL", WizardPage::frmstep6a, SavedAgain::Cancel, nullptr, nullptr, nullptr },
        SavedAgain { "Output", WizardPage::frmStep7, SavedAgain::Cancel, nullptr, nullptr, nullptr },
        SavedAgain { "OutputSaveProject", WizardPage::frmStep7, SavedAgain::SaveProject, nullptr, nullptr, nullptr },
        SavedAgain { "OutputClose", WizardPage::frmStep7, SavedAgain::Close, nullptr, nullptr, nullptr },
        // Changed on the page before saving: the change is kept.
        SavedAgain { "RulesRequiredCleared", WizardPage::frmStep2, SavedAgain::Cancel,
            [](WizardWindow *page) { page->findChild<QCheckBox *>("chknull")->click(); }, "##name;^True;^",
            "##name;^False;^" },
        SavedAgain { "OwnerMailIpTicked", WizardPage::frmStep3, SavedAgain::Cancel,
            [](WizardWindow *page) { page->findChild<QCheckBox *>("chkIP")->setChecked(true); }, "is_send_ip=False",
            "is_send_ip=True" },
        SavedAgain { "OwnerSubjectTyped", WizardPage::frmStep3, SavedAgain::Cancel,
            [](WizardWindow *page) { drive::retype(page->findChild<QLineEdit *>("txtSubject"), "Re: contact"); },
            "subject=New contact", "subject=Re: contact" },
        SavedAgain { "AutoSubjectTyped", WizardPage::frmStep4, SavedAgain::CloseBox,
            [](WizardWindow *page) { drive::retype(page->findChild<QLineEdit *>("txtSubject"), "Thank you"); },
            "subject=Thanks", "subject=Thank you" },
        SavedAgain { "CsvFileRenamed", WizardPage::frmstep5, SavedAgain::CloseBox,
            [](WizardWindow *page) { drive::retype(page->findChild<QLineEdit *>("txtfilename"), "other.txt"); },
            "filename=contacts.txt", "filename=other.txt" },
        SavedAgain { "MySQLHostTyped", WizardPage::frmstep6a, SavedAgain::Cancel,
            [](WizardWindow *page) { drive::retype(page->findChild<QLineEdit *>("txtHost"), "db2.example.com"); },
            "host=db.example.com", "host=db2.example.com" }),
    [](const auto &info) { return std::string(info.param.name); });

const char *const kSaveLater = "Do you want to save this project to work on later?";
const char *const kSaveNow = "Do you want to save this project ?";

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
        SaveWay { "CloseSavesAndStays", true, "cmdCancel", { 1 }, SaveWay::Chosen, false, true, kSaveNow },
        SaveWay {
            "CloseWithACancelledSaveStays", true, "cmdCancel", { 1 }, SaveWay::Cancelled, false, false, kSaveNow },
        // A save question closed unanswered (Escape, the close button): the
        // page stays, nothing saved; No still ends without saving.
        SaveWay {
            "ExitWithTheSaveQuestionClosedStays", false, "cmdCancel", { 1, 0 }, SaveWay::Unasked, false, false, kSaveLater },
        SaveWay { "ExitWithoutSavingEnds", false, "cmdCancel", { 1, 2 }, SaveWay::Unasked, true, false, kSaveLater },
        SaveWay { "CloseWithTheQuestionClosedStays", true, "cmdCancel", { 0 }, SaveWay::Unasked, false, false, kSaveNow },
        SaveWay { "CloseWithoutSavingEnds", true, "cmdCancel", { 2 }, SaveWay::Unasked, true, false, kSaveNow }),
    [](const auto &info) { return std::string(info.param.name); });

// What a person does in the real message box: presses a key, clicks a
// button, or else uses the box's close button.
struct BoxAction
{
    Qt::Key key;
    const char *button;
};

struct RealBoxes
{
    const char *name;
    bool after_generation;
    QList<BoxAction> actions; // one for each box, in the order they show
    QStringList texts; // the boxes' texts
    bool ended;
    friend void PrintTo(const RealBoxes &boxes, std::ostream *out) { *out << boxes.name; }
};

class SaveQuestionBoxes : public Projects, public ::testing::WithParamInterface<RealBoxes>
{
};

// Leaving the output page with the real box: a save question closed by
// Escape or by its close button leaves the page as it was; No ends unsaved;
// the exit question ignores Escape as before.
TEST_P(SaveQuestionBoxes, EscapeStaysOnThePage)
{
    const RealBoxes &c = GetParam();
    frmStep7 *page = reopened_on_the_output_page(c.after_generation);
    // A save that should not happen writes here rather than wait in a dialog.
    CommonDialog::script(CommonDialog::Answer::chosen_file(folder.filePath("saved.tsl")));
    MyMessage::set_responder({});
    QStringList shown;
    std::function<void(int)> act_in_box = [&](int i) {
        on_next_modal([&, i](QWidget *box) {
            shown << find<QLabel>(box, "lblMessage")->text();
            if (i + 1 < c.actions.size())
                act_in_box(i + 1);
            const BoxAction &action = c.actions.at(i);
            if (action.key)
                press(action.key);
            else if (action.button)
                click(box, action.button);
            else
                box->close();
        });
    };
    act_in_box(0);
    click(page, "cmdCancel");
    EXPECT_EQ(shown, c.texts);
    EXPECT_EQ(program_ended(), c.ended);
    EXPECT_TRUE(CommonDialog::asked().empty());
    EXPECT_FALSE(globals::project_saved);
    if (!c.ended) {
        EXPECT_EQ(visible_page(), WizardPage::frmStep7);
    }
}

const BoxAction kYes { Qt::Key_Return, nullptr };
const BoxAction kEscape { Qt::Key_Escape, nullptr };
const BoxAction kCloseButton { Qt::Key(0), nullptr };
const BoxAction kNo { Qt::Key(0), "CmdNo" };
const char *const kExit = "Do you really want to exit!? ";

INSTANTIATE_TEST_SUITE_P(Projects, SaveQuestionBoxes,
    ::testing::Values(RealBoxes { "SaveLaterEscape", false, { kYes, kEscape }, { kExit, kSaveLater }, false },
        RealBoxes { "SaveLaterCloseButton", false, { kYes, kCloseButton }, { kExit, kSaveLater }, false },
        RealBoxes { "SaveLaterNo", false, { kYes, kNo }, { kExit, kSaveLater }, true },
        RealBoxes { "SaveNowEscape", true, { kEscape }, { kSaveNow }, false },
        RealBoxes { "SaveNowCloseButton", true, { kCloseButton }, { kSaveNow }, false },
        RealBoxes { "SaveNowNo", true, { kNo }, { kSaveNow }, true },
        RealBoxes { "ExitEscape", false, { kEscape }, { kExit }, false }),
    [](const auto &info) { return std::string(info.param.name); });

// A name typed in the save dialog without an extension is saved as a
// project file, which the command line then opens.
TEST_F(Projects, NameTypedWithoutExtensionOpensAgain)
{
    drive::restart(saved_project());
    click(first(), "cmdNext");
    const QString typed = folder.filePath("apply");
    on_next_modal([&typed](QWidget *dialog) {
        // Typed once the dialog has the keyboard, as a person would: it then
        // leaves the box to the typing.
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        auto *name = find<QLineEdit>(dialog, "fileNameEdit");
        ASSERT_TRUE(name);
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, typed);
        press(Qt::Key_Return);
    });
    answer(1);
    answer(1);
    click(rules(), "cmdCancel");
    EXPECT_TRUE(program_ended());
    EXPECT_FALSE(QFileInfo::exists(typed));
    ASSERT_TRUE(QFileInfo::exists(typed + ".tsl")) << QDir(folder.path()).entryList().join(' ').toStdString();
    drive::restart(typed + ".tsl");
    EXPECT_FALSE(globals::project_error);
    // Read without a word: the page it names is back on the first page.
    EXPECT_EQ(messages().mid(1), (QStringList { "Do you really want to exit!? ", kSaveLater }));
    EXPECT_EQ(shown(first(), { "txtdestination" }), QStringList { "txtdestination=" + html });
}

} // namespace

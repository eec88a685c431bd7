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

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

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

    static void as_after_generation(WizardWindow *page)
    {
        find<gxButtons_H>(page, "cmdNext")->set_Caption("Save Project");
        find<gxButtons_H>(page, "cmdCancel")->set_Caption("Close");
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

// A saved upload type whose files the script always refuses is named in a notice and taken out.
TEST_F(Projects, UploadTypesTheScriptRefusesAreTakenOut)
{
    page_fields("<input name=name><input name=email><textarea name=comments></textarea><input type=file name=photo>");
    drive::restart(saved_project([](ProjectPageTexts &) {
        Field photo;
        photo.name = "photo";
        photo.field_type = "file";
        photo.validation_type = 7;
        for (const char *type :
            { "image/svg+xml", "text/html", "audio/mpeg", "image/gif", "application/x-zip-compressed" })
            photo.mime_types()->Add(type, type);
        globals::web_page()->selected_form->fields()->Add(photo, photo.name);
    }));
    // Both of two in a row named and taken out; a type the script takes stays.
    EXPECT_EQ(messages(),
        QStringList {
            "These file types are no longer offered, since the script refuses every such file, and were "
            "removed from the permitted types: image/svg+xml (field 'photo': a browser runs such files as "
            "pages of the site), text/html (field 'photo': a browser runs such files as pages of the site)" });
    click(first(), "cmdNext");
    EXPECT_EQ(texts(*form_field("photo").mime_types()),
        (QStringList { "audio/mpeg", "image/gif", "application/x-zip-compressed" }));
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

// A saved form no longer on the page: Next offers the page's forms; the one chosen takes the saved rules.
TEST_F(Projects, AFormNoLongerOnThePageIsChosenAgain)
{
    page_fields("<input name=name><input name=phone></form><form><input name=q>");
    drive::restart(saved_project([](ProjectPageTexts &) { globals::selected_form_title = "Form3"; }));
    on_next_modal([](QWidget *picker) {
        drive::choose(find<QComboBox>(picker, "cmbForm"), "Form1");
        press(Qt::Key_Return);
    });
    click(first(), "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep2) << last_message().toStdString();
    EXPECT_EQ(globals::selected_form_title, "Form1");
    EXPECT_EQ(form_fields(), (QStringList { "name", "phone" }));
    EXPECT_TRUE(form_field("name").required);
}

// Saved on Form2 of a page of three forms (a search box, the contact form, a
// newsletter form), and the contact form since removed: the forms left, the
// one then chosen in the list after it was first closed, and that form's
// fields. Where the saved form is still found (`gone` false), `chosen` is the
// title it is found under. `tied`: several forms hold the saved fields alike,
// so the list asks without saying the form is gone. `phone`: a fourth saved
// field, "phone".
struct Gone
{
    const char *name;
    QByteArray forms;
    const char *chosen;
    QStringList fields;
    bool gone = true;
    bool tied = false;
    bool phone = false;
    friend void PrintTo(const Gone &gone, std::ostream *out) { *out << gone.name; }
};

class SavedFormGone : public Projects, public ::testing::WithParamInterface<Gone>
{
};

// Told by name; no other form is taken, and no field merged, unless chosen;
// the one chosen keeps the saved rules of its fields' names.
TEST_P(SavedFormGone, IsToldAndAnotherTakenOnlyWhenChosen)
{
    const Gone &c = GetParam();
    const QString path = saved_project([&c](ProjectPageTexts &) {
        globals::web_page()->nforms = 3;
        globals::selected_form_title = "Form2";
        if (c.phone) {
            Field phone;
            phone.name = "phone";
            globals::web_page()->selected_form->fields()->Add(phone, phone.name);
        }
    });
    write_file(html, c.forms);
    drive::restart(path);
    // Any other dialog (the merge question; where the form is found, the
    // list) is noted and closed.
    QStringList others;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&others, &c] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && (!c.gone || modal->objectName() != QLatin1String("FrmManyforms"))) {
            others << modal->objectName();
            modal->close();
        }
    });
    guard.start(10);
    if (!c.gone) { // taken as saved, named by its place now
        click(first(), "cmdNext");
        ASSERT_EQ(visible_page(), WizardPage::frmStep2) << messages().join(" | ").toStdString();
        EXPECT_EQ(std::tuple(messages(), form_fields(), globals::selected_form_title, others),
            std::tuple(
                QStringList { "HTML Form is successfully loaded " }, c.fields, QString(c.chosen), QStringList()));
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        ASSERT_TRUE(WizardFrame::instance().save_project());
        EXPECT_TRUE(read_file(path).contains("\r\nSelectedFormTitle=" + QByteArray(c.chosen) + "\r\n"));
        return;
    }
    const auto next = [&c](const char *chosen) {
        if (c.chosen) {
            on_next_modal([chosen, &c](QWidget *list) {
                EXPECT_EQ(find<QLabel>(list, "Label1")->text(),
                    c.tied ? "This page has more than one Form, Please Select "
                           : "Select the form to process in its place,");
                if (chosen)
                    drive::choose(find<QComboBox>(list, "cmbForm"), chosen);
                press(chosen ? Qt::Key_Return : Qt::Key_Escape);
            });
        }
        click(first(), "cmdNext");
    };
    next(nullptr); // the list closed: the page stays as it was
    EXPECT_EQ(messages(),
        (c.tied ? QStringList() : QStringList { "The form Form2 saved in this project is no longer on the page." })
            + (c.chosen ? QStringList() : QStringList { "File does not contain an HTML form." }));
    EXPECT_FALSE(first()->form_loaded());
    if (!c.chosen)
        return;
    next(c.chosen);
    ASSERT_EQ(visible_page(), WizardPage::frmStep2) << last_message().toStdString();
    EXPECT_EQ(std::tuple(globals::selected_form_title, form_fields(), others),
        std::tuple(QString(c.chosen), c.fields, QStringList()));
    EXPECT_EQ(globals::web_page()->selected_form->fields()->Contains("name") && form_field("name").required,
        c.fields.contains("name"));
}

INSTANTIATE_TEST_SUITE_P(Projects, SavedFormGone,
    ::testing::Values(Gone { "NoFormLeft", "<p>Closed</p>", nullptr, {} },
        Gone { "SearchBoxLeft", "<form><input name=q></form>", "Form1", { "q" } },
        // The newsletter form, now second, asks a name too.
        Gone { "SearchAndNewsletterLeft",
            "<form><input name=q></form><form><input name=news_email><input name=name></form>", "Form2",
            { "news_email", "name" } },
        // A poll in its place: three forms again, but none of the saved fields.
        Gone { "AnotherFormInItsPlace",
            "<form><input name=q></form><form><input name=vote></form><form><input name=news_email></form>", "Form3",
            { "news_email" } },
        // Still second, with a login form added below it.
        Gone { "FormAddedAfterIt",
            "<form><input name=q></form><form><input name=name><input name=email><textarea name=comments></textarea>"
            "</form><form><input name=news_email></form><form><input name=login></form>",
            "Form2", kSaved, false },
        // Moved by a login form added above it, or by the search box taken out.
        Gone { "FormAddedAboveIt",
            "<form><input name=login></form><form><input name=q></form><form><input name=name><input name=email>"
            "<textarea name=comments></textarea></form><form><input name=news_email></form>",
            "Form3", kSaved, false },
        Gone { "FormRemovedAboveIt",
            "<form><input name=name><input name=email><textarea name=comments></textarea></form><form>"
            "<input name=news_email></form>",
            "Form1", kSaved, false },
        // Of two forms holding most saved names the one holding more.
        Gone { "TheFormHoldingMostNames",
            "<form><input name=name><input name=email></form><form><input name=q></form><form><input name=name>"
            "<input name=email><textarea name=comments></textarea></form>",
            "Form3", kSaved, false },
        // Two forms holding two of the three names each: the list asks which,
        // and the one chosen merges with the saved fields.
        Gone { "TwoFormsHoldTheNamesAlike",
            "<form><input name=name><input name=email></form><form><input name=q></form><form><input name=name>"
            "<textarea name=comments></textarea></form>",
            "Form1", kSaved, true, true },
        // Four saved fields: two of them at the saved place are not most of
        // them, and no form holds more; three of them, moved up, are.
        Gone { "HalfOfFourIsNotMost",
            "<form><input name=q></form><form><input name=name><input name=email><input name=fax></form>", "Form2",
            { "name", "email", "fax" }, true, false, true },
        Gone { "ThreeOfFourMovedUp",
            "<form><input name=name><input name=email><input name=phone></form><form><input name=name>"
            "<textarea name=comments></textarea></form>",
            "Form1", kSaved + QStringList { "phone" }, false, false, true }),
    [](const auto &info) { return std::string(info.param.name); });

// A saved end of line the script cannot use is reported at the CSV page's Next.
TEST_F(Projects, ReopenedCsvValuesAreCheckedAtNext)
{
    reopen_past_the_rules(saved_project([](ProjectPageTexts &pages) { pages.csv_EndLine = "CRLF"; }));
    click(owner(), "cmdNext");
    click(reply(), "cmdNext");
    click(csv(), "cmdNext");
    EXPECT_EQ(last_message(), "Please select a valid End of Line: \\r\\n or \\n");
    EXPECT_EQ(visible_page(), WizardPage::frmstep5);
}

// A project's CSV separator as typed, in a file of an earlier version (no
// format mark) or of this one, the CSV action as saved, the answer to the
// question (-1: none asked), and what the CSV page then shows and the script
// writes.
struct Separator
{
    const char *name;
    const char *typed;
    bool earlier;
    bool csv;
    int answer;
    const char *shown;
    const char *written;
    friend void PrintTo(const Separator &c, std::ostream *out) { *out << c.name; }
};

class EarlierSeparator : public Projects, public ::testing::WithParamInterface<Separator>
{
};

// Earlier versions wrote a comma for a typed character: the data file they
// wrote keeps it unless the user, told, takes the character; a file saved
// since asks nothing again.
TEST_P(EarlierSeparator, KeepsTheDataFileWhole)
{
    const Separator &c = GetParam();
    const QString path = saved_project([&c](ProjectPageTexts &pages) {
        pages.csv_separator = c.typed;
        globals::prefs()->is_csv = c.csv;
    });
    // What this version adds after every section earlier versions wrote.
    const qsizetype mark = read_file(path).indexOf(" \r\n[version]\r\n");
    if (c.earlier && mark >= 0)
        write_file(path, read_file(path).left(mark));
    if (c.answer >= 0)
        answer(c.answer);
    drive::restart(path);
    const QString question = QString("Scripts made from this project by earlier versions wrote a comma (,) between "
                                     "the values in the data file: they took the Separator \"%1\" for a comma. This "
                                     "version writes \"%2\", and its records would not match those already in the "
                                     "file. Do you want to keep the comma?")
                                 .arg(c.typed, c.typed);
    EXPECT_EQ(messages(), c.answer >= 0 ? QStringList { question } : QStringList());
    if (c.answer >= 0) { // a question: Yes and No, its icon
        EXPECT_EQ(std::pair(m_buttons, m_icons), std::pair(QList<int> { 3 }, QList<int> { 1 }));
    }
    find<QCheckBox>(first(), "chkCSV")->setChecked(true);
    click(first(), "cmdNext");
    click(rules(), "cmdNext");
    click(owner(), "cmdNext");
    click(reply(), "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmstep5) << last_message().toStdString();
    EXPECT_EQ(csv()->cmbDelimiter->currentText(), c.shown);
    click(csv(), "cmdNext");
    EXPECT_EQ(globals::csv_file()->separator, c.written);

    const QString again = folder.filePath("again.tsl");
    CommonDialog::script(CommonDialog::Answer::chosen_file(again));
    ASSERT_TRUE(WizardFrame::instance().save_project());
    const qsizetype told = messages().size();
    drive::restart(again);
    EXPECT_EQ(messages().size(), told);
}

INSTANTIATE_TEST_SUITE_P(Projects, EarlierSeparator,
    ::testing::Values(Separator { "EarlierCharacterKeepsTheComma", "|", true, true, 1, "comma", "," },
        Separator { "EarlierCharacterTakenWhenWanted", "|", true, true, 2, "|", "|" },
        Separator { "EarlierQuestionClosedKeepsTheComma", ";", true, true, 0, "comma", "," },
        // Without the CSV action nothing is asked; the comma stays for when it is ticked.
        Separator { "EarlierCharacterWithoutCsv", "|", true, false, -1, "comma", "," },
        // A word none of the list's names was a comma, and is one.
        Separator { "EarlierWordStaysAComma", "pipe", true, true, -1, "comma", "," },
        Separator { "SavedSinceAsTyped", "|", false, true, -1, "|", "|" },
        Separator { "EarlierNamedChoice", "Semicolon", true, true, -1, "Semicolon", ";" }),
    [](const auto &info) { return std::string(info.param.name); });

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
    const QByteArray good = read_file(path);
    // A field record with an item too many, after sections that read well: none of them is taken either.
    write_file(path, QByteArray(good).replace(";^[[]]\r\n##email", ";^x;^[[]]\r\n##email"));
    drive::restart(path);
    EXPECT_EQ(last_message(),
        "The project could not be read: " + path
            + ", line 40: the field record holds 28 items and its type list; it needs 27");
    EXPECT_EQ(std::tuple(globals::prefs()->is_email, globals::web_page()->path), std::tuple(false, QString()));

    write_file(path, QByteArray(good).replace("is_csv=True", "is_csv=maybe"));
    drive::restart(path);
    EXPECT_EQ(messages().mid(1),
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

    // Save does not offer the damaged file, so it is never written over unasked.
    CommonDialog::script(CommonDialog::Answer::cancelled());
    EXPECT_FALSE(WizardFrame::instance().save_project());
    EXPECT_NE(output()->save_dialog().FileName(), path);
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
    friend void PrintTo(const SaveWay &way, std::ostream *out) { *out << way.name; }
};

class SaveWays : public Projects, public ::testing::WithParamInterface<SaveWay>
{
};

TEST_P(SaveWays, EndWell)
{
    const SaveWay &c = GetParam();
    drive::restart(saved_project());
    click(first(), "cmdNext");
    frmStep7 *page = output();
    rules()->hide(); // where Next led
    show_page(page);
    if (c.after_generation) {
        find<gxButtons_H>(page, "cmdNext")->set_Caption("Save Project");
        find<gxButtons_H>(page, "cmdCancel")->set_Caption("Close");
    }
    const QString path = folder.filePath("saved.tsl");
    if (c.dialog == SaveWay::Refused)
        globals::web_page()->blocked_ips()->Add("10.0.0.1,10.0.0.2");
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
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Save);
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

// Saved at once from a page of a reopened run, after typing the value in `after` into the box `edit`, if named.
struct SavedAgain
{
    const char *name;
    WizardPage page;
    enum How { Cancel, CloseBox, SaveProject, Close } how;
    const char *edit = nullptr, *before = nullptr, *after = nullptr; // a box, and the line a change there replaces
};
using enum SavedAgain::How;

const SavedAgain kSavedAgain[] = { { "Rules", WizardPage::frmStep2, Cancel },
    { "OwnerMail", WizardPage::frmStep3, Cancel, "txtSubject", "subject=New contact", "subject=Re: contact" },
    { "AutoResponderCloseBox", WizardPage::frmStep4, CloseBox, "txtSubject", "subject=Thanks", "subject=Thank you" },
    { "Csv", WizardPage::frmstep5, Cancel, "txtfilename", "filename=contacts.txt", "filename=other.txt" },
    { "MySQL", WizardPage::frmstep6a, Cancel, "txtHost", "host=db.example.com", "host=db2.example.com" },
    { "OutputSaveProject", WizardPage::frmStep7, SaveProject }, { "OutputClose", WizardPage::frmStep7, Close } };

class SavedAtOnce : public Projects, public ::testing::WithParamInterface<SavedAgain>
{
};

// The file holds what was opened, and the change, whichever pages the run has shown or filled.
TEST_P(SavedAtOnce, HoldsWhatWasOpened)
{
    const SavedAgain &c = GetParam();
    // Every action, MySQL's names typed after a failed connection.
    const QString opened = saved_project([](ProjectPageTexts &pages) {
        globals::prefs()->is_mysql = globals::isConnect = true;
        std::tie(
            pages.mysql_host, pages.mysql_user, pages.mysql_pw, pages.mysql_port, pages.mysql_db, pages.mysql_table)
            = std::tuple("db.example.com", "ann", "secret", "3307", "shop", "contacts");
        const auto &form = globals::web_page()->selected_form;
        for (const char *field : { "name", "email", "comments" })
            form->fields()->Item(field)->mysql_field = QString(field) + "_column";
        globals::is_convert_date = form->is_date;
    });
    drive::restart(opened);
    while (visible_page() != c.page) {
        const WizardPage at = visible_page();
        click(window(at), "cmdNext");
        ASSERT_NE(visible_page(), at) << last_message().toStdString();
    }
    WizardWindow *page = window(c.page);
    if (c.edit)
        drive::retype(find<QLineEdit>(page, c.edit), QString(c.after).section('=', 1));
    // Named without an extension: saved as a project file, which opens from the command line.
    const QString copy = folder.filePath("copy");
    CommonDialog::script(CommonDialog::Answer::chosen_file(copy));
    if (c.how >= SaveProject)
        as_after_generation(page);
    for (int question = c.how == Close; question < 2 && c.how != SaveProject; ++question)
        answer(1); // exit, then save
    if (c.how == CloseBox)
        page->close();
    else
        click(page, c.how == SaveProject ? "cmdNext" : "cmdCancel");
    EXPECT_EQ(program_ended(), c.how <= CloseBox);
    QByteArray expected = read_file(opened);
    if (c.edit) {
        ASSERT_EQ(expected.count(c.before), 1) << c.before;
        expected.replace(c.before, c.after);
    }
    EXPECT_EQ(QString::fromUtf8(read_file(copy + ".tsl")).split("\r\n"), QString::fromUtf8(expected).split("\r\n"));
    drive::restart(copy + ".tsl");
}

INSTANTIATE_TEST_SUITE_P(Projects, SavedAtOnce, ::testing::ValuesIn(kSavedAgain),
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
            "CloseWithACancelledSaveStays", true, "cmdCancel", { 1 }, SaveWay::Cancelled, false, false, kSaveNow }),
    [](const auto &info) { return std::string(info.param.name); });

// A save question closed by Escape or its close button stays with nothing saved; No ends; Escape on exit does nothing.
TEST_F(Projects, SaveQuestionsClosedStayOnThePage)
{
    // After a generation (Close asks to save) or not (Cancel asks to exit, then to save); the key for each real box in
    // turn (Key_Close: its close button, Key_No: a click on No); whether the program ends.
    const std::tuple<bool, QList<Qt::Key>, bool> cases[] = { { false, { Qt::Key_Return, Qt::Key_Escape }, false },
        { false, { Qt::Key_Return, Qt::Key_Close }, false }, { false, { Qt::Key_Return, Qt::Key_No }, true },
        { true, { Qt::Key_Escape }, false }, { true, { Qt::Key_Close }, false }, { true, { Qt::Key_No }, true },
        { false, { Qt::Key_Escape }, false } };
    MyMessage::set_responder({});
    bool ended = false;
    WizardFrame::instance().set_end_handler([&ended] { ended = true; });
    for (const auto &c : cases) {
        const QList<Qt::Key> &keys = std::get<1>(c);
        SCOPED_TRACE(testing::PrintToString(c));
        drive::restart(QString());
        ended = false;
        // A save that should not happen writes rather than waits in a dialog.
        CommonDialog::script(CommonDialog::Answer::chosen_file(folder.filePath("saved.tsl")));
        show_page(output());
        if (std::get<0>(c))
            as_after_generation(output());
        std::function<void(qsizetype)> act = [&](qsizetype i) {
            on_next_modal([&, i](QWidget *box) {
                if (i + 1 < keys.size())
                    act(i + 1); // before this box's answer opens the next
                if (keys.at(i) == Qt::Key_Close)
                    box->close();
                else if (keys.at(i) == Qt::Key_No)
                    click(box, "CmdNo");
                else
                    press(keys.at(i));
            });
        };
        act(0);
        click(output(), "cmdCancel");
        EXPECT_EQ(ended, std::get<2>(c));
        EXPECT_TRUE(CommonDialog::asked().empty());
        EXPECT_TRUE(ended || output()->isVisible());
    }
}

} // namespace

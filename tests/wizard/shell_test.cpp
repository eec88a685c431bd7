// Start-up, the first page, the page frame and the message box, driven
// through their windows.
#include "PageDriver.h"
#include "WizardTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/MessageLayout.h"
#include "wizard/MyMessage.h"
#include "wizard/Startup.h"
#include "wizard/frmAction.h"
#include "wizard/frmMessage.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"

#include "support/TestHttpServer.h"

#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/ini_variables.h"
#include "model/webpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>

#include <tuple>

namespace {

const QString kLoaded = QStringLiteral("HTML Form is successfully loaded ");

class Pages : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        frmStart::is_shown = true; // the introduction has its own test
        start_wizard(QString());
        page = static_cast<frmStep1 *>(window(WizardPage::frmStep1));
        settle();
    }

    // Writes an HTML page and has page 1 read it through Browse.
    void browse(const QByteArray &html)
    {
        const QString path = folder.filePath(QStringLiteral("page%1.html").arg(++pages));
        write_file(path, html);
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        click(page, "Browse");
    }

    // Has page 1 read `html` by URL, a form being taken already.
    void load_url(const QByteArray &html)
    {
        TestHttpServer::Response response;
        response.body = html;
        server.serve("/page.html", response);
        answer(1); // load a new form
        control<QRadioButton>("optLoadURL")->click();
        control<QLineEdit>("txturl")->setText(server.url("/page.html"));
        click(page, "load");
    }

    template<typename T> T *control(const char *name) { return find<T>(page, name); }

    QTemporaryDir folder;
    TestHttpServer server; // any path not served is not found
    frmStep1 *page = nullptr;
    int pages = 0;
};

struct PageCase
{
    const char *name;
    QByteArray html;
    QStringList told;
    int fields; // of the form taken; -1: none taken
};

void PrintTo(const PageCase &page, std::ostream *out)
{
    *out << page.name;
}

class LocalPages : public Pages, public ::testing::WithParamInterface<PageCase>
{
};

TEST_P(LocalPages, FormIsTakenOrTheReasonTold)
{
    browse(GetParam().html);
    EXPECT_EQ(messages(), GetParam().told);
    EXPECT_EQ(page->form_loaded(), GetParam().fields >= 0);
    if (GetParam().fields >= 0) {
        EXPECT_EQ(globals::web_page()->selected_form->fields()->Count(), GetParam().fields);
        EXPECT_EQ(globals::selected_form_title, QStringLiteral("Form1"));
        EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), globals::web_page()->path);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, LocalPages,
    ::testing::Values(
        // An unnamed submit button is dropped silently.
        PageCase { "OneNamedFieldAndASubmitButton",
            "<form action='send.php' method='post'><input name='email'><input type=submit></form>", { kLoaded }, 1 },
        PageCase { "NoForm", "<p>no form here</p>", { "File does not contain an HTML form." }, -1 },
        PageCase { "EmptyForm", "<form></form>",
            { "Selected Form doesn't contain any Fields, Please select another form" }, -1 },
        PageCase { "OnlyASubmitButton", "<form><input type=submit></form>", { kLoaded }, 0 },
        PageCase { "SomeFieldsUnnamed",
            "<form><input><textarea></textarea><input name=city><input type=reset name=r></form>",
            { "Some fields in the selected form don't have names , only named fields will be processed ", kLoaded },
            1 },
        // A group box and a computed result post nothing: no unnamed fields.
        PageCase { "FieldsetAndOutputAreNoFields",
            "<form><fieldset><legend>You</legend><input name=age></fieldset><output></output></form>", { kLoaded }, 1 },
        PageCase { "AllFieldsUnnamed", "<form><input><select></select></form>",
            { "All fields in the selected form are unnamed; please make sure that each field has a name in the "
              "form, you like to process." },
            -1 }));

TEST_F(Pages, SeveralFormsOpenThePicker)
{
    on_next_modal([](QWidget *picker) {
        auto *forms = find<QComboBox>(picker, "cmbForm");
        EXPECT_EQ(forms->itemText(forms->count() - 1), QStringLiteral("Form3"));
        EXPECT_EQ(forms->currentText(), QStringLiteral("<Select a form>"));
        click(picker, "CmdOk"); // nothing chosen yet: the picker stays
        EXPECT_TRUE(picker->isVisible());
        forms->setEditText(QStringLiteral("Form2"));
        press(Qt::Key_Return); // Enter is Ok
    });
    browse("<form><input name=a></form><form><input name=b><input name=c></form><form><input name=d></form>");
    EXPECT_EQ(messages(), (QStringList { "please select a form to process", kLoaded }));
    EXPECT_EQ(globals::selected_form_title, QStringLiteral("Form2"));
    EXPECT_EQ(globals::web_page()->selected_form->fields()->Count(), 2);
}

TEST_F(Pages, UrlModeReadsFromAWebServer)
{
    TestHttpServer server; // any other path is not found
    TestHttpServer::Response form_page;
    form_page.body = "<form method=get action=go.php><input name=q></form>";
    server.serve("/form.html", form_page);

    control<QRadioButton>("optLoadURL")->click();
    auto *url = control<QLineEdit>("txturl");
    click(page, "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please click the 'Load URL' button to load your HTML form"));
    click(page, "load");
    EXPECT_EQ(last_message(), QStringLiteral("please type the URL"));
    url->setText(QStringLiteral("http://localhost"));
    click(page, "load");
    EXPECT_EQ(last_message(), QStringLiteral("Invalid URL"));
    url->setText(server.url("/gone.html"));
    click(page, "load");
    EXPECT_TRUE(last_message().startsWith(QStringLiteral("The page could not be loaded: ")));
    EXPECT_FALSE(page->form_loaded());
    url->setText(server.url("/form.html"));
    QTest::keyClick(url, Qt::Key_Return); // Enter loads, as the button does
    EXPECT_EQ(last_message(), kLoaded);
    EXPECT_EQ(globals::web_page()->selected_form->Method(), QStringLiteral("GET"));
}

// Escape in the form picker keeps the form taken before, its page in the
// address box; a form taken later shows none of the other form's alerts.
TEST_F(Pages, CancelledFormChoiceKeepsTheTakenPage)
{
    TestHttpServer server;
    TestHttpServer::Response two_forms;
    two_forms.body = "<form><input name=city></form><form><input name=zip><input name=street></form>";
    server.serve("/two.html", two_forms);
    browse("<form><input name=q></form>");
    const QString first = globals::web_page()->path;
    auto *rules = window(WizardPage::frmStep2);
    click(page, "cmdNext");
    EXPECT_EQ(find<QTextEdit>(rules, "main")->toPlainText(), QStringLiteral("Please enter a valid q"));
    click(rules, "cmdBack");
    const auto load = [&](const std::function<void(QWidget *)> &in_picker) {
        control<QRadioButton>("optLoadURL")->click();
        control<QLineEdit>("txturl")->setText(server.url("/two.html"));
        on_next_modal(in_picker);
        answer(1); // load a new form
        click(page, "load");
    };
    load([](QWidget *) { press(Qt::Key_Escape); });
    EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), first);
    EXPECT_EQ(std::tuple(globals::web_page()->pagetype, globals::web_page()->path), std::tuple(0, first));
    EXPECT_EQ(globals::web_page()->forms->Item(1), globals::web_page()->selected_form);

    control<QCheckBox>("chkEmbed")->setChecked(false);
    load([](QWidget *picker) {
        find<QComboBox>(picker, "cmbForm")->setEditText(QStringLiteral("Form2"));
        press(Qt::Key_Return);
    });
    click(page, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep2);
    EXPECT_EQ(find<QTextEdit>(rules, "main")->toPlainText(), QString());
    EXPECT_EQ(globals::selected_form_title, QStringLiteral("Form2"));

    // Down from the prompt reaches the first form.
    click(rules, "cmdBack");
    load([](QWidget *) {
        press(Qt::Key_Down);
        press(Qt::Key_Return);
    });
    EXPECT_EQ(globals::selected_form_title, QStringLiteral("Form1"));
}

// A choice cancelled on the way to another page, in Browse's file dialog or
// its question, or in the form list after Browse or Load URL, and a choice of
// the other option left without reading: the page, the form and its rules
// stay, the option and address box showing them, and the project saved then
// reads that page again when reopened.
struct Cancelled
{
    const char *name;
    bool by_url; // the form taken was read by URL, else from a file
    enum Way { BrowseDialog, BrowseNo, BrowseList, LoadNo, LoadList, OptionOnly } way;
    friend void PrintTo(const Cancelled &c, std::ostream *out) { *out << c.name; }
};

class CancelledChoice : public Pages, public ::testing::WithParamInterface<Cancelled>
{
};

TEST_P(CancelledChoice, KeepsTheFormAndItsRules)
{
    const Cancelled &c = GetParam();
    const QByteArray two = "<form><input name=city></form><form><input name=zip></form>";
    QString address;
    if (c.by_url) {
        TestHttpServer::Response one;
        one.body = "<form><input name=q></form>";
        server.serve("/one.html", one);
        address = server.url("/one.html");
        control<QRadioButton>("optLoadURL")->click();
        control<QLineEdit>("txturl")->setText(address);
        click(page, "load");
        ASSERT_EQ(last_message(), kLoaded);
    } else {
        browse("<form><input name=q></form>");
        address = globals::web_page()->path;
    }
    const char *option = c.by_url ? "optLoadURL" : "optLoadHtml", *box = c.by_url ? "txturl" : "txtdestination";
    const QString shown = QString(option) + "+" + box + "=" + address;
    const auto now_shown
        = [&] { return drive::shown(control<QRadioButton>(option)) + drive::shown(control<QLineEdit>(box)); };
    QWidget *rules = window(WizardPage::frmStep2);
    click(page, "cmdNext");
    click(rules, "chknull"); // q is required
    click(rules, "cmdBack");
    if (c.way == Cancelled::BrowseList || c.way == Cancelled::LoadList)
        on_next_modal([](QWidget *) { press(Qt::Key_Escape); });
    switch (c.way) {
    case Cancelled::LoadList:
        load_url(two);
        break;
    case Cancelled::BrowseList:
        control<QRadioButton>("optLoadHtml")->click();
        answer(1);
        browse(two);
        break;
    case Cancelled::BrowseDialog:
    case Cancelled::BrowseNo:
        control<QRadioButton>("optLoadHtml")->click();
        if (c.way == Cancelled::BrowseDialog) {
            answer(1); // else No: the form loaded stays
            CommonDialog::script(CommonDialog::Answer::cancelled());
        }
        click(page, "Browse");
        break;
    case Cancelled::LoadNo:
        control<QRadioButton>("optLoadURL")->click();
        control<QLineEdit>("txturl")->setText(server.url("/other.html"));
        click(page, "load"); // No: the form loaded stays
        break;
    case Cancelled::OptionOnly:
        (c.by_url ? control<QRadioButton>("optLoadHtml") : control<QRadioButton>("optLoadURL"))->click();
        control<QLineEdit>("txturl")->setText(server.url("/other.html"));
        break;
    }
    if (c.way != Cancelled::OptionOnly) {
        EXPECT_EQ(now_shown(), shown);
        click(page, "cmdNext");
        ASSERT_EQ(visible_page(), WizardPage::frmStep2) << last_message().toStdString();
        EXPECT_TRUE(find<QCheckBox>(rules, "chknull")->isChecked());
    }

    const QString project = folder.filePath("kept.tsl");
    CommonDialog::script(CommonDialog::Answer::chosen_file(project));
    ASSERT_TRUE(WizardFrame::instance().save_project());
    drive::restart(project);
    page = static_cast<frmStep1 *>(window(WizardPage::frmStep1));
    EXPECT_EQ(now_shown(), shown);
    click(page, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep2) << last_message().toStdString();
    EXPECT_EQ(last_message(), kLoaded);
    EXPECT_TRUE(globals::web_page()->selected_form->fields()->Item(QStringLiteral("q"))->required);
}

INSTANTIATE_TEST_SUITE_P(Pages, CancelledChoice,
    ::testing::Values(Cancelled { "BrowseDialog", false, Cancelled::BrowseDialog },
        Cancelled { "BrowseList", false, Cancelled::BrowseList },
        Cancelled { "LoadUrlList", false, Cancelled::LoadList }, Cancelled { "LoadUrlNo", false, Cancelled::LoadNo },
        Cancelled { "UrlOptionOnly", false, Cancelled::OptionOnly },
        Cancelled { "UrlPageBrowseDialog", true, Cancelled::BrowseDialog },
        Cancelled { "UrlPageBrowseNo", true, Cancelled::BrowseNo },
        Cancelled { "UrlPageBrowseList", true, Cancelled::BrowseList },
        Cancelled { "UrlPageLoadUrlNo", true, Cancelled::LoadNo },
        Cancelled { "UrlPageLoadUrlList", true, Cancelled::LoadList },
        Cancelled { "UrlPageFileOptionOnly", true, Cancelled::OptionOnly }),
    [](const auto &info) { return std::string(info.param.name); });

// An address that does not load stays in its box to be corrected; the form
// taken before stays until a page loads.
TEST_F(Pages, MistypedAddressStaysToBeCorrected)
{
    browse("<form><input name=q></form>");
    load_url("<form><input name=city></form>");
    auto *url = control<QLineEdit>("txturl");
    const QString typed = url->text().replace("page", "paeg");
    drive::retype(url, typed);
    answer(1);
    click(page, "load");
    EXPECT_TRUE(last_message().startsWith(QStringLiteral("The page could not be loaded: ")));
    EXPECT_EQ(globals::web_page()->URL, server.url("/page.html")); // as a project would save it
    click(page, "cmdNext"); // with the form taken before
    ASSERT_EQ(visible_page(), WizardPage::frmStep2) << last_message().toStdString();
    EXPECT_EQ(globals::web_page()->selected_form->fields()->Item(1)->name, QStringLiteral("city"));
    click(window(WizardPage::frmStep2), "cmdBack");
    EXPECT_EQ(drive::shown(control<QRadioButton>("optLoadURL")) + drive::shown(url), "optLoadURL+txturl=" + typed);
    // The two letters swapped back, and Enter.
    url->setCursorPosition(typed.indexOf("aeg") + 1);
    QTest::keyClick(url, Qt::Key_Delete);
    QTest::keyClick(url, Qt::Key_Delete);
    QTest::keyClicks(url, QStringLiteral("ge"));
    answer(1);
    QTest::keyClick(url, Qt::Key_Return);
    EXPECT_EQ(last_message(), kLoaded);
}

// The file dialogs for pages open in the folder of the page read last, else in the home folder.
TEST_F(Pages, PageDialogsStartInTheLastPagesFolder)
{
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(page, "Browse");
    EXPECT_EQ(CommonDialog::last_folder(), QDir::homePath());
    browse("<form><input name=a></form>");
    QWidget *output = window(WizardPage::frmStep7);
    show_page(output);
    click(output, "chkHeader");
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(output, "headerbrowse");
    EXPECT_EQ(CommonDialog::last_folder(), folder.path());
}

// Each file dialog starts in the folder where a file of its kind (pages,
// projects, reports) was last chosen, at its own file when that is there;
// the first time in the folder of a page read from a file, else at home.
TEST_F(Pages, FileDialogsStartWhereTheirKindWasLastChosen)
{
    const QDir root(folder.path());
    for (const char *place : { "site", "mail", "projects", "logs" })
        root.mkdir(QString::fromLatin1(place));
    const auto at = [&root](const char *place) { return root.filePath(QString::fromLatin1(place)); };
    write_file(at("site/contact.html"), "<form><input name=q></form>");
    globals::prefs()->is_embeded_result_page = false;
    QWidget *output = window(WizardPage::frmStep7);
    show_page(output);
    const auto on = [](QWidget *window, const char *button) { return [=] { click(window, button); }; };
    const auto save_report = [] {
        frmAction report;
        click(&report, "cmdsave");
    };
    const auto save_project = [] { WizardFrame::instance().save_project(); };
    const auto url_page_saved = [&] {
        load_url("<form><input name=city></form>");
        save_project();
    };
    const auto file_page_again = [&] {
        answer(1);
        control<QRadioButton>("optLoadHtml")->click();
        click(page, "Browse");
    };
    // The dialog, the file chosen there (none: cancelled) and where it started.
    const std::tuple<std::function<void()>, const char *, QString> steps[] = {
        { on(page, "Browse"), "site/contact.html", QDir::homePath() },
        { save_report, "logs/run.log", at("site") },
        { on(output, "cmdbrowsesuccess"), "mail/thanks.html", at("site") },
        { on(output, "cmdbrowsefailure"), nullptr, at("mail") },
        { on(output, "cmdbrowsesuccess"), nullptr, at("mail/thanks.html") },
        { url_page_saved, "projects/contact.tsl", QDir::homePath() },
        { file_page_again, "site/contact.html", at("mail") },
        { on(output, "cmdbrowsesuccess"), nullptr, at("site") },
        { save_project, nullptr, at("projects/contact.tsl") },
        { save_report, nullptr, at("logs") },
    };
    for (const auto &[open, chosen, start] : steps) {
        SCOPED_TRACE(start.toStdString());
        CommonDialog::script(
            chosen ? CommonDialog::Answer::chosen_file(at(chosen)) : CommonDialog::Answer::cancelled());
        open();
        EXPECT_EQ(CommonDialog::last_start(), start);
    }
}

TEST_F(Pages, NextChecksTheDateFormatAndCopiesTheActions)
{
    click(page, "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please select an HTML form to process"));
    browse("<form><input name=when></form>");
    control<QCheckBox>("chkDB")->setChecked(true);
    control<QCheckBox>("chkMail")->setChecked(true);
    control<QCheckBox>("chkEmbed")->setChecked(false);
    click(page, "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please select the date format used on your form"));

    control<QComboBox>("cmbdate")->setCurrentIndex(3);
    click(page, "cmdNext");
    const Cprefrences &prefs = *globals::prefs();
    EXPECT_TRUE(prefs.is_mysql && prefs.is_email);
    EXPECT_FALSE(prefs.is_csv || prefs.is_autoresponde || prefs.is_embeded_result_page);
    EXPECT_TRUE(globals::web_page()->selected_form->is_date);
    EXPECT_EQ(globals::web_page()->selected_form->date_format, 3);
    EXPECT_EQ(visible_page(), WizardPage::frmStep2);

    show_page(page);
    click(page, "chkdate");
    click(page, "cmdNext");
    EXPECT_FALSE(globals::web_page()->selected_form->is_date);
    EXPECT_EQ(globals::web_page()->selected_form->date_format, 3);
    show_page(page);
    page->resize(560, 520);
    settle();
    save_picture(page, QStringLiteral("page1.png"));
}

// Leaving asks first, by Cancel or the close box; the offer to save comes
// only with a form taken and not saved since.
TEST_F(Pages, ExitAsksAndOffersToSaveATakenForm)
{
    const QString exit = QStringLiteral("Do you really want to exit!? ");
    click(page, "cmdCancel");
    page->close(); // the close box asks the same
    EXPECT_EQ(messages(), QStringList(2, exit));
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(program_ended());
    answer(1);
    click(page, "cmdCancel");
    EXPECT_EQ(messages(), QStringList(3, exit));
    EXPECT_TRUE(program_ended());

    browse("<form><input name=a></form>");
    answer(1); // the offer to save declined
    click(page, "cmdCancel");
    EXPECT_EQ(messages().mid(4),
        (QStringList { exit, QStringLiteral("Do you want to save this project to work on later?") }));
    globals::project_saved = true;
    answer(1);
    click(page, "cmdCancel");
    EXPECT_EQ(messages().mid(6), QStringList { exit });
}

// A command line naming no project that can be read, missing or damaged,
// is told, and the run goes on at page 1 as without a project.
TEST_F(WizardTest, CommandLineMustNameAProjectFile)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("tsl projects"));
    const QString text = folder.filePath(QStringLiteral("notes.txt"));
    const QString project = folder.filePath(QStringLiteral("tsl projects/contact.project"));
    const QString missing = folder.filePath(QStringLiteral("missing.tsl"));
    write_file(text, {});
    write_file(project, {});
    const std::pair<QString, QString> cases[] = {
        { text, "command line is not correct \n" + text + " is not a project file (.tsl)" },
        { missing, "command line is not correct \n" + missing + " does not exist" },
        // "tsl" in a folder name will do, and the path may be quoted; an
        // empty file is a damaged project.
        { QLatin1Char('"') + project + QLatin1Char('"'),
            "The project could not be read: " + project + ", line 1: the file is empty" },
    };
    for (const auto &[command_line, told] : cases) {
        SCOPED_TRACE(command_line.toStdString());
        const qsizetype before = messages().size();
        drive::restart(command_line);
        EXPECT_EQ(messages().mid(before), QStringList { told });
        EXPECT_TRUE(globals::project_error);
        EXPECT_FALSE(program_ended());
        QWidget *first = window(WizardPage::frmStep1);
        EXPECT_TRUE(first->isVisible());
        // No saved settings to overwrite; no saved page to read.
        find<QRadioButton>(first, "optLoadURL")->click();
        click(first, "load");
        click(first, "cmdNext");
        EXPECT_EQ(messages().mid(before + 1),
            (QStringList { "please type the URL", "Please select an HTML form to process" }));
    }
    EXPECT_EQ(globals::project_file, project);
}

// Shown at the first activation of each run and never again in it: Escape
// closes it writing nothing, Enter or Continue goes on and writes whether to
// show it again; turned off, the runs after do without it.
TEST_F(WizardTest, IntroductionOncePerRunUntilTurnedOff)
{
    int shown = 0;
    const auto run = [&shown](std::function<void(QWidget *)> answer) {
        WizardFrame::instance().reset();
        frmStart::is_shown = false;
        ini_variables::hide_start = 0; // as wizard.ini has it, read at the start
        if (answer) {
            on_next_modal([&shown, answer](QWidget *intro) {
                shown += intro->objectName() == QLatin1String("frmStart");
                answer(intro);
            });
        }
        start_wizard(QString());
        settle(200);
    };
    run([](QWidget *) { press(Qt::Key_Escape); });
    EXPECT_FALSE(QFileInfo::exists(ini_variables::wizard_ini_path()));
    QWidget *first = window(WizardPage::frmStep1);
    first->hide();
    first->show();
    first->activateWindow();
    settle(200);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    run([](QWidget *) { press(Qt::Key_Return); });
    EXPECT_EQ(read_file(ini_variables::wizard_ini_path()), " 0 \r\n");
    run([](QWidget *intro) {
        save_picture(intro, QStringLiteral("introduction.png"));
        find<QCheckBox>(intro, "chkhide")->setChecked(true);
        click(intro, "cmdNext");
    });
    EXPECT_EQ(read_file(ini_variables::wizard_ini_path()), " 1 \r\n");
    run({});
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(ini_variables::hide_start, 1);
    EXPECT_FALSE(frmStart::is_shown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The way through the pages for every choice of the four actions, with and
// without a table to create, forward from page 1 and back from the output
// page.
TEST(PageOrder, NextAndBackVisitTheChosenActionsPagesOnly)
{
    for (int choice = 0; choice < 32; ++choice) {
        SCOPED_TRACE(choice);
        Cprefrences prefs;
        prefs.is_email = choice & 1;
        prefs.is_autoresponde = choice & 2;
        prefs.is_csv = choice & 4;
        prefs.is_mysql = choice & 8;
        prefs.is_create_tble = choice & 16;
        QList<WizardPage> expected { WizardPage::frmStep1, WizardPage::frmStep2 };
        for (int i = 0; i < 4; ++i) {
            if (choice & (1 << i))
                expected << static_cast<WizardPage>(static_cast<int>(WizardPage::frmStep3) + i);
        }
        // The new-table page only follows the MySQL page.
        if (prefs.is_mysql && prefs.is_create_tble)
            expected << WizardPage::frmstep6b;
        expected << WizardPage::frmStep7;
        QList<WizardPage> forward { WizardPage::frmStep1 }, backward { WizardPage::frmStep7 };
        while (forward.size() < 10 && next_page(forward.back(), prefs) != WizardPage::None)
            forward << next_page(forward.back(), prefs);
        while (backward.size() < 10 && previous_page(backward.front(), prefs) != WizardPage::None)
            backward.prepend(previous_page(backward.front(), prefs));
        EXPECT_EQ(forward, expected);
        EXPECT_EQ(backward, expected);
        EXPECT_EQ(next_page(WizardPage::frmstep6b, prefs), WizardPage::frmStep7);
        EXPECT_EQ(previous_page(WizardPage::frmstep6b, prefs), WizardPage::frmstep6a);
    }
}

// The message box's size and its buttons' places at the edge cases, in twips.
TEST(MessageBoxLayout, SizesTheBoxToTheText)
{
    using B = MessageLayout::Button;
    constexpr double designed = MessageLayout::kInnerHeight + MessageLayout::kFrameHeight;
    const std::tuple<double, int, double, double, double, QList<B>, double> cases[] = {
        // text width, buttons; outer width and height, label width, the buttons shown, the first one's left
        // A short text with Ok: the row's width decides; Ok is centred.
        { 1000, 1, 2780, designed, 1000, { B::Ok }, (2780 - 90 - 1230) / 2.0 },
        // One line up to exactly 7500; the text decides the width.
        { 6690, 3, 7590, designed, 6690, { B::Yes, B::No }, (7500 - 2460 - 200) / 2.0 },
        { 6691, 3, 7500, designed + 220, 6200, { B::Yes, B::No }, (7410 - 2460 - 200) / 2.0 },
        // Two lines up to exactly 13000, three beyond.
        { 12190, 4, 7500, designed + 220, 6200, { B::Yes, B::No, B::Cancel }, (7410 - 3690 - 300) / 2.0 },
        { 12191, 2, 7500, designed + 550, 6200, { B::Ok, B::Cancel }, (7410 - 2460 - 200) / 2.0 },
        // The overwrite set always starts at its designed place.
        { 500, 5, 8100, designed, 500, { B::SkipAll, B::OverWrite, B::OverwriteAll, B::Cancel }, 1920 },
        { 500, 9, 1400, designed, 500, {}, 0 },
    };
    for (const auto &[text, buttons, width, height, label, shown, left] : cases) {
        SCOPED_TRACE(text);
        const MessageLayout m = MessageLayout::compute(text, buttons);
        EXPECT_EQ(
            (QList<double> { m.outer_width, m.outer_height, m.label_width }), (QList<double> { width, height, label }));
        EXPECT_EQ(m.shown, shown);
        EXPECT_EQ(shown.isEmpty() ? 0 : m.button_left[shown.front()], left);
    }
    // The box takes the size laid out, in pixels.
    frmMessage box;
    box.prepare(QStringLiteral("Short"), 1, 3);
    EXPECT_EQ(box.width(), (2780 - MessageLayout::kFrameWidth) / 15);
}

// The box answers with the button chosen by mouse or key: Enter presses the
// focused button (Ok or Yes at first), Escape Cancel or No, else it closes
// the box as its close box does.
TEST_F(WizardTest, MessageBoxAnswersWithTheButtonChosen)
{
    MyMessage::set_responder({});
    const std::tuple<int, const char *, int, int> answers[] = {
        // button set, a button (focused first when a key is pressed), a key, the answer; neither: the close box
        { 1, nullptr, Qt::Key_Return, 4 },
        { 1, nullptr, Qt::Key_Escape, 0 },
        { 2, nullptr, Qt::Key_Enter, 4 },
        { 2, nullptr, Qt::Key_Escape, 3 },
        { 3, nullptr, Qt::Key_Return, 1 },
        { 3, nullptr, Qt::Key_Escape, 2 },
        { 4, nullptr, Qt::Key_Return, 1 },
        { 4, nullptr, Qt::Key_Escape, 3 },
        { 5, nullptr, Qt::Key_Escape, 3 },
        { 3, "CmdNo", Qt::Key_Return, 2 },
        { 4, "CmdNo", 0, 2 },
        { 5, "cmdOverwriteAll", 0, 8 },
        { 3, nullptr, 0, 0 },
    };
    for (const auto &[buttons, button, key, answer] : answers) {
        SCOPED_TRACE(std::to_string(buttons) + " " + (button ? button : "") + " " + std::to_string(key));
        on_next_modal([button, key](QWidget *box) {
            if (button && key)
                find<QWidget>(box, button)->setFocus();
            if (key)
                press(Qt::Key(key));
            else if (button)
                click(box, button);
            else
                box->close();
        });
        EXPECT_EQ(MyMessage::show_message(QStringLiteral("Go on?"), buttons, 1), answer);
    }
}

} // namespace

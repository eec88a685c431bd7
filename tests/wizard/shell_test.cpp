// Start-up, the first page, the page frame and the message box, driven
// through their windows.
#include "WizardTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/MessageLayout.h"
#include "wizard/MyMessage.h"
#include "wizard/PageOrder.h"
#include "wizard/Startup.h"
#include "wizard/WizardFrame.h"
#include "wizard/frmAbout.h"
#include "wizard/frmStart.h"
#include "wizard/frmStep1.h"
#include "wizard/frmWait.h"

#include "support/TestHttpServer.h"

#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/ini_variables.h"
#include "model/webpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>

namespace {

class Pages : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        frmStart::is_shown = true; // the introduction has its own tests
        ASSERT_TRUE(start_wizard(QString()));
        page = static_cast<frmStep1 *>(WizardFrame::instance().window(WizardPage::frmStep1));
        settle();
    }

    // Writes an HTML page and has page 1 read it through Browse.
    void browse(const QByteArray &html)
    {
        const QString path = folder.filePath(QStringLiteral("page%1.html").arg(++pages));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
        file.close();
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        click(page, "Browse");
    }

    template<typename T> T *control(const char *name) { return page->findChild<T *>(QString::fromLatin1(name)); }

    QTemporaryDir folder;
    frmStep1 *page = nullptr;
    int pages = 0;
};

TEST_F(Pages, OneFormIsTakenAtOnce)
{
    browse("<form action='send.php' method='post'><input name='email'><input type=submit></form>");
    EXPECT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    EXPECT_TRUE(page->form_loaded());
    const auto &form = globals::web_page()->selected_form;
    ASSERT_TRUE(form);
    EXPECT_EQ(form->fields()->Count(), 1); // the unnamed submit button is dropped silently
    EXPECT_EQ(globals::selected_form_title, QStringLiteral("Form1"));
    EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), globals::web_page()->path);
}

TEST_F(Pages, SeveralFormsOpenThePicker)
{
    QStringList listed;
    on_next_modal([&](QWidget *picker) {
        auto *forms = picker->findChild<QComboBox *>(QStringLiteral("cmbForm"));
        for (int i = 0; i < forms->count(); ++i)
            listed << forms->itemText(i);
        EXPECT_EQ(forms->currentText(), QStringLiteral("<Select a form>"));
        click(picker, "CmdOk"); // nothing chosen yet: the picker stays
        EXPECT_TRUE(picker->isVisible());
        forms->setEditText(QStringLiteral("Form2"));
        click(picker, "CmdOk");
    });
    browse("<form><input name=a></form><form><input name=b><input name=c></form><form><input name=d></form>");
    EXPECT_EQ(listed, (QStringList { "Form1", "Form2", "Form3" }));
    EXPECT_EQ(messages(), (QStringList { "please select a form to process", "HTML Form is successfully loaded " }));
    EXPECT_EQ(globals::selected_form_title, QStringLiteral("Form2"));
    EXPECT_EQ(globals::web_page()->selected_form->fields()->Count(), 2);
}

TEST_F(Pages, PagesWithoutAUsableForm)
{
    browse("<p>no form here</p>");
    EXPECT_EQ(last_message(), QStringLiteral("File does not contain an HTML form."));
    browse("<form></form>");
    EXPECT_EQ(last_message(), QStringLiteral("Selected Form doesn't contain any Fields, Please select another form"));
    EXPECT_FALSE(page->form_loaded());
    // A lone unnamed button goes without a notice, and the empty form is taken.
    browse("<form><input type=submit></form>");
    EXPECT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    EXPECT_EQ(globals::web_page()->selected_form->fields()->Count(), 0);
}

TEST_F(Pages, UnnamedFieldsAreLeftOut)
{
    browse("<form><input><textarea></textarea><input name=city><input type=reset name=r></form>");
    EXPECT_EQ(messages(),
        (QStringList { "Some fields in the selected form don't have names , only named fields will be "
                       "processed ",
            "HTML Form is successfully loaded " }));
    EXPECT_EQ(globals::web_page()->selected_form->fields()->Count(), 1);

    answer(1); // load another form
    browse("<form><input><select></select></form>");
    EXPECT_EQ(messages().mid(2),
        (QStringList { "An HTML form was already loaded , do you wish to load a new form",
            "All fields in the selected form are unnamed; please make sure that each "
            "field has a name in the form, you like to process." }));
    EXPECT_FALSE(page->form_loaded());
}

TEST_F(Pages, BrowseCancelledAndReloadRefused)
{
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(page, "Browse");
    EXPECT_EQ(last_message(), QStringLiteral("Please select an HTML file"));

    browse("<form><input name=a></form>");
    ASSERT_TRUE(page->form_loaded());
    const auto taken = globals::web_page()->selected_form;
    answer(2); // keep the loaded form
    click(page, "Browse");
    EXPECT_EQ(last_message(), QStringLiteral("An HTML form was already loaded , do you wish to load a new form"));
    EXPECT_EQ(globals::web_page()->selected_form, taken);
    EXPECT_EQ(CommonDialog::asked().size(), 2u); // no dialog after No
}

TEST_F(Pages, UrlModeChecks)
{
    control<QRadioButton>("optLoadURL")->click();
    EXPECT_TRUE(control<QLineEdit>("txturl")->isEnabled());
    EXPECT_FALSE(control<QWidget>("Browse")->isEnabled());
    EXPECT_EQ(globals::web_page()->pagetype, 1);

    click(page, "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please click the 'Load URL' button to load your HTML form"));
    click(page, "load");
    EXPECT_EQ(last_message(), QStringLiteral("please type the URL"));
    control<QLineEdit>("txturl")->setText(QStringLiteral("http://localhost"));
    click(page, "load");
    EXPECT_EQ(last_message(), QStringLiteral("Invalid URL"));
    click(page, "cmdNext");
    EXPECT_EQ(last_message(), QStringLiteral("Please select an HTML form to process"));

    control<QRadioButton>("optLoadHtml")->click();
    EXPECT_FALSE(control<QLineEdit>("txturl")->isEnabled());
    EXPECT_EQ(globals::web_page()->pagetype, 0);
}

TEST_F(Pages, PageReadFromALocalWebServer)
{
    TestHttpServer server;
    TestHttpServer::Response page_with_form;
    page_with_form.body = "<form method=get action=go.php><input name=q></form>";
    server.serve("/form.html", page_with_form);
    TestHttpServer::Response missing;
    missing.status = "404 Not Found";
    server.serve("/gone.html", missing);

    control<QRadioButton>("optLoadURL")->click();
    control<QLineEdit>("txturl")->setText(server.url("/gone.html"));
    click(page, "load");
    EXPECT_TRUE(last_message().startsWith(QStringLiteral("The page could not be loaded: ")));
    EXPECT_TRUE(last_message().contains(QStringLiteral("404"))) << last_message().toStdString();
    EXPECT_FALSE(page->form_loaded());

    control<QLineEdit>("txturl")->setText(server.url("/form.html"));
    click(page, "load");
    EXPECT_EQ(last_message(), QStringLiteral("HTML Form is successfully loaded "));
    EXPECT_EQ(globals::web_page()->selected_form->Method(), QStringLiteral("GET"));
    click(page, "cmdNext"); // Load URL was pressed: no reminder now
    EXPECT_NE(last_message(), QStringLiteral("Please click the 'Load URL' button to load your HTML form"));
}

TEST_F(Pages, MissingFileIsReportedAndTheWaitWindowGoes)
{
    CommonDialog::script(CommonDialog::Answer::chosen_file(folder.filePath(QStringLiteral("missing.html"))));
    click(page, "Browse");
    EXPECT_TRUE(last_message().startsWith(QStringLiteral("The page could not be loaded: the file ")));
    EXPECT_FALSE(frmWait::instance().isVisible());
    EXPECT_FALSE(page->form_loaded());
}

TEST_F(Pages, NextChecksTheDateFormatAndCopiesTheActions)
{
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

    click(page, "chkdate");
    EXPECT_FALSE(control<QComboBox>("cmbdate")->isEnabled());
    click(page, "cmdNext");
    EXPECT_FALSE(globals::web_page()->selected_form->is_date);
    EXPECT_EQ(globals::web_page()->selected_form->date_format, 3);
}

TEST_F(Pages, HintLineExplainsTheControlUnderThePointer)
{
    auto *hint = control<QLabel>("lblHelp");
    auto *mail = control<QCheckBox>("chkMail");
    auto *csv = control<QCheckBox>("chkCSV");
    EXPECT_FALSE(hint->isVisible());
    QTest::mouseMove(mail);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral(" Do you like the script to send you an email")));
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(192, 0, 192));
    QTest::mouseMove(csv); // the first stays highlighted until the background is reached
    EXPECT_EQ(hint->text(), QStringLiteral(" Do you like to save fields values in a text file on your server?"));
    EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(192, 0, 192));
    QTest::mouseMove(page, QPoint(2, 2));
    EXPECT_FALSE(hint->isVisible());
    EXPECT_EQ(csv->palette().color(QPalette::WindowText), QColor(0, 0, 192));
}

TEST_F(Pages, CancelAsksBeforeEnding)
{
    click(page, "cmdCancel");
    EXPECT_EQ(last_message(), QStringLiteral("Do you really want to exit!? "));
    EXPECT_FALSE(program_ended());
    EXPECT_TRUE(page->isVisible());

    page->close(); // the close box asks the same
    EXPECT_EQ(messages().size(), 2);
    EXPECT_TRUE(page->isVisible());

    answer(1); // no form taken yet: no save question
    click(page, "cmdCancel");
    EXPECT_EQ(messages().size(), 3);
    EXPECT_TRUE(program_ended());
}

TEST_F(Pages, CancelOffersToSaveATakenForm)
{
    browse("<form><input name=a></form>");
    int saved = 0;
    WizardFrame::instance().set_save_project([&] { ++saved; });
    answer(1);
    answer(1);
    click(page, "cmdCancel");
    EXPECT_EQ(last_message(), QStringLiteral("Do you want to save this project to work on later?"));
    EXPECT_EQ(saved, 1);
    EXPECT_TRUE(program_ended());
    WizardFrame::instance().set_save_project({});

    globals::project_saved = true;
    const auto asked = messages().size();
    answer(1);
    click(page, "cmdCancel");
    EXPECT_EQ(messages().size(), asked + 1); // saved already: only the exit question
}

class UrlCatcher : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened << url; }

public:
    QList<QUrl> opened;
};

TEST_F(Pages, AboutBoxLinksToTheSite)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    on_next_modal([](QWidget *about) {
        EXPECT_EQ(about->findChild<QLabel *>(QStringLiteral("version"))->text(), QStringLiteral("Version : 1.2.5"));
        click(about, "Label5");
        click(about, "Label6");
        click(about, "Label6");
        EXPECT_TRUE(about->isVisible());
        click(about, "Label3");
    });
    QTest::mousePress(page->findChild<QWidget *>(QStringLiteral("cmdAbout")), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(catcher.opened.size(), 3);
    EXPECT_EQ(catcher.opened[0].toString(), frmAbout::home_page());
    EXPECT_EQ(catcher.opened[1].toString(), frmAbout::home_page() + QStringLiteral("support.html"));
    EXPECT_EQ(catcher.opened[2], catcher.opened[1]);
}

TEST_F(Pages, NoMysqlPageInThisVersion)
{
    WizardFrame::instance().move(*page, WizardPage::frmstep6a);
    EXPECT_TRUE(last_message().startsWith(QStringLiteral("The MySQL page is not part of this version")));
    EXPECT_TRUE(page->isVisible());
}

TEST_F(Pages, PictureOfTheFirstPage)
{
    page->resize(560, 520);
    settle();
    save_picture(page, QStringLiteral("page1.png"));
}

class Startup : public WizardTest
{
protected:
    QString write(const QString &name)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    QTemporaryDir folder;
};

TEST_F(Startup, CommandLineMustNameAProjectFile)
{
    const QString text = write(QStringLiteral("notes.txt"));
    EXPECT_FALSE(start_wizard(text));
    EXPECT_EQ(last_message(), QStringLiteral("command line is not correct "));
    EXPECT_FALSE(start_wizard(folder.filePath(QStringLiteral("missing.tsl"))));
    EXPECT_EQ(messages().size(), 2);
    EXPECT_FALSE(WizardFrame::instance().exists(WizardPage::frmStep1));
}

TEST_F(Startup, QuotedPathAndTslInAFolderName)
{
    QDir(folder.path()).mkdir(QStringLiteral("tsl projects"));
    const QString path = write(QStringLiteral("tsl projects/contact.project"));
    frmStart::is_shown = true;
    EXPECT_TRUE(start_wizard(QLatin1Char('"') + path + QLatin1Char('"')));
    EXPECT_EQ(globals::project_file, path);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(WizardFrame::instance().window(WizardPage::frmStep1)->isVisible());
}

TEST_F(Startup, IntroductionOncePerRunUntilTurnedOff)
{
    bool shown = false;
    on_next_modal([&](QWidget *intro) {
        shown = intro->objectName() == QLatin1String("frmStart");
        save_picture(intro, QStringLiteral("introduction.png"));
        intro->findChild<QCheckBox *>(QStringLiteral("chkhide"))->setChecked(true);
        click(intro, "cmdNext");
    });
    ASSERT_TRUE(start_wizard(QString()));
    settle(200);
    EXPECT_TRUE(shown);
    QFile ini(ini_variables::wizard_ini_path());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), " 1 \r\n");

    // Activated again in this run: read again, never shown again.
    ini_variables::hide_start = 0;
    QWidget *first = WizardFrame::instance().window(WizardPage::frmStep1);
    first->hide();
    first->show();
    first->activateWindow();
    settle(200);
    EXPECT_EQ(ini_variables::hide_start, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Startup, TurnedOffIntroductionStaysOff)
{
    ini_variables::hide_start = 1;
    ini_variables::write_wizard_ini();
    ini_variables::hide_start = 0;
    ASSERT_TRUE(start_wizard(QString()));
    settle(200);
    EXPECT_EQ(ini_variables::hide_start, 1);
    EXPECT_FALSE(frmStart::is_shown);
}

// The way through the pages for every choice of the four actions: forward
// from the field rules to the output page, and back the same way.
class PageOrderWalk : public ::testing::TestWithParam<int>
{
};

TEST_P(PageOrderWalk, NextAndBackVisitTheChosenActionsPages)
{
    const int actions = GetParam();
    Cprefrences prefs;
    prefs.is_email = actions & 1;
    prefs.is_autoresponde = actions & 2;
    prefs.is_csv = actions & 4;
    prefs.is_mysql = actions & 8;
    QList<WizardPage> expected { WizardPage::frmStep1, WizardPage::frmStep2 };
    if (prefs.is_email)
        expected << WizardPage::frmStep3;
    if (prefs.is_autoresponde)
        expected << WizardPage::frmStep4;
    if (prefs.is_csv)
        expected << WizardPage::frmstep5;
    if (prefs.is_mysql)
        expected << WizardPage::frmstep6a;
    expected << WizardPage::frmStep7;

    QList<WizardPage> forward { WizardPage::frmStep1 };
    while (forward.size() < 10 && next_page(forward.back(), prefs) != WizardPage::None)
        forward << next_page(forward.back(), prefs);
    EXPECT_EQ(forward, expected);

    QList<WizardPage> backward { WizardPage::frmStep7 };
    while (backward.size() < 10 && previous_page(backward.back(), prefs) != WizardPage::None)
        backward << previous_page(backward.back(), prefs);
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, expected);

    EXPECT_EQ(next_page(WizardPage::frmstep6b, prefs), WizardPage::frmStep7);
    EXPECT_EQ(previous_page(WizardPage::frmstep6b, prefs), WizardPage::frmstep6a);
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, PageOrderWalk, ::testing::Range(0, 16));

struct LayoutCase
{
    double text;
    int buttons;
    double outer_width;
    double outer_height;
    double label_width;
    QList<MessageLayout::Button> shown;
    double first_left;
};

class MessageBoxLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(MessageBoxLayout, SizesTheBoxToTheText)
{
    const LayoutCase &c = GetParam();
    const MessageLayout m = MessageLayout::compute(c.text, c.buttons);
    EXPECT_DOUBLE_EQ(m.outer_width, c.outer_width);
    EXPECT_DOUBLE_EQ(m.outer_height, c.outer_height);
    EXPECT_DOUBLE_EQ(m.label_width, c.label_width);
    EXPECT_EQ(m.shown, c.shown);
    if (!c.shown.isEmpty()) {
        EXPECT_DOUBLE_EQ(m.button_left[c.shown.front()], c.first_left);
    }
}

constexpr double kDesignedHeight = MessageLayout::kInnerHeight + MessageLayout::kFrameHeight;
using B = MessageLayout::Button;

INSTANTIATE_TEST_SUITE_P(EdgeCases, MessageBoxLayout,
    ::testing::Values(
        // A short text with Ok: the row's width decides; Ok is centred.
        LayoutCase { 1000, 1, 2780, kDesignedHeight, 1000, { B::Ok }, (2780 - 90 - 1230) / 2.0 },
        // One line up to exactly 7500; the text decides the width.
        LayoutCase { 6690, 3, 7590, kDesignedHeight, 6690, { B::Yes, B::No }, (7500 - 2460 - 200) / 2.0 },
        LayoutCase { 6691, 3, 7500, kDesignedHeight + 220, 6200, { B::Yes, B::No }, (7410 - 2460 - 200) / 2.0 },
        // Two lines up to exactly 13000, three beyond.
        LayoutCase {
            12190, 4, 7500, kDesignedHeight + 220, 6200, { B::Yes, B::No, B::Cancel }, (7410 - 3690 - 300) / 2.0 },
        LayoutCase { 12191, 2, 7500, kDesignedHeight + 550, 6200, { B::Ok, B::Cancel }, (7410 - 2460 - 200) / 2.0 },
        // The overwrite set always starts at its designed place.
        LayoutCase {
            500, 5, 8100, kDesignedHeight, 500, { B::SkipAll, B::OverWrite, B::OverwriteAll, B::Cancel }, 1920 },
        LayoutCase { 500, 9, 1400, kDesignedHeight, 500, {}, 0 }));

TEST_F(WizardTest, MessageBoxAnswersWithTheButtonPressed)
{
    MyMessage::set_responder({});
    on_next_modal([](QWidget *box) {
        EXPECT_TRUE(box->findChild<QWidget *>(QStringLiteral("cmdCancel"))->isVisible());
        EXPECT_FALSE(box->findChild<QWidget *>(QStringLiteral("CmdOk"))->isVisible());
        save_picture(box, QStringLiteral("message-box.png"));
        click(box, "CmdNo");
    });
    EXPECT_EQ(MyMessage::show_message(QStringLiteral("Do you want to save this project ?"), 4, 1), 2);

    on_next_modal([](QWidget *box) { box->close(); });
    EXPECT_EQ(MyMessage::show_message(QStringLiteral("Closed by its close box"), 3, 1), 0);

    on_next_modal([](QWidget *box) {
        EXPECT_EQ(box->width(), (2780 - MessageLayout::kFrameWidth) / 15);
        click(box, "CmdOk");
    });
    EXPECT_EQ(MyMessage::show_message(QStringLiteral("Short"), 1, 3), 4);

    on_next_modal([](QWidget *box) { click(box, "cmdOverwriteAll"); });
    EXPECT_EQ(MyMessage::show_message(QStringLiteral("Replace?"), 5, 2), 8);
}

TEST(CommonDialog, FilterAndValuesKeptOnCancel)
{
    CommonDialog::clear_script();
    EXPECT_EQ(CommonDialog::qt_filter(QStringLiteral("(*.html)|*.html;*.htm|(*.php)|*.php|All|*.*")),
        QStringLiteral("(*.html) (*.html *.htm);;(*.php) (*.php);;All (*.*)"));
    EXPECT_EQ(CommonDialog::qt_filter(QStringLiteral("(*.tsl)|*.tsl;*.tsl|All|*.*")),
        QStringLiteral("(*.tsl) (*.tsl);;All (*.*)"));

    CommonDialog dialog;
    CommonDialog::script(CommonDialog::Answer::cancelled());
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName(), QString());
    CommonDialog::script(CommonDialog::Answer::chosen_file(QStringLiteral("/tmp/a.html")));
    dialog.ShowOpen();
    CommonDialog::script(CommonDialog::Answer::cancelled());
    dialog.ShowSave();
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/tmp/a.html"));

    EXPECT_FALSE(dialog.Font().name.isEmpty()); // usable before any choice
    CommonDialog::script(CommonDialog::Answer::chosen_font(FontSpec { QStringLiteral("Courier"), 12, true }, 0x0000FF));
    dialog.ShowFont();
    CommonDialog::script(CommonDialog::Answer::cancelled());
    dialog.ShowFont();
    EXPECT_EQ(dialog.Font().name, QStringLiteral("Courier"));
    EXPECT_TRUE(dialog.Font().bold);
    EXPECT_EQ(dialog.Color(), 0x0000FF);
    CommonDialog::clear_script();
}

} // namespace

#include "shell_test.moc"

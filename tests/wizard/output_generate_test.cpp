// Generate: the checks before anything is written, the files of both result
// modes run with PHP, failures told and nothing half-written, and the task
// report with its saved log.
#include "OutputTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/GenerateAction.h"
#include "wizard/HTMLHelpViewer.h"
#include "wizard/WizardFrame.h"
#include "wizard/frmAction.h"
#include "wizard/frmStep7.h"
#include "wizard/gui_globals.h"

#include "generate/Html_converter.h"
#include "generate/db.h"
#include "generate/sql.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/ini_variables.h"
#include "model/webpage.h"
#include "mysql/connections.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QByteArray kTop = "<html><body>TOP|";
const QByteArray kBottom = "|BOTTOM</body></html>\n";

class Generate : public OutputTest
{
public:
    void reshow(bool embedded)
    {
        page->hide();
        globals::prefs()->is_embeded_result_page = embedded;
        page->show();
        settle();
    }

    // Ticks the header or footer box and gives it a file.
    void part(const char *check, const char *box, const QString &path)
    {
        click(page, check);
        control<QLineEdit>(box)->setText(path);
    }

    void result_pages()
    {
        reshow(false);
        control<QLineEdit>("txtSuccess")->setText(source(QStringLiteral("thanks.html"), "THANKS"));
        control<QLineEdit>("txtError")->setText(source(QStringLiteral("sorry.html"), "SORRY"));
    }

    QStringList folder_files() const
    {
        return QDir(php->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    static QString shown(const QLabel *label) { return label->text(); }

    // A folder typed into the chooser's path box.
    void type_destination(const QString &folder)
    {
        on_next_modal([folder](QWidget *chooser) {
            chooser->findChild<QLineEdit *>(QStringLiteral("txtpath"))->setText(folder);
            on_next_modal([](QWidget *input) { click(input, "CmdOk"); });
            click(chooser, "ok");
        });
        click(page, "Browse");
    }
};

TEST_F(Generate, EmbeddedResultBetweenHeaderAndFooter)
{
    choose_destination(php->folder(), QStringLiteral("index"));
    set_message(QStringLiteral("Thank you\nWe got it\nBye"));
    part("chkHeader", "txtHeader", source(QStringLiteral("top.html"), kTop));
    part("chkFooter", "txtFooter", source(QStringLiteral("bottom.html"), kBottom));
    ini_variables::hide_start = 1;
    const QString script = php->path(QStringLiteral("index.php"));

    generate([&](QWidget *report) {
        EXPECT_EQ(shown(report->findChild<QLabel *>(QStringLiteral("Labelmain"))),
            QStringLiteral("Tressel has successfully created script file:\n") + script
                + QStringLiteral("\nResult page is embedded in the result script\nHeader: top.html\nFooter: "
                                 "bottom.html\n"));
        EXPECT_EQ(shown(report->findChild<QLabel *>(QStringLiteral("Labelcausion"))),
            QStringLiteral("Please remember to change the action attribute in the form tag to 'index.php'"));
        EXPECT_EQ(shown(report->findChild<QLabel *>(QStringLiteral("lblHelp"))),
            QStringLiteral("For more information click here"));
        save_picture(report, QStringLiteral("task-report.png"));
    });
    EXPECT_TRUE(messages().isEmpty()) << last_message().toStdString();
    EXPECT_EQ(caption("cmdNext"), QStringLiteral("Save Project"));
    EXPECT_EQ(caption("cmdCancel"), QStringLiteral("Close"));

    const Cprefrences &prefs = *globals::prefs();
    EXPECT_EQ(prefs.header_img, QStringLiteral("top.html"));
    EXPECT_EQ(prefs.header_path, sources.filePath(QStringLiteral("top.html")));
    EXPECT_EQ(prefs.success_message,
        Html_converter::text_to_html(
            QStringLiteral("Thank you<br>We got it<br>Bye"), CommonDialog().Font(), CommonDialog().Color()));
    EXPECT_EQ(folder_files(),
        (QStringList { QStringLiteral("bottom.html"), QStringLiteral("index.php"), QStringLiteral("top.html") }));
    EXPECT_EQ(read(ini_variables::wizard_ini_path()), QByteArray(" 1 \r\n"));

    const PhpResponse done = php->run(QStringLiteral("index.php"), PhpRequest().add("name", "Ann"));
    EXPECT_EQ(done.errors, QByteArray());
    EXPECT_EQ(done.body, kTop + prefs.success_message.toUtf8() + kBottom);
    const PhpResponse refused = php->run(QStringLiteral("index.php"), PhpRequest().add("name", ""));
    EXPECT_EQ(refused.body, kTop + "<p class=\"error\">bad name</p>");
}

TEST_F(Generate, RedirectToCopiedResultPages)
{
    result_pages();
    choose_destination(php->folder());
    set_message(QStringLiteral("One\nTwo\nThree"));
    generate([&](QWidget *report) {
        EXPECT_EQ(shown(report->findChild<QLabel *>(QStringLiteral("Labelmain"))),
            QStringLiteral("Tressel has successfully created script file:\n") + globals::prefs()->php_des
                + QStringLiteral("\nResult page isn't embedded in the result script\nSuccess page: "
                                 "thanks.html\nError page: sorry.html\n"));
    });
    const Cprefrences &prefs = *globals::prefs();
    EXPECT_EQ(prefs.success_page, QStringLiteral("thanks.html"));
    EXPECT_EQ(prefs.error_path, sources.filePath(QStringLiteral("sorry.html")));
    // Stored though the script does not use it.
    EXPECT_EQ(prefs.success_message.count(QStringLiteral("<br>")), 2);
    EXPECT_TRUE(prefs.success_message.startsWith(QStringLiteral("<p align='center'>")));
    EXPECT_EQ(read(php->path(QStringLiteral("thanks.html"))), QByteArray("THANKS"));
    EXPECT_EQ(read(php->path(QStringLiteral("sorry.html"))), QByteArray("SORRY"));

    EXPECT_EQ(php->run(QStringLiteral("index.php"), PhpRequest().add("name", "Ann")).location(), "thanks.html");
    EXPECT_EQ(php->run(QStringLiteral("index.php"), PhpRequest().add("name", "")).location(), "sorry.html");
}

TEST_F(Generate, HeaderAndFooterAreCopiedInEitherMode)
{
    result_pages();
    part("chkHeader", "txtHeader", source(QStringLiteral("top.html"), kTop));
    choose_destination(php->folder());
    generate();
    EXPECT_EQ(read(php->path(QStringLiteral("top.html"))), kTop);
    EXPECT_FALSE(read(php->path(QStringLiteral("index.php"))).contains("include("));
}

TEST(GenerateBaseName, EitherSeparatorEndsTheFolders)
{
    EXPECT_EQ(GenerateAction::base_name(QStringLiteral("C:\\site\\parts/top.html")), QStringLiteral("top.html"));
    EXPECT_EQ(GenerateAction::base_name(QStringLiteral("C:\\site\\top.html")), QStringLiteral("top.html"));
    EXPECT_EQ(GenerateAction::base_name(QStringLiteral("/srv/www/top.html")), QStringLiteral("top.html"));
    EXPECT_EQ(GenerateAction::base_name(QStringLiteral("top.html")), QStringLiteral("top.html"));
}

struct StopCase
{
    const char *label;
    std::function<void(Generate &)> arrange;
    QList<int> answers;
    QString message;
    int icon;
};

class Stops : public Generate, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(Stops, NothingIsWritten)
{
    const StopCase &stop = GetParam();
    stop.arrange(*this);
    for (const int code : stop.answers)
        answer(code);
    generate_stopped();
    EXPECT_EQ(messages(), QStringList { stop.message });
    EXPECT_EQ(m_icons.value(0), stop.icon);
    EXPECT_EQ(folder_files(), QStringList());
    EXPECT_FALSE(QFileInfo::exists(ini_variables::wizard_ini_path()));
    EXPECT_EQ(caption("cmdNext"), QStringLiteral("Generate"));
    EXPECT_EQ(caption("cmdCancel"), QStringLiteral("Cancel"));
}

INSTANTIATE_TEST_SUITE_P(Generate, Stops,
    ::testing::Values(StopCase { "no_destination", [](Generate &t) { t.set_message(QStringLiteral("hi")); }, {},
                          QStringLiteral("Please specify a destination file"), 3 },
        StopCase { "no_message", [](Generate &t) { t.choose_destination(t.php->folder()); }, {},
            QStringLiteral("Success Message is empty"), 3 },
        StopCase { "no_success_page",
            [](Generate &t) {
                t.choose_destination(t.php->folder());
                t.result_pages();
                t.control<QLineEdit>("txtSuccess")->clear();
            },
            {}, QStringLiteral("Success page can't be empty"), 3 },
        StopCase { "no_error_page",
            [](Generate &t) {
                t.choose_destination(t.php->folder());
                t.result_pages();
                t.control<QLineEdit>("txtError")->clear();
            },
            {}, QStringLiteral("Error page can't be empty"), 3 },
        StopCase { "header_to_be_filled_in",
            [](Generate &t) {
                t.choose_destination(t.php->folder());
                t.set_message(QStringLiteral("hi"));
                t.part("chkHeader", "txtHeader", QString());
            },
            { 1 }, QStringLiteral("Header file is empty, Do you want to insert a header file in the result script?"),
            3 },
        StopCase { "footer_question_closed",
            [](Generate &t) {
                t.choose_destination(t.php->folder());
                t.set_message(QStringLiteral("hi"));
                t.part("chkFooter", "txtFooter", QString());
            },
            { 0 }, QStringLiteral("footer file is empty, Do you want to insert a footer file in the result script?"),
            3 }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(Generate, ErrorPageCheckComesAfterTheSuccessPageIsStored)
{
    result_pages();
    control<QLineEdit>("txtError")->clear();
    choose_destination(php->folder());
    generate_stopped();
    EXPECT_EQ(globals::prefs()->success_page, QStringLiteral("thanks.html"));
    EXPECT_FALSE(QFileInfo::exists(php->path(QStringLiteral("thanks.html"))));
}

TEST_F(Generate, MessageIsFocusedWhenEmpty)
{
    choose_destination(php->folder());
    generate_stopped();
    EXPECT_EQ(page->focusWidget(), control<QPlainTextEdit>("main"));
}

TEST_F(Generate, EmptyHeaderLeftOutWhenTheUserSaysNo)
{
    choose_destination(php->folder());
    set_message(QStringLiteral("hi"));
    part("chkHeader", "txtHeader", QString());
    answer(2);
    generate([](QWidget *report) {
        EXPECT_FALSE(
            report->findChild<QLabel *>(QStringLiteral("Labelmain"))->text().contains(QStringLiteral("Header")));
    });
    EXPECT_FALSE(globals::prefs()->is_header);
    EXPECT_TRUE(control<QCheckBox>("chkHeader")->isChecked());
    EXPECT_FALSE(read(php->path(QStringLiteral("index.php"))).contains("include("));
}

// A destination that cannot take the script, as real for root as for anyone.
class Unwritable : public Generate, public ::testing::WithParamInterface<std::pair<const char *, QString>>
{
};

TEST_P(Unwritable, FailureIsToldAndNoReportShown)
{
    const auto [how, reason] = GetParam();
    set_message(QStringLiteral("hi"));
    if (QByteArray(how) == "parent_is_a_file") {
        write(php->path(QStringLiteral("plain")), "x");
        type_destination(php->path(QStringLiteral("plain/site")));
        EXPECT_EQ(globals::prefs()->php_des, php->path(QStringLiteral("plain/site/index.php")));
    } else {
        ASSERT_TRUE(QDir(php->folder()).mkdir(QStringLiteral("site")));
        choose_destination(php->path(QStringLiteral("site")));
        ASSERT_TRUE(QDir(php->path(QStringLiteral("site"))).removeRecursively());
    }
    generate_stopped();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(last_message(),
        QStringLiteral("The script was not generated: ") + globals::prefs()->php_des
            + QStringLiteral(" cannot be written (") + reason + QLatin1Char(')'));
    EXPECT_EQ(m_buttons.back(), 1);
    EXPECT_EQ(m_icons.back(), 2);
    EXPECT_EQ(caption("cmdNext"), QStringLiteral("Generate"));
    EXPECT_EQ(caption("cmdCancel"), QStringLiteral("Cancel"));
}

INSTANTIATE_TEST_SUITE_P(Generate, Unwritable,
    ::testing::Values(std::pair { "parent_is_a_file", QStringLiteral("Not a directory") },
        std::pair { "folder_removed", QStringLiteral("No such file or directory") }),
    [](const auto &info) { return std::string(info.param.first); });

struct FailureCase
{
    const char *label;
    std::function<void(Generate &)> arrange;
    QString failing; // the file named
    QString reason;
    QStringList left; // what the folder holds afterwards
};

class OldScript : public Generate, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(OldScript, KeptWhenTheGenerationFails)
{
    const FailureCase &failure = GetParam();
    const QString script = php->path(QStringLiteral("index.php"));
    write(script, "<?php echo 'old'; ?>");
    answer(1); // overwrite it
    choose_destination(php->folder());
    set_message(QStringLiteral("hi"));
    failure.arrange(*this);
    generate_stopped();
    const QString named = failure.failing.startsWith(QLatin1Char('/')) ? failure.failing : php->path(failure.failing);
    EXPECT_EQ(
        last_message(), QStringLiteral("The script was not generated: ") + named + QLatin1Char(' ') + failure.reason);
    EXPECT_EQ(read(script), QByteArray("<?php echo 'old'; ?>"));
    EXPECT_EQ(folder_files(), failure.left); // no temporary file left behind either
}

INSTANTIATE_TEST_SUITE_P(Generate, OldScript,
    ::testing::Values(
        FailureCase { "header_missing",
            [](Generate &t) { t.part("chkHeader", "txtHeader", t.php->path(QStringLiteral("none/top.html"))); },
            QStringLiteral("none/top.html"), QStringLiteral("cannot be read (No such file or directory)"),
            { QStringLiteral("index.php") } },
        FailureCase { "settings_file_is_a_folder",
            [](Generate &t) {
                globals::prefs()->is_create_tble = true;
                QDir(t.php->folder()).mkdir(QStringLiteral("lib.php"));
            },
            QStringLiteral("lib.php"), QStringLiteral("cannot be written (Filename refers to a directory)"),
            { QStringLiteral("index.php"), QStringLiteral("lib.php") } }),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(Generate, BannedAddressesAreWrittenAndRefused)
{
    for (const char *address : { "203.0.113.7", "203.0.113.7", "198.51.100.1" })
        globals::web_page()->blocked_ips()->Add(QString::fromLatin1(address));
    choose_destination(php->folder());
    set_message(QStringLiteral("welcome"));
    generate();
    EXPECT_EQ(read(php->path(QStringLiteral("blockedIPs.txt"))),
        QByteArray("203.0.113.7\r\n203.0.113.7\r\n198.51.100.1\r\n"));

    PhpRequest banned;
    banned.add("name", "Ann");
    EXPECT_EQ(php->run(QStringLiteral("index.php"), banned).body, QByteArray("Sorry your IP is banned!"));
    banned.remote_addr = "192.0.2.1";
    EXPECT_TRUE(php->run(QStringLiteral("index.php"), banned).body.contains("welcome"));
}

TEST_F(Generate, WithoutBannedAddressesAnOldListStays)
{
    write(php->path(QStringLiteral("blockedIPs.txt")), "keep\r\n");
    choose_destination(php->folder());
    set_message(QStringLiteral("welcome"));
    generate();
    EXPECT_EQ(read(php->path(QStringLiteral("blockedIPs.txt"))), QByteArray("keep\r\n"));
    EXPECT_FALSE(read(php->path(QStringLiteral("index.php"))).contains("blockedIPs"));
}

TEST_F(Generate, SettingsFileCarriesTheConnection)
{
    connections &profile = *globals::mysql_connections();
    profile.set_host(QStringLiteral("db.example.org"));
    profile.set_port(QStringLiteral("3307"));
    profile.set_user(QStringLiteral("web"));
    profile.set_password(QStringLiteral("secret"));
    globals::mysql_db()->dbname = QStringLiteral("shop");
    globals::sql_script()->mysql_table = QStringLiteral("entries");
    globals::sql_script()->primary_key = QStringLiteral("name");
    Field &name = *form->form->fields()->Item(1);
    name.mysql_field = QStringLiteral("name");
    name.sql_type = QStringLiteral("varchar");
    name.sql_length = QStringLiteral("(50)");
    globals::prefs()->is_create_tble = true;

    choose_destination(php->folder());
    set_message(QStringLiteral("hi"));
    generate();
    EXPECT_EQ(read(php->path(QStringLiteral("lib.php"))),
        QByteArray("<?php\r\n$host = \"db.example.org:3307\";\r\n$username = \"web\";\r\n$password = \"secret\";\r\n"
                   "$db = \"shop\";\r\n$table =\"entries\";\r\n\r\n?>\r\n"));
    const QByteArray setup = read(php->path(QStringLiteral("setup.php")));
    EXPECT_TRUE(setup.startsWith("<?php\r\ninclude(\"lib.php\");\r\n"));
    EXPECT_TRUE(setup.contains("CREATE TABLE IF NOT EXISTS`entries` (`name` varchar (50) ,PRIMARY KEY(`name`))"));
    EXPECT_TRUE(setup.endsWith("\r\n\r\n?>\r\n"));
    const PhpResponse parsed = php->run_cli(QStringLiteral("lib.php"));
    EXPECT_EQ(parsed.errors + parsed.body, QByteArray());
}

TEST_F(Generate, WizardIniThatCannotBeWrittenDoesNotStopTheGeneration)
{
    write(sources.filePath(QStringLiteral("config")), "not a folder");
    qputenv("XDG_CONFIG_HOME", sources.filePath(QStringLiteral("config")).toLocal8Bit());
    choose_destination(php->folder());
    set_message(QStringLiteral("hi"));
    generate();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(last_message().startsWith(ini_variables::wizard_ini_path() + QStringLiteral(" cannot be written (")));
    EXPECT_TRUE(QFileInfo::exists(php->path(QStringLiteral("index.php"))));
}

class AfterGeneration : public Generate
{
protected:
    void SetUp() override
    {
        Generate::SetUp();
        choose_destination(php->folder());
        set_message(QStringLiteral("hi"));
        generate();
        WizardFrame::instance().set_save_project([this] {
            ++saves;
            globals::project_saved = save_succeeds;
        });
    }

    void TearDown() override
    {
        WizardFrame::instance().set_save_project({});
        Generate::TearDown();
    }

    int saves = 0;
    bool save_succeeds = true;
};

TEST_F(AfterGeneration, SaveProjectOnlySaves)
{
    ASSERT_TRUE(QFile::remove(php->path(QStringLiteral("index.php"))));
    generate_stopped();
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(QFileInfo::exists(php->path(QStringLiteral("index.php"))));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(AfterGeneration, CloseUnsavedAndNoEnds)
{
    answer(2);
    click(page, "cmdCancel");
    EXPECT_EQ(messages(), QStringList { QStringLiteral("Do you want to save this project ?") });
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(program_ended());
}

TEST_F(AfterGeneration, CloseSavesThenEnds)
{
    answer(1);
    click(page, "cmdCancel");
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(program_ended());
    EXPECT_TRUE(page->isVisible());
    page->close(); // the close box: saved now, so no question
    EXPECT_EQ(messages().size(), 1);
    EXPECT_TRUE(program_ended());
}

TEST_F(AfterGeneration, FailedSaveAsksAgain)
{
    save_succeeds = false;
    answer(0); // box closed: saves all the same
    click(page, "cmdCancel");
    answer(2);
    click(page, "cmdCancel");
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(messages().size(), 2);
    EXPECT_TRUE(program_ended());
}

TEST_F(AfterGeneration, BackRestoresOnlyGenerate)
{
    click(page, "cmdBack");
    EXPECT_FALSE(page->isVisible());
    EXPECT_EQ(caption("cmdNext"), QStringLiteral("Generate"));
    EXPECT_EQ(caption("cmdCancel"), QStringLiteral("Close"));
    page->show();
    answer(2);
    click(page, "cmdCancel"); // still Close
    EXPECT_EQ(last_message(), QStringLiteral("Do you want to save this project ?"));
    EXPECT_TRUE(program_ended());
}

struct SummaryCase
{
    const char *label;
    bool embedded;
    bool header;
    bool footer;
    QString lines;
};

class ReportSummary : public ::testing::TestWithParam<SummaryCase>
{
};

TEST_P(ReportSummary, ListsWhatTheModeUses)
{
    const SummaryCase &c = GetParam();
    Cprefrences prefs;
    prefs.php_des = QStringLiteral("/srv/www/index.php");
    prefs.is_embeded_result_page = c.embedded;
    prefs.is_header = c.header;
    prefs.is_footer = c.footer;
    prefs.header_img = QStringLiteral("top.html");
    prefs.footer_img = QStringLiteral("bottom.html");
    prefs.success_page = QStringLiteral("thanks.html");
    prefs.error_page = QStringLiteral("sorry.html");
    EXPECT_EQ(frmAction::main_text(prefs),
        QStringLiteral("Tressel has successfully created script file:\r\n/srv/www/index.php\r\n") + c.lines);
}

INSTANTIATE_TEST_SUITE_P(TaskReport, ReportSummary,
    ::testing::Values(SummaryCase { "header_only", true, true, false,
                          QStringLiteral("Result page is embedded in the result script\r\nHeader: top.html\r\n") },
        SummaryCase { "not_embedded", false, true, true,
            QStringLiteral("Result page isn't embedded in the result script\r\nSuccess page: thanks.html\r\nError "
                           "page: sorry.html\r\n") }),
    [](const auto &info) { return std::string(info.param.label); });

class Report : public WizardTest
{
protected:
    void SetUp() override
    {
        WizardTest::SetUp();
        Cprefrences &prefs = *globals::prefs();
        prefs.php_des = QStringLiteral("/srv/caf\u00e9/index.php");
        prefs.script_name = QStringLiteral("index.php");
        prefs.is_email = true;
        prefs.is_mysql = true;
        prefs.is_embeded_result_page = false;
        prefs.success_page = QStringLiteral("thanks.html");
        prefs.error_page = QStringLiteral("sorry.html");
        report = std::make_unique<frmAction>();
        report->show();
    }

    void TearDown() override
    {
        report.reset();
        WizardTest::TearDown();
    }

    QString log(const QString &name) const { return folder.filePath(name); }

    void save_to(const QString &path)
    {
        CommonDialog::script(CommonDialog::Answer::chosen_file(path));
        click(report.get(), "cmdsave");
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    static void write_file(const QString &path, const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir folder;
    std::unique_ptr<frmAction> report;
};

const QByteArray kReport = "***********************************\r\n"
                           "Tressel, Task Report\r\n"
                           "***********************************\r\n"
                           "Tressel has successfully created script file: \r\n"
                           "/srv/caf\xC3\xA9/index.php\r\n"
                           "\r\n"
                           "With the following options:-\r\n"
                           "\r\n"
                           "Send email to form owner  : True\r\n"
                           "Send auto respond email to user  : False\r\n"
                           "Save fields values in a text file   : False\r\n"
                           "Save Fields Values in a MySQL table  : True\r\n"
                           "Embed result page to script : False\r\n"
                           "Header  : \r\n"
                           "Footer  : \r\n"
                           "succss page  : thanks.html\r\n"
                           "Error Page  : sorry.html\r\n"
                           "Please remember to change the action attribute in the form tag to:index.php\r\n"
                           "***********************************\r\n"
                           "\r\n";

TEST_F(Report, SavedLogListsEveryOption)
{
    save_to(log(QStringLiteral("task.log")));
    EXPECT_EQ(read(log(QStringLiteral("task.log"))), kReport);
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Save);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(Report, CancelledSaveWritesOnlyToAnEarlierChoice)
{
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(report.get(), "cmdsave");
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    save_to(log(QStringLiteral("task.log")));
    write_file(log(QStringLiteral("task.log")), "changed");
    CommonDialog::script(CommonDialog::Answer::cancelled());
    click(report.get(), "cmdsave");
    EXPECT_EQ(read(log(QStringLiteral("task.log"))), kReport);
}

TEST_F(Report, UnwritablePlaceIsTold)
{
    write_file(log(QStringLiteral("plain")), "x");
    save_to(log(QStringLiteral("plain/task.log")));
    EXPECT_EQ(last_message(),
        QStringLiteral("The report ") + log(QStringLiteral("plain/task.log"))
            + QStringLiteral(" cannot be written (Not a directory)"));
}

TEST_F(Report, SavingOverAnEarlierReportAsksFirst)
{
    const QString path = log(QStringLiteral("task.log"));
    write_file(path, "earlier");
    bool asked = false;
    on_next_modal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->nameFilters(), QStringList { QStringLiteral("Log Files (*.log)") });
        // Typed, as selectFile() leaves a focused name box alone.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        ASSERT_TRUE(name);
        name->setText(path);
        on_next_modal([&](QWidget *question) {
            auto *box = qobject_cast<QMessageBox *>(question);
            ASSERT_TRUE(box);
            asked = true;
            box->button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog *>(dialog)->accept();
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the save dialog did not take the name";
            dialog->close();
        }
    });
    click(report.get(), "cmdsave");
    EXPECT_TRUE(asked);
    EXPECT_EQ(read(path), kReport);
}

TEST_F(Report, OkAndTheHelpLink)
{
    click(report.get(), "lblHelp");
    ASSERT_TRUE(globals::help_viewer()->window());
    EXPECT_TRUE(globals::help_viewer()->window()->isVisible());
    globals::help_viewer()->Unload();
    click(report.get(), "cmdOK");
    EXPECT_FALSE(report->isVisible());
}

} // namespace

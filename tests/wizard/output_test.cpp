// The output page, its dialogs (folder chooser, input box, banned-address
// list), Generate in both result modes run with PHP, and the task report.
#include "OutputTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/frmAction.h"
#include "wizard/frmFolder.h"
#include "wizard/frmInput.h"

#include "generate/Html_converter.h"
#include "model/Cprefrences.h"
#include "model/ini_variables.h"
#include "model/webpage.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

const QByteArray kTop = "<html><body>TOP|";
const QByteArray kBottom = "|BOTTOM</body></html>\n";
const QByteArray kOldScript = "<?php echo 'old'; ?>";

TEST_F(OutputTest, EachResultModeShowsItsOwnControls)
{
    for (const bool embedded : { false, true }) {
        reshow(embedded);
        for (const char *name : { "main", "format", "chkHeader", "txtHeader", "chkFooter", "txtFooter" })
            EXPECT_EQ(control<QWidget>(name)->isVisible(), embedded) << name;
        EXPECT_EQ(control<QFrame>("result_pages")->isVisible(), !embedded);
    }
    EXPECT_EQ(caption("cmdNext"), QStringLiteral("Generate"));
    save_picture(page, QStringLiteral("output-page-embedded.png"));
}

TEST(OutputNames, ScriptNamesAreCompletedAndPathsRefused)
{
    for (const auto &[typed, script] : { std::pair { "index.php", "index.php" }, std::pair { "contact", "contact.php" },
             std::pair { "contact.PHP", "contact.PHP.php" }, std::pair { "form.php.bak", "form.php.bak" } })
        EXPECT_EQ(frmFolder::script_file_name(QString::fromLatin1(typed)), QString::fromLatin1(script));
    for (const auto &[name, valid] : { std::pair { "", false }, std::pair { "a\\b", false },
             std::pair { "site/form", false }, std::pair { "my form #2", true } })
        EXPECT_EQ(frmInput::valid_name(QString::fromLatin1(name)), valid) << name;
}

TEST_F(OutputTest, ChooserOffersANameAndAsksBeforeOverwriting)
{
    on_next_modal([](QWidget *chooser) {
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Select output folder"));
        on_next_modal([](QWidget *input) {
            EXPECT_EQ(find<QLineEdit>(input, "Text1")->selectedText(), QStringLiteral("index.php"));
            QTest::keyClick(find<QLineEdit>(input, "Text1"), Qt::Key_Return); // Enter is Ok
        });
        find<DirListBox>(chooser, "folder")->set_Path(QDir::rootPath());
        click(chooser, "ok");
    });
    click(page, "Browse");
    EXPECT_EQ(globals::prefs()->des_folder, QStringLiteral("/"));
    EXPECT_EQ(globals::prefs()->php_des, QStringLiteral("/index.php"));

    // A name with a path in it, "\" separated as on other systems, is refused.
    on_next_modal([](QWidget *chooser) {
        on_next_modal([](QWidget *input) {
            find<QLineEdit>(input, "Text1")->setText(QStringLiteral("forms\\contact.php"));
            click(input, "CmdOk");
            EXPECT_TRUE(input->isVisible());
            QTest::keyClick(find<QLineEdit>(input, "Text1"), Qt::Key_Escape); // Escape is Cancel
        });
        click(chooser, "ok");
        EXPECT_TRUE(chooser->isVisible()); // no name: the chooser stays
        chooser->close();
    });
    click(page, "Browse");
    EXPECT_EQ(messages(), QStringList { "please enter a valid name" });
    EXPECT_EQ(globals::prefs()->script_name, QStringLiteral("index.php"));

    const QString script = php.path(QStringLiteral("index.php"));
    write_file(script, kOldScript);
    answer(2);
    choose_destination(php.folder(), QStringLiteral("index"), [](QWidget *chooser) {
        EXPECT_TRUE(chooser->isVisible()); // No keeps the chooser open
        save_picture(chooser, QStringLiteral("folder-chooser.png"));
        click(chooser, "cancel"); // closes without a word
    });
    EXPECT_EQ(messages().mid(1), (QStringList { "index.php  already exists, do you want to overwrite it?" }));
    EXPECT_EQ(m_buttons.at(1), 3);
    answer(1);
    choose_destination(php.folder(), QStringLiteral("index"));
    EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), script);
    EXPECT_EQ(read_file(script), kOldScript); // replaced only by a generation
}

// Only what the script can match is listed, written as a server reports a
// visitor's address; Enter in the box adds, Escape closes keeping the list.
TEST_F(OutputTest, BannedAddressesListedWrittenAndRefused)
{
    globals::web_page()->blocked_ips()->Add(QStringLiteral("203.0.113.7"));
    on_next_modal([](QWidget *dialog) {
        auto *list = find<QListWidget>(dialog, "lstIps");
        EXPECT_EQ(list->count(), 1); // listed from the collection
        auto *box = find<QLineEdit>(dialog, "txtIP");
        for (const char *address : { "10", "1.2", "abc.def", "198.51.100.0/24", "192.0.2.010", "fe80::1%eth0",
                 " 192.0.2.1 ", "2001:DB8:0:0:0:0:0:0001", "::ffff:192.0.2.77" }) {
            box->setText(QString::fromLatin1(address));
            box->setFocus();
            press(Qt::Key_Return);
        }
        box->setText(QStringLiteral("192.0.2.1"));
        click(dialog, "cmdAdd");
        save_picture(dialog, QStringLiteral("banned-addresses.png"));
        click(dialog, "cmdRemove"); // nothing chosen: nothing removed
        list->setCurrentRow(3);
        click(dialog, "cmdRemove");
        EXPECT_TRUE(dialog->isVisible());
        press(Qt::Key_Escape);
    });
    click(page, "cmdIP");
    EXPECT_EQ(messages(),
        QStringList(6, QStringLiteral("Please enter a valid IP address"))
            << QStringLiteral("This IP address is already in the list"));
    EXPECT_EQ(texts(*globals::web_page()->blocked_ips()), (QStringList { "203.0.113.7", "192.0.2.1", "2001:db8::1" }));

    // Written as the script reads it (whom it bans has its own tests).
    choose_destination(php.folder());
    set_message(QStringLiteral("welcome"));
    generate();
    EXPECT_EQ(read_file(php.path(QStringLiteral("blockedIPs.txt"))),
        QByteArray("203.0.113.7\r\n192.0.2.1\r\n2001:db8::1\r\n"));
}

// Enter on a focused Add adds once, as Space does, though Add puts the focus
// back in the box; it presses nothing else, so the dialog stays open.
TEST_F(OutputTest, EnterOnAFocusedAddAddsOnce)
{
    on_next_modal([this](QWidget *dialog) {
        const std::tuple<Qt::Key, const char *, int, const char *> rows[] = {
            // key on Add, address typed, entries listed, message shown
            { Qt::Key_Space, "10.7.7.6", 1, nullptr }, // as before
            { Qt::Key_Return, "10.7.7.7", 2, nullptr }, // Add puts the focus back in the box
            { Qt::Key_Enter, "10.7.7.8", 3, nullptr },
            { Qt::Key_Return, "10", 3, "Please enter a valid IP address" }, // the focus stays on Add
        };
        for (const auto &[key, typed, listed, told] : rows) {
            SCOPED_TRACE(typed);
            const qsizetype before = messages().size();
            find<QLineEdit>(dialog, "txtIP")->setText(QString::fromLatin1(typed));
            press(Qt::Key_Tab);
            ASSERT_EQ(dialog->focusWidget()->objectName(), QStringLiteral("cmdAdd"));
            press(key);
            EXPECT_EQ(find<QListWidget>(dialog, "lstIps")->count(), listed);
            EXPECT_EQ(messages().mid(before), told ? QStringList { told } : QStringList());
            EXPECT_TRUE(dialog->isVisible()); // Ok was not pressed
            find<QLineEdit>(dialog, "txtIP")->setFocus();
        }
        press(Qt::Key_Escape);
    });
    click(page, "cmdIP");
    EXPECT_EQ(texts(*globals::web_page()->blocked_ips()), (QStringList { "10.7.7.6", "10.7.7.7", "10.7.7.8" }));
}

TEST_F(OutputTest, EmbeddedResultBetweenHeaderAndFooter)
{
    choose_destination(php.folder(), QStringLiteral("index"));
    set_message(QStringLiteral("Thank you\nWe got it\nBye"));
    part("chkHeader", "txtHeader", source(QStringLiteral("top.html"), kTop));
    part("chkFooter", "txtFooter", source(QStringLiteral("bottom.html"), kBottom));
    EXPECT_TRUE(control<QWidget>("txtFooter")->isEnabled() && control<QWidget>("browsefooter")->isEnabled());
    ini_variables::hide_start = 1;
    generate([this](QWidget *report) {
        EXPECT_EQ(find<QLabel>(report, "Labelmain")->text(),
            QStringLiteral("Tressel has successfully created script file:\n") + php.path(QStringLiteral("index.php"))
                + QStringLiteral("\nResult page is embedded in the result script\nHeader: top.html\nFooter: "
                                 "bottom.html\n"));
        EXPECT_EQ(find<QLabel>(report, "Labelcausion")->text(),
            QStringLiteral("Please remember to change the action attribute in the form tag to 'index.php'"));
        save_picture(report, QStringLiteral("task-report.png"));
    });
    EXPECT_TRUE(messages().isEmpty()) << last_message().toStdString();
    const Cprefrences &prefs = *globals::prefs();
    EXPECT_EQ(prefs.success_message,
        Html_converter::text_to_html(
            QStringLiteral("Thank you<br>We got it<br>Bye"), CommonDialog().Font(), CommonDialog().Color()));
    EXPECT_EQ(folder_files(), (QStringList { "bottom.html", "index.php", "top.html" }));
    EXPECT_EQ(read_file(ini_variables::wizard_ini_path()), QByteArray(" 1 \r\n"));
    const PhpResponse done = php.run(QStringLiteral("index.php"), PhpRequest().add("name", "Ann"));
    EXPECT_EQ(done.errors, QByteArray());
    EXPECT_EQ(done.body, kTop + prefs.success_message.toUtf8() + kBottom);

    // From now on Next saves the project only, and Close asks to save it;
    // Back restores Generate.
    EXPECT_EQ(caption("cmdNext") + caption("cmdCancel"), QStringLiteral("Save ProjectClose"));
    const QString project = php.path(QStringLiteral("contact.tsl"));
    CommonDialog::script(CommonDialog::Answer::cancelled());
    ASSERT_TRUE(QFile::remove(php.path(QStringLiteral("index.php"))));
    generate_stopped();
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Save);
    EXPECT_EQ(folder_files(), (QStringList { "bottom.html", "top.html" }));
    click(page, "cmdBack");
    EXPECT_EQ(caption("cmdNext") + caption("cmdCancel"), QStringLiteral("GenerateClose"));
    page->show();
    CommonDialog::script(CommonDialog::Answer::chosen_file(project));
    answer(0); // the question closed: nothing saved, nothing ended
    click(page, "cmdCancel");
    EXPECT_FALSE(QFileInfo::exists(project) || program_ended());
    answer(1);
    click(page, "cmdCancel");
    EXPECT_TRUE(QFileInfo::exists(project));
    EXPECT_FALSE(program_ended());
    page->close(); // saved now: the close box ends without a question
    EXPECT_EQ(messages(), QStringList(2, "Do you want to save this project ?"));
    EXPECT_TRUE(program_ended());
}

// OK in the font dialog keeps a family this machine lacks, and its box shows
// that family's name (the list has what stands in for it); a family picked
// replaces it.
TEST_F(OutputTest, FontDialogKeepsTheFamilyUnlessAnotherIsPicked)
{
    page->set_message_font(FontSpec { "Arial", 12 }, 0); // as a reopened project has it
    const auto format = [this](const char *shown, const char *picked) {
        on_next_modal([shown, picked](QWidget *dialog) {
            auto *family = find<QFontComboBox>(dialog, "family");
            EXPECT_EQ(family->currentText(), QString::fromLatin1(shown));
            if (*picked)
                family->setCurrentFont(QFont(picked));
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        click(page, "format");
    };
    format("Arial", "");
    choose_destination(php.folder());
    set_message(QStringLiteral("Thanks"));
    generate();
    EXPECT_TRUE(globals::prefs()->success_message.contains("face='Arial'"))
        << globals::prefs()->success_message.toStdString();
    format("Arial", "DejaVu Serif");
    EXPECT_EQ(page->message_font().name, "DejaVu Serif");
    format("DejaVu Serif", ""); // a family this machine has shows as it did
    EXPECT_EQ(page->message_font().name, "DejaVu Serif");

    // The family standing in, picked from the list, is taken.
    page->set_message_font(FontSpec { "Arial", 12 }, 0);
    QString listed;
    on_next_modal([&listed](QWidget *dialog) {
        auto *family = find<QFontComboBox>(dialog, "family");
        listed = family->itemText(family->currentIndex());
        family->showPopup();
        QTest::keyClick(family->view(), Qt::Key_Return);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    click(page, "format");
    EXPECT_NE(listed, QStringLiteral("Arial"));
    EXPECT_EQ(page->message_font().name, listed);
}

// A ticked header or footer without a file: No leaves it out and generates.
TEST_F(OutputTest, EmptyHeaderAndFooterLeftOutOnNo)
{
    choose_destination(php.folder());
    set_message(QStringLiteral("Thanks"));
    part("chkHeader", "txtHeader", QString());
    part("chkFooter", "txtFooter", QString());
    answer(2);
    answer(2);
    generate();
    EXPECT_EQ(messages(),
        (QStringList { "Header file is empty, Do you want to insert a header file in the result script?",
            "footer file is empty, Do you want to insert a footer file in the result script?" }));
    EXPECT_FALSE(globals::prefs()->is_header || globals::prefs()->is_footer);
    EXPECT_EQ(folder_files(), QStringList { "index.php" });
    EXPECT_EQ(php.run(QStringLiteral("index.php"), PhpRequest().add("name", "Ann")).body,
        globals::prefs()->success_message.toUtf8());
}

TEST_F(OutputTest, RedirectToCopiedResultPagesWithAHeader)
{
    result_pages();
    part("chkHeader", "txtHeader", source(QStringLiteral("top.html"), kTop));
    choose_destination(php.folder());
    generate([this](QWidget *report) {
        EXPECT_TRUE(find<QLabel>(report, "Labelmain")
                        ->text()
                        .endsWith(QStringLiteral("\nResult page isn't embedded in the result script\nSuccess page: "
                                                 "thanks.html\nError page: sorry.html\n")));
    });
    EXPECT_EQ(folder_files(), (QStringList { "index.php", "sorry.html", "thanks.html", "top.html" }));
    EXPECT_EQ(read_file(php.path(QStringLiteral("sorry.html"))), QByteArray("SORRY"));
    EXPECT_FALSE(read_file(php.path(QStringLiteral("index.php"))).contains("include("));
    EXPECT_EQ(php.run(QStringLiteral("index.php"), PhpRequest().add("name", "Ann")).location(), "thanks.html");
    EXPECT_EQ(php.run(QStringLiteral("index.php"), PhpRequest().add("name", "")).location(), "sorry.html");
}

// Paths written on another system (a project brought along) name the same files.
TEST_F(OutputTest, PathsWithBackslashesGiveTheFileNames)
{
    result_pages();
    control<QLineEdit>("txtSuccess")->setText(source(QStringLiteral("C:\\site\\thanks.html"), "THANKS"));
    part("chkHeader", "txtHeader", source(QStringLiteral("C:\\site\\top.html"), kTop));
    choose_destination(php.folder());
    generate();
    EXPECT_EQ(folder_files(), (QStringList { "index.php", "sorry.html", "thanks.html", "top.html" }));
    EXPECT_EQ(read_file(php.path(QStringLiteral("thanks.html"))), QByteArray("THANKS"));
    EXPECT_EQ(php.run(QStringLiteral("index.php"), PhpRequest().add("name", "Ann")).location(), "thanks.html");
}

// Generate refused or failing: told why, nothing written (no temporary file
// either), an old script of the same name kept, the page still at Generate.
struct StopCase
{
    const char *name;
    const char *told; // after "The script was not generated: " and the folder when it failed
    std::function<void(OutputTest &)> arrange = {};
    bool destination = true; // the folder chosen, over the old script
    bool message = true; // a success message typed
    int answer = -1; // to the question asked; -1: none
    int icon = 3; // 2: the generation failed
    QStringList left = { "index.php" }; // the folder's files afterwards
};

void PrintTo(const StopCase &stop, std::ostream *out)
{
    *out << stop.name;
}

class Stops : public OutputTest, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(Stops, NothingIsWritten)
{
    const StopCase &c = GetParam();
    write_file(php.path(QStringLiteral("index.php")), kOldScript);
    if (c.destination) {
        answer(1); // overwrite it
        choose_destination(php.folder());
    }
    if (c.message)
        set_message(QStringLiteral("hi"));
    if (c.arrange)
        c.arrange(*this);
    if (c.answer >= 0)
        answer(c.answer);
    generate_stopped();
    const QString failed = QStringLiteral("The script was not generated: %1/").arg(php.folder());
    EXPECT_EQ(messages().mid(c.destination ? 1 : 0), QStringList { (c.icon == 2 ? failed : QString()) + c.told });
    EXPECT_EQ(m_icons.back(), c.icon);
    EXPECT_EQ(read_file(php.path(QStringLiteral("index.php"))), kOldScript);
    EXPECT_EQ(folder_files(), c.left);
    if (c.icon == 3) { // refused by the page's checks: not even the wizard's setting
        EXPECT_FALSE(QFileInfo::exists(ini_variables::wizard_ini_path()));
    }
    EXPECT_EQ(caption("cmdNext") + caption("cmdCancel"), QStringLiteral("GenerateCancel"));
}

std::function<void(OutputTest &)> cleared(const char *box)
{
    return [box](OutputTest &t) {
        t.result_pages();
        t.control<QLineEdit>(box)->clear();
    };
}

std::function<void(OutputTest &)> no_file(const char *check, const char *box)
{
    return [check, box](OutputTest &t) { t.part(check, box, QString()); };
}

void header_file_missing(OutputTest &t)
{
    t.part("chkHeader", "txtHeader", t.php.path(QStringLiteral("none/top.html")));
}

void settings_file_is_a_folder(OutputTest &t)
{
    globals::prefs()->is_mysql = globals::prefs()->is_create_tble = true;
    QDir(t.php.folder()).mkdir(QStringLiteral("lib.php"));
}

// A destination that cannot take the script, as real for root as for anyone.
void destination_folder_gone(OutputTest &t)
{
    QDir(t.php.folder()).mkdir(QStringLiteral("site"));
    t.choose_destination(t.php.path(QStringLiteral("site")));
    QDir(t.php.path(QStringLiteral("site"))).removeRecursively();
}

INSTANTIATE_TEST_SUITE_P(Generate, Stops,
    ::testing::Values(StopCase { "NoDestination", "Please specify a destination file", {}, false },
        StopCase { "NoMessage", "Success Message is empty", {}, true, false },
        StopCase { "NoSuccessPage", "Success page can't be empty", cleared("txtSuccess") },
        StopCase { "NoErrorPage", "Error page can't be empty", cleared("txtError") },
        StopCase { "EmptyHeaderAnsweredYes",
            "Header file is empty, Do you want to insert a header file in the result script?",
            no_file("chkHeader", "txtHeader"), true, true, 1 },
        StopCase { "EmptyFooterQuestionClosed",
            "footer file is empty, Do you want to insert a footer file in the result script?",
            no_file("chkFooter", "txtFooter"), true, true, 0 },
        StopCase { "HeaderFileMissing", "none/top.html cannot be read (No such file or directory)", header_file_missing,
            true, true, -1, 2 },
        StopCase { "SettingsFileIsAFolder", "lib.php cannot be written (Filename refers to a directory)",
            settings_file_is_a_folder, true, true, -1, 2, { "index.php", "lib.php" } },
        StopCase { "DestinationFolderGone", "site/index.php cannot be written (No such file or directory)",
            destination_folder_gone, false, true, -1, 2 }));

TEST_F(OutputTest, TaskReportIsSavedAsALog)
{
    Cprefrences &prefs = *globals::prefs();
    prefs.php_des = QStringLiteral("/srv/caf\u00e9/index.php");
    prefs.script_name = QStringLiteral("index.php");
    prefs.is_email = prefs.is_mysql = true;
    prefs.is_embeded_result_page = false;
    prefs.success_page = QStringLiteral("thanks.html");
    prefs.error_page = QStringLiteral("sorry.html");
    frmAction report;
    report.show();
    // A name typed without an extension gets ".log"; one with its own keeps it.
    CommonDialog::script(CommonDialog::Answer::chosen_file(sources.filePath(QStringLiteral("task.report.txt"))));
    click(&report, "cmdsave");
    CommonDialog::script(CommonDialog::Answer::chosen_file(sources.filePath(QStringLiteral("task"))));
    click(&report, "cmdsave");
    EXPECT_EQ(QDir(sources.path()).entryList(QDir::Files), (QStringList { "task.log", "task.report.txt" }));
    EXPECT_EQ(read_file(sources.filePath(QStringLiteral("task.log"))),
        "***********************************\r\nTressel, Task Report\r\n***********************************\r\n"
        "Tressel has successfully created script file: \r\n/srv/caf\xC3\xA9/index.php\r\n\r\n"
        "With the following options:-\r\n\r\nSend email to form owner  : True\r\n"
        "Send auto respond email to user  : False\r\nSave fields values in a text file   : False\r\n"
        "Save Fields Values in a MySQL table  : True\r\nEmbed result page to script : False\r\n"
        "Header  : \r\nFooter  : \r\nsuccess page  : thanks.html\r\nError Page  : sorry.html\r\n"
        "Please remember to change the action attribute in the form tag to:index.php\r\n"
        "***********************************\r\n\r\n");
    EXPECT_EQ(CommonDialog::asked().back(), CommonDialog::Kind::Save);
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace

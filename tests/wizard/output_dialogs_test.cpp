// The dialogs of the output page: the folder chooser with its input box,
// and the banned-address list.
#include "OutputTest.h"

#include "wizard/DirListBox.h"
#include "wizard/frmFolder.h"
#include "wizard/frmIP.h"
#include "wizard/frmInput.h"
#include "wizard/frmStep7.h"

#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

// Clicks an entry of a list as a person would.
void click_entry(QListWidget *list, QListWidgetItem *entry)
{
    ASSERT_TRUE(entry);
    list->scrollToItem(entry);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(entry).center());
}

class InputBox : public WizardTest, public ::testing::WithParamInterface<std::pair<QString, bool>>
{
};

TEST_P(InputBox, RefusesEmptyNamesAndPaths)
{
    const auto [typed, accepted] = GetParam();
    frmInput box;
    box.lblmessage->setText(QStringLiteral("New Folder name"));
    box.Text1->setText(typed);
    box.show();
    click(&box, "CmdOk");
    if (accepted) {
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(box.result, typed);
        EXPECT_FALSE(box.isVisible());
    } else {
        EXPECT_EQ(last_message(), QStringLiteral("please enter a valid name"));
        EXPECT_EQ(m_icons.back(), 3);
        EXPECT_EQ(box.result, QString());
        EXPECT_TRUE(box.isVisible());
        click(&box, "cmdCancel");
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.result, QString());
    }
}

INSTANTIATE_TEST_SUITE_P(Names, InputBox,
    ::testing::Values(std::pair { QString(), false }, std::pair { QStringLiteral("a\\b"), false },
        std::pair { QStringLiteral("site/form"), false }, std::pair { QStringLiteral("index.php"), true },
        std::pair { QStringLiteral("my form #2"), true }));

class FolderChooser : public OutputTest
{
protected:
    QString dir(const QString &name) const { return php->path(name); }
};

struct NameCase
{
    QString typed;
    QString script;
};

class ScriptNames : public FolderChooser, public ::testing::WithParamInterface<NameCase>
{
};

TEST_P(ScriptNames, NameIsCompletedWithPhp)
{
    choose_destination(php->folder(), GetParam().typed);
    const Cprefrences &prefs = *globals::prefs();
    EXPECT_EQ(prefs.script_name, GetParam().script);
    EXPECT_EQ(prefs.des_folder, php->folder() + QLatin1Char('/'));
    EXPECT_EQ(prefs.php_des, prefs.des_folder + prefs.script_name);
    EXPECT_TRUE(messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(FolderChooser, ScriptNames,
    ::testing::Values(NameCase { QStringLiteral("index.php"), QStringLiteral("index.php") },
        NameCase { QStringLiteral("contact"), QStringLiteral("contact.php") },
        NameCase { QStringLiteral("contact.PHP"), QStringLiteral("contact.PHP.php") },
        NameCase { QStringLiteral("form.php.bak"), QStringLiteral("form.php.bak") }));

TEST_F(FolderChooser, DefaultNameIsOfferedSelected)
{
    on_next_modal([](QWidget *chooser) {
        on_next_modal([](QWidget *input) {
            auto *text = input->findChild<QLineEdit *>(QStringLiteral("Text1"));
            EXPECT_EQ(text->text(), QStringLiteral("index.php"));
            EXPECT_EQ(text->selectedText(), QStringLiteral("index.php"));
            EXPECT_EQ(input->findChild<QLabel *>(QStringLiteral("lblmessage"))->text(),
                QStringLiteral("Enter a name for the result script file"));
            EXPECT_EQ(input->windowTitle(), QStringLiteral("Tressel"));
            click(input, "CmdOk");
        });
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Select output folder"));
        click(chooser, "ok");
    });
    click(page, "Browse");
    EXPECT_EQ(globals::prefs()->script_name, QStringLiteral("index.php"));
}

TEST_F(FolderChooser, CancelledNameKeepsTheChooserOpen)
{
    on_next_modal([](QWidget *chooser) {
        on_next_modal([](QWidget *input) { click(input, "cmdCancel"); });
        click(chooser, "ok");
        EXPECT_TRUE(chooser->isVisible());
        click(chooser, "cancel");
        EXPECT_FALSE(chooser->isVisible());
    });
    click(page, "Browse");
    EXPECT_EQ(messages(), QStringList { QStringLiteral("You must select a destination folder before proceeding") });
    EXPECT_EQ(globals::prefs()->php_des, QString());
}

TEST_F(FolderChooser, RootGivesOneSeparator)
{
    EXPECT_EQ(frmFolder::destination_folder(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(frmFolder::destination_folder(QStringLiteral("/srv/www/")), QStringLiteral("/srv/www/"));
    on_next_modal([](QWidget *chooser) {
        auto *drive = chooser->findChild<QComboBox *>(QStringLiteral("drive"));
        ASSERT_EQ(drive->itemText(0), QStringLiteral("/"));
        drive->setCurrentIndex(0);
        emit drive->activated(0); // picked, though already shown
        EXPECT_EQ(chooser->findChild<QLineEdit *>(QStringLiteral("txtpath"))->text(), QStringLiteral("/"));
        on_next_modal([](QWidget *input) {
            input->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("no-such-script-here"));
            click(input, "CmdOk");
        });
        click(chooser, "ok");
    });
    click(page, "Browse");
    EXPECT_EQ(globals::prefs()->des_folder, QStringLiteral("/"));
    EXPECT_EQ(globals::prefs()->php_des, QStringLiteral("/no-such-script-here.php"));
}

TEST_F(FolderChooser, DrivesAreTheRootAndTheHome)
{
    EXPECT_EQ(frmFolder::drives().first(), QStringLiteral("/"));
    if (QDir::homePath() != QStringLiteral("/")) {
        EXPECT_EQ(frmFolder::drives().value(1), QDir::homePath());
    }
    frmFolder chooser;
    auto *drive = chooser.findChild<QComboBox *>(QStringLiteral("drive"));
    auto *list = chooser.findChild<DirListBox *>(QStringLiteral("folder"));
    EXPECT_EQ(list->Path(), QDir::currentPath()); // where it starts
    for (int place = drive->count() - 1; place >= 0; --place) {
        drive->setCurrentIndex(place);
        emit drive->activated(place);
        EXPECT_EQ(list->Path(), frmFolder::drives().at(place));
        EXPECT_EQ(chooser.findChild<QLineEdit *>(QStringLiteral("txtpath"))->text(), list->Path());
    }
}

TEST_F(FolderChooser, OneClickEntersAFolderAndTheWayBackIsListed)
{
    ASSERT_TRUE(QDir(php->folder()).mkpath(QStringLiteral("site/forms")));
    QDir(php->folder()).mkpath(QStringLiteral("Archive"));
    QDir(php->folder()).mkpath(QStringLiteral(".hidden"));
    frmFolder chooser;
    chooser.show();
    auto *list = chooser.findChild<DirListBox *>(QStringLiteral("folder"));
    auto *path = chooser.findChild<QLineEdit *>(QStringLiteral("txtpath"));
    list->set_Path(php->folder());
    EXPECT_EQ(path->text(), php->folder());
    // Its subfolders follow the way down, in name order, hidden ones left out.
    const int current = list->row(list->entry(php->folder()));
    ASSERT_EQ(list->count(), current + 3);
    EXPECT_EQ(list->item(current + 1)->text(), QStringLiteral("Archive"));
    EXPECT_EQ(list->item(current + 2)->text(), QStringLiteral("site"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("/"));

    // A double click enters one folder only, though after the first click
    // the entry under the pointer is one of the new folder's subfolders.
    const QPoint site = list->visualItemRect(list->entry(dir(QStringLiteral("site")))).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, site);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, site);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, site);
    EXPECT_EQ(list->Path(), dir(QStringLiteral("site")));
    EXPECT_EQ(path->text(), dir(QStringLiteral("site")));

    click_entry(list, list->entry(dir(QStringLiteral("site/forms"))));
    EXPECT_EQ(list->Path(), dir(QStringLiteral("site/forms")));

    click_entry(list, list->entry(php->folder())); // back up the way
    EXPECT_EQ(path->text(), php->folder());
    save_picture(&chooser, QStringLiteral("folder-chooser.png"));
}

TEST_F(FolderChooser, NewFolderIsCreatedAndEntered)
{
    frmFolder chooser;
    chooser.show();
    auto *list = chooser.findChild<DirListBox *>(QStringLiteral("folder"));
    auto *path = chooser.findChild<QLineEdit *>(QStringLiteral("txtpath"));
    list->set_Path(php->folder());
    const auto new_folder = [&chooser](const QString &name, bool cancel = false) {
        on_next_modal([name, cancel](QWidget *input) {
            EXPECT_EQ(
                input->findChild<QLabel *>(QStringLiteral("lblmessage"))->text(), QStringLiteral("New Folder name"));
            EXPECT_EQ(input->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QString());
            input->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
            click(input, cancel ? "cmdCancel" : "CmdOk");
        });
        click(&chooser, "NewFolder");
    };

    new_folder(QStringLiteral("reports"));
    EXPECT_TRUE(QFileInfo(dir(QStringLiteral("reports"))).isDir());
    EXPECT_EQ(list->Path(), dir(QStringLiteral("reports")));
    EXPECT_EQ(path->text(), dir(QStringLiteral("reports")));
    EXPECT_TRUE(messages().isEmpty());

    list->set_Path(php->folder());
    new_folder(QStringLiteral("reports"));
    EXPECT_EQ(last_message(), QStringLiteral("reports already exist"));
    EXPECT_EQ(list->Path(), php->folder());

    new_folder(QString(), true);
    EXPECT_EQ(last_message(), QStringLiteral("invalid Folder Name"));

    // The folder shown went away meanwhile: the reason is told.
    ASSERT_TRUE(QDir(dir(QStringLiteral("reports"))).mkdir(QStringLiteral("gone")));
    list->set_Path(dir(QStringLiteral("reports/gone")));
    ASSERT_TRUE(QDir(dir(QStringLiteral("reports/gone"))).removeRecursively());
    new_folder(QStringLiteral("inner"));
    EXPECT_EQ(last_message(),
        QStringLiteral("The folder ") + dir(QStringLiteral("reports/gone/inner"))
            + QStringLiteral(" cannot be created (No such file or directory)"));
}

TEST_F(FolderChooser, ExistingScriptIsKeptUntilAGenerationReplacesIt)
{
    const QString script = dir(QStringLiteral("index.php"));
    write(script, "<?php echo 'old'; ?>");
    answer(2);
    choose_destination(php->folder(), QStringLiteral("index"), [](QWidget *chooser) {
        EXPECT_TRUE(chooser->isVisible()); // No keeps the chooser open
        click(chooser, "cancel");
    });
    EXPECT_EQ(messages(),
        (QStringList { QStringLiteral("index.php  already exists, do you want to overwrite it?"),
            QStringLiteral("You must select a destination folder before proceeding") }));
    EXPECT_EQ(m_buttons.first(), 3);
    EXPECT_EQ(m_icons.first(), 1);
    EXPECT_EQ(globals::prefs()->php_des, script); // the values stay
    EXPECT_EQ(read(script), QByteArray("<?php echo 'old'; ?>"));

    answer(1);
    choose_destination(php->folder(), QStringLiteral("index"));
    EXPECT_EQ(control<QLineEdit>("txtdestination")->text(), script);
    EXPECT_EQ(read(script), QByteArray("<?php echo 'old'; ?>")); // not deleted on agreement
}

class BannedList : public OutputTest
{
protected:
    // Opens the list from the page and runs `edit` on it.
    void edit(std::function<void(QWidget *)> edit)
    {
        on_next_modal([edit](QWidget *dialog) {
            edit(dialog);
            click(dialog, "CmdOk");
        });
        click(page, "cmdIP");
    }

    static void add(QWidget *dialog, const QString &address)
    {
        dialog->findChild<QLineEdit *>(QStringLiteral("txtIP"))->setText(address);
        click(dialog, "cmdAdd");
    }

    static QStringList listed(QWidget *dialog)
    {
        QStringList texts;
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstIps"));
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    static QStringList banned()
    {
        QStringList texts;
        for (const auto &entry : *globals::web_page()->blocked_ips())
            texts << entry.value;
        return texts;
    }
};

TEST_F(BannedList, OnlyADotIsRequired)
{
    edit([this](QWidget *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("block certain IP addresses "));
        EXPECT_FALSE(dialog->findChild<QWidget *>(QStringLiteral("cmdRemove"))->isEnabled());
        add(dialog, QStringLiteral("10"));
        EXPECT_EQ(last_message(), QStringLiteral("Please enter a valid IP address"));
        EXPECT_EQ(dialog->findChild<QLineEdit *>(QStringLiteral("txtIP"))->text(), QStringLiteral("10"));
        EXPECT_FALSE(dialog->findChild<QWidget *>(QStringLiteral("cmdRemove"))->isEnabled());
        add(dialog, QStringLiteral("1.2"));
        add(dialog, QStringLiteral("abc.def"));
        add(dialog, QStringLiteral("1.2"));
        EXPECT_EQ(dialog->findChild<QLineEdit *>(QStringLiteral("txtIP"))->text(), QString());
        EXPECT_TRUE(dialog->findChild<QWidget *>(QStringLiteral("cmdRemove"))->isEnabled());
        EXPECT_EQ(listed(dialog), banned());
        save_picture(dialog, QStringLiteral("banned-addresses.png"));
    });
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(banned(), (QStringList { QStringLiteral("1.2"), QStringLiteral("abc.def"), QStringLiteral("1.2") }));
}

TEST_F(BannedList, RemovingKeepsListAndCollectionAligned)
{
    for (const char *address : { "10.0.0.1", "10.0.0.2", "10.0.0.3" })
        globals::web_page()->blocked_ips()->Add(QString::fromLatin1(address));
    edit([](QWidget *dialog) {
        auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lstIps"));
        auto *remove = dialog->findChild<QWidget *>(QStringLiteral("cmdRemove"));
        EXPECT_EQ(listed(dialog), banned()); // rebuilt from the collection
        EXPECT_TRUE(remove->isEnabled());

        click(dialog, "cmdRemove"); // nothing selected: nothing removed
        EXPECT_EQ(banned().size(), 3);
        click_entry(list, list->item(1));
        click(dialog, "cmdRemove");
        EXPECT_EQ(banned(), (QStringList { QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.3") }));
        EXPECT_EQ(listed(dialog), banned());
        click(dialog, "cmdRemove"); // the removal left nothing selected
        EXPECT_EQ(banned().size(), 2);

        for (int left = 2; left > 0; --left) {
            click_entry(list, list->item(0));
            click(dialog, "cmdRemove");
        }
        EXPECT_TRUE(banned().isEmpty());
        EXPECT_TRUE(remove->isEnabled()); // until one more click
        click(dialog, "cmdRemove");
        EXPECT_FALSE(remove->isEnabled());
    });
}

} // namespace

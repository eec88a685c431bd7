// The help viewer over the help collection built next to the program: topics
// by context id, the navigation tabs, search, one reusable window of its own,
// no message for a missing help file, F1, and the program's end.
#include "support/QtPrinters.h"
#include "wizard/HTMLHelpViewer.h"
#include "wizard/gui_globals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpIndexWidget>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

namespace {

const QString kHelpFile = QStringLiteral(TRESSEL_HELP_COLLECTION);
// Long enough for the first full-text indexing of the book on a slow machine.
constexpr int kWaitMs = 30000;

QTextBrowser *browser_of(QWidget *window)
{
    return window->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
}

QString topic_title(QWidget *window)
{
    return browser_of(window)->documentTitle();
}

QString current_tab(QWidget *window)
{
    return window->findChild<QTabWidget *>(QStringLiteral("helpTabs"))->currentWidget()->objectName();
}

// Windows that would block the wizard: modal ones, and message boxes.
bool blocking_window_shown()
{
    const auto widgets = QApplication::topLevelWidgets();
    return std::any_of(widgets.begin(), widgets.end(), [](QWidget *widget) {
        return widget->isVisible() && (widget->isModal() || qobject_cast<QMessageBox *>(widget));
    });
}

class HelpViewer : public ::testing::Test
{
protected:
    // The viewer keeps its working copy of the collection and the search
    // index in the user's cache folder: a fresh one for these tests.
    static void SetUpTestSuite()
    {
        cache = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache->path()));
    }
    static void TearDownTestSuite() { cache.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(kHelpFile).isFile()) << "help collection not built: " << kHelpFile.toStdString();
        viewer.set_HelpFile(kHelpFile);
    }

    static inline std::unique_ptr<QTemporaryDir> cache;
    HTMLHelpViewer viewer;
};

TEST_F(HelpViewer, EveryContextIdOpensItsTopicInOneWindowOfItsOwn)
{
    const std::tuple<int, const char *, const char *> topics[] = {
        // context id, title, a caption of the page the topic explains
        { 1, "Step 1: Your form and its actions", "Load HTML Form From URL" },
        { 2, "Step 2: Checking each field", "Required (don't allow empty values)" },
        { 3, "Mail to the form owner", "Multiple Recipients..." },
        { 4, "Confirmation mail to the visitor (auto-responder)", "Add Personalized Field..." },
        { 5, "Saving submissions in a text file", "End of Line" },
        { 6, "Saving submissions in a MySQL table", "Field mapping" },
        { 7, "Where the script goes, and Generate", "PHP Script Destination" },
        { 8, "The task report", "For more information click here" },
        { 9, "Uploaded files", "URL TO The Upload Folder" },
        { 10, "Creating a new MySQL table", "Primary key" },
    };
    viewer.ShowContext(1);
    QWidget *window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), nullptr);
    // Larger than the screen of these tests (800 by 600), it opens shrunk
    // to the screen's free area.
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()))
        << "the window goes beyond the screen's free area";
    for (const auto &[id, title, caption] : topics) {
        SCOPED_TRACE(id);
        if (id == 7)
            window->close(); // closed by the user, it comes back at the next topic
        // Escape and Ctrl+W close it too.
        for (const auto &[at, key] : { std::pair { 4, QKeyCombination(Qt::Key_Escape) },
                 std::pair { 9, QKeyCombination(Qt::ControlModifier, Qt::Key_W) } }) {
            if (id != at)
                continue;
            window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window, key.key(), key.keyboardModifiers());
            EXPECT_FALSE(window->isVisible());
        }
        viewer.ShowContext(id);
        EXPECT_EQ(viewer.window(), window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(topic_title(window), QString::fromUtf8(title));
        EXPECT_TRUE(browser_of(window)->toPlainText().contains(QString::fromUtf8(caption)));
        EXPECT_EQ(current_tab(window), QStringLiteral("contentsTab"));
        EXPECT_FALSE(blocking_window_shown());
        if (id == 2) { // a picture of a topic, for a person to look at
            auto *contents = window->findChild<QHelpContentWidget *>(QStringLiteral("helpContents"));
            ASSERT_TRUE(QTest::qWaitFor([&] { return contents->currentIndex().isValid(); }, kWaitMs));
            const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT", QDir::tempPath());
            EXPECT_TRUE(window->grab().save(QDir(folder).filePath(QStringLiteral("help_viewer_field_rules.png"))));
        }
    }
    const auto widgets = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(widgets.begin(), widgets.end(),
                  [](QWidget *widget) { return widget->objectName() == QLatin1String("helpWindow"); }),
        1);
}

// Topics say what the program does, in the words the page uses.
TEST_F(HelpViewer, TopicsSayWhatTheProgramDoes)
{
    const std::tuple<int, const char *, const char *> rows[] = {
        // context id, a text the topic holds, a text it must not hold
        { 2, "5 digit zip code a value of exactly five digits", "exactly five characters" },
        { 2, "zip code +4 a zip+4 code such as 12345-6789", nullptr }, // as it was
        { 3, "the visitor's address from the From field becomes the mail's Reply-To only when it is exactly one valid",
            "used as sender" },
        { 3, "The mail still comes from your own address", nullptr }, // as it was
    };
    for (const auto &[id, said, unsaid] : rows) {
        SCOPED_TRACE(said);
        viewer.ShowContext(id);
        const QString text = browser_of(viewer.window())->toPlainText().simplified();
        EXPECT_TRUE(text.contains(QString::fromUtf8(said)));
        if (unsaid) {
            EXPECT_FALSE(text.contains(QString::fromUtf8(unsaid)));
        }
    }
}

TEST_F(HelpViewer, ShowCommandsOpenTheirTabsAndSearchFindsAWord)
{
    for (const auto &[show, tab] :
        { std::pair { &HTMLHelpViewer::ShowIndex, "indexTab" }, std::pair { &HTMLHelpViewer::Show, "contentsTab" },
            std::pair { &HTMLHelpViewer::ShowContents, "contentsTab" },
            std::pair { &HTMLHelpViewer::ShowSearch, "searchTab" } }) {
        (viewer.*show)();
        EXPECT_TRUE(viewer.window()->isVisible());
        EXPECT_EQ(current_tab(viewer.window()), QString::fromLatin1(tab));
        EXPECT_EQ(topic_title(viewer.window()), QStringLiteral("Welcome to Tressel"));
    }
    auto *search = viewer.window()->findChild<QHelpSearchEngine *>();
    auto *input = viewer.window()->findChild<QHelpSearchQueryWidget *>()->findChild<QLineEdit *>();
    ASSERT_TRUE(search && input);
    // The book may still be indexed in the background: the viewer runs the
    // query once the index is complete.
    QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
    input->setText(QStringLiteral("apostrophe"));
    QTest::keyClick(input, Qt::Key_Return);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(kWaitMs));
    ASSERT_EQ(search->searchResultCount(), 1);
    EXPECT_EQ(search->searchResults(0, 1).first().title(), QStringLiteral("Saving submissions in a text file"));
}

// The topic on putting the script on a site opens from the index and is in the contents.
TEST_F(HelpViewer, WebServerTopicOpensFromTheIndexAndIsInTheContents)
{
    const QString title = QStringLiteral("Putting the script on your web site");
    viewer.ShowIndex();
    QWidget *window = viewer.window();
    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("indexFilter"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->findChild<QHelpIndexWidget *>()->model()->rowCount() > 0; }, kWaitMs));
    filter->setText(QStringLiteral("post_max_size"));
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(topic_title(window), title);
    EXPECT_TRUE(browser_of(window)->toPlainText().contains(QStringLiteral("client_max_body_size 12m;")));
    auto *contents = window->findChild<QHelpContentWidget *>(QStringLiteral("helpContents"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return contents->currentIndex().data().toString() == title; }, kWaitMs));
}

TEST_F(HelpViewer, UnloadAndTheViewersEndCloseTheWindow)
{
    viewer.ShowContext(1);
    QPointer<QWidget> window = viewer.window();
    viewer.Unload();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(viewer.window(), nullptr);
    viewer.ShowSearch();
    viewer.Unload(); // while the book is indexed
    {
        HTMLHelpViewer other;
        other.set_HelpFile(kHelpFile);
        other.ShowContext(8);
        window = other.window();
        ASSERT_TRUE(window->isVisible());
    }
    EXPECT_TRUE(window.isNull());
}

TEST_F(HelpViewer, UnusableHelpFileShowsAWindowSayingSoAndNoMessage)
{
    QTemporaryDir folder;
    for (const QString &path : { folder.filePath(QStringLiteral("missing.qhc")), folder.path() }) {
        viewer.set_HelpFile(path);
        viewer.ShowContext(2);
        viewer.ShowSearch();
        ASSERT_NE(viewer.window(), nullptr);
        EXPECT_TRUE(viewer.window()->isVisible());
        EXPECT_TRUE(browser_of(viewer.window())->toPlainText().contains(QStringLiteral("Help is not available")));
        EXPECT_FALSE(blocking_window_shown());
    }
    // With the help file back, the same window shows the topic.
    QWidget *window = viewer.window();
    viewer.set_HelpFile(kHelpFile);
    viewer.ShowContext(2);
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(topic_title(window), QStringLiteral("Step 2: Checking each field"));
}

// F1 on a page opens the application's help file at the page's topic, or
// at the topic of the panel holding the focus.
TEST(F1Help, OpensThePagesTopicAndThePanelsWithinIt)
{
    globals::app_help_file() = kHelpFile;
    QWidget page;
    auto *page_box = new QLineEdit(&page);
    auto *panel = new QWidget(&page);
    auto *panel_box = new QLineEdit(panel);
    install_help_context(&page, 2);
    install_help_context(panel, 9);
    page.show();
    for (const auto &[focus, title] : { std::pair { page_box, "Step 2: Checking each field" },
             std::pair { panel_box, "Uploaded files" }, std::pair { page_box, "Step 2: Checking each field" } }) {
        page.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F1);
        QWidget *window = globals::help_viewer()->window();
        EXPECT_TRUE(window && window->isVisible() && topic_title(window) == QString::fromUtf8(title)) << title;
    }
    globals::help_viewer().reset();
}

// The program ends with the help window open and the book being indexed:
// through its event loop, or without one, as the application object goes.
// Each way runs as a program of its own, started by the test below.
TEST(ProgramEnd, EndsWithTheHelpWindowOpen)
{
    const QString way = qEnvironmentVariable("TRESSEL_HELP_EXIT_CHILD");
    if (way.isEmpty())
        GTEST_SKIP() << "runs as a child of ProgramEnd.ClosesTheHelpWindowCleanlyEitherWay";
    globals::app_help_file() = kHelpFile;
    show_help_context(3);
    globals::help_viewer()->ShowSearch();
    QPointer<QWidget> window = globals::help_viewer()->window();
    ASSERT_TRUE(window->isVisible());
    QTest::qWait(5); // the index is being written
    if (way == QLatin1String("event_loop")) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        EXPECT_TRUE(window.isNull());
    }
}

TEST(ProgramEnd, ClosesTheHelpWindowCleanlyEitherWay)
{
    for (const char *way : { "event_loop", "no_event_loop" }) {
        QTemporaryDir cache;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TRESSEL_HELP_EXIT_CHILD"), QString::fromLatin1(way));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("--gtest_filter=ProgramEnd.EndsWithTheHelpWindowOpen") });
        ASSERT_TRUE(child.waitForFinished(kWaitMs)) << way;
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << way;
        EXPECT_EQ(child.exitCode(), 0) << way << child.readAllStandardOutput().toStdString();
    }
}

} // namespace

// The help viewer over the help collection built next to the program: topics
// by context id, the navigation tabs, search, one reusable window of its own,
// no message for a missing help file, and F1 on a page.
#include "support/QtPrinters.h"
#include "wizard/HTMLHelpViewer.h"
#include "wizard/gui_globals.h"

#include <QApplication>
#include <QDateTime>
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
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

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
    if (QApplication::activeModalWidget())
        return true;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && (widget->isModal() || qobject_cast<QMessageBox *>(widget)))
            return true;
    }
    return false;
}

class HelpViewer : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The viewer keeps its working copy of the collection and the search
        // index in the user's cache folder: a fresh one for these tests.
        cache = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache->path()));
    }

    static void TearDownTestSuite() { cache.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(kHelpFile).isFile()) << "help collection not built: " << kHelpFile.toStdString();
        viewer.set_HelpFile(kHelpFile);
    }

    static std::unique_ptr<QTemporaryDir> cache;
    HTMLHelpViewer viewer;
};

std::unique_ptr<QTemporaryDir> HelpViewer::cache;

struct ContextTopic
{
    qint32 id;
    const char *title;
    const char *caption; // a caption of the page the topic explains
};

void PrintTo(const ContextTopic &topic, std::ostream *out)
{
    *out << "context " << topic.id;
}

class ContextTopics : public HelpViewer, public ::testing::WithParamInterface<ContextTopic>
{
};

TEST_P(ContextTopics, OpenTheTopicOfTheirPageInAWindowOfItsOwn)
{
    const ContextTopic &topic = GetParam();
    viewer.ShowContext(topic.id);

    QWidget *window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(topic_title(window), QString::fromUtf8(topic.title));
    EXPECT_TRUE(browser_of(window)->toPlainText().contains(QString::fromUtf8(topic.caption)))
        << "topic lacks the caption " << topic.caption;
    EXPECT_EQ(current_tab(window), QStringLiteral("contentsTab"));
    EXPECT_FALSE(blocking_window_shown());
}

INSTANTIATE_TEST_SUITE_P(EveryPage, ContextTopics,
    ::testing::Values(ContextTopic { 1, "Step 1: Your form and its actions", "Load HTML Form From URL" },
        ContextTopic { 2, "Step 2: Checking each field", "Required (don't allow empty values)" },
        ContextTopic { 3, "Mail to the form owner", "Multiple Recipients..." },
        ContextTopic { 4, "Confirmation mail to the visitor (auto-responder)", "Add Personalized Field.." },
        ContextTopic { 5, "Saving submissions in a text file", "End of Line" },
        ContextTopic { 6, "Saving submissions in a MySQL table", "Field mapping" },
        ContextTopic { 7, "Where the script goes, and Generate", "PHP Script Destination" },
        ContextTopic { 8, "The task report", "For more information click here" },
        ContextTopic { 9, "Uploaded files", "URL TO The Upload Folder" },
        ContextTopic { 10, "Creating a new MySQL table", "Primary key" }));

const QString kOpeningTitle = QStringLiteral("Welcome to Tressel");

TEST_F(HelpViewer, UnknownContextIdShowsTheOpeningTopic)
{
    viewer.ShowContext(4711);
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_EQ(topic_title(viewer.window()), kOpeningTitle);
}

struct ShowCommand
{
    const char *name;
    void (HTMLHelpViewer::*show)();
    const char *tab;
};

void PrintTo(const ShowCommand &command, std::ostream *out)
{
    *out << command.name;
}

class ShowCommands : public HelpViewer, public ::testing::WithParamInterface<ShowCommand>
{
};

TEST_P(ShowCommands, OpenTheirTabAtTheOpeningTopic)
{
    (viewer.*GetParam().show)();
    QWidget *window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(current_tab(window), QString::fromUtf8(GetParam().tab));
    EXPECT_EQ(topic_title(window), kOpeningTitle);
}

INSTANTIATE_TEST_SUITE_P(Each, ShowCommands,
    ::testing::Values(ShowCommand { "Show", &HTMLHelpViewer::Show, "contentsTab" },
        ShowCommand { "ShowContents", &HTMLHelpViewer::ShowContents, "contentsTab" },
        ShowCommand { "ShowIndex", &HTMLHelpViewer::ShowIndex, "indexTab" },
        ShowCommand { "ShowSearch", &HTMLHelpViewer::ShowSearch, "searchTab" }));

TEST_F(HelpViewer, TabsKeepTheTopicShownWhileShowGoesBackToTheOpeningTopic)
{
    viewer.ShowContext(5);
    viewer.ShowIndex();
    EXPECT_EQ(current_tab(viewer.window()), QStringLiteral("indexTab"));
    viewer.ShowSearch();
    viewer.ShowContents();
    EXPECT_EQ(current_tab(viewer.window()), QStringLiteral("contentsTab"));
    EXPECT_EQ(topic_title(viewer.window()), QStringLiteral("Saving submissions in a text file"));

    viewer.Show();
    EXPECT_EQ(topic_title(viewer.window()), kOpeningTitle);
}

TEST_F(HelpViewer, SecondTopicReusesTheSameWindow)
{
    viewer.ShowContext(3);
    QWidget *first = viewer.window();
    viewer.ShowContext(6);

    EXPECT_EQ(viewer.window(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(topic_title(first), QStringLiteral("Saving submissions in a MySQL table"));
    int help_windows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        help_windows += widget->objectName() == QLatin1String("helpWindow") ? 1 : 0;
    EXPECT_EQ(help_windows, 1);

    // Back in the window returns to the first topic.
    browser_of(first)->backward();
    EXPECT_EQ(topic_title(first), QStringLiteral("Mail to the form owner"));
}

TEST_F(HelpViewer, StaysOpenWhenThePageThatOpenedItGoes)
{
    auto page = std::make_unique<QWidget>();
    page->show();
    viewer.ShowContext(2);
    QPointer<QWidget> window = viewer.window();

    page->hide();
    page.reset();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(HelpViewer, ClosedByTheUserItComesBackAtTheNextTopic)
{
    viewer.ShowContext(1);
    QWidget *window = viewer.window();
    window->close();
    EXPECT_FALSE(window->isVisible());

    viewer.ShowContext(7);
    EXPECT_EQ(viewer.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(topic_title(window), QStringLiteral("Where the script goes, and Generate"));
}

TEST_F(HelpViewer, UnloadAndTheViewersEndCloseTheWindow)
{
    viewer.ShowContext(1);
    QPointer<QWidget> window = viewer.window();
    viewer.Unload();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(viewer.window(), nullptr);
    viewer.Unload(); // nothing left to close

    {
        HTMLHelpViewer other;
        other.set_HelpFile(kHelpFile);
        other.ShowContext(8);
        window = other.window();
        ASSERT_TRUE(window->isVisible());
    }
    EXPECT_TRUE(window.isNull());

    // After Unload the viewer opens a window again.
    viewer.ShowContext(10);
    ASSERT_NE(viewer.window(), nullptr);
    EXPECT_EQ(topic_title(viewer.window()), QStringLiteral("Creating a new MySQL table"));
}

TEST_F(HelpViewer, SearchFindsTheTopicHoldingAWord)
{
    viewer.ShowSearch();
    QWidget *window = viewer.window();
    auto *search = window->findChild<QHelpSearchEngine *>();
    ASSERT_NE(search, nullptr);
    auto *query = window->findChild<QHelpSearchQueryWidget *>(QStringLiteral("searchQuery"));
    ASSERT_NE(query, nullptr);
    auto *input = query->findChild<QLineEdit *>();
    ASSERT_NE(input, nullptr);

    // The book may still be indexed in the background: the viewer runs the
    // query once the index is complete.
    QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
    input->setText(QStringLiteral("apostrophe"));
    QTest::keyClick(input, Qt::Key_Return);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(kWaitMs));

    ASSERT_EQ(search->searchResultCount(), 1);
    const QHelpSearchResult result = search->searchResults(0, 1).first();
    EXPECT_EQ(result.title(), QStringLiteral("Saving submissions in a text file"));
}

TEST_F(HelpViewer, UnloadWhileTheBookIsIndexedEndsCleanly)
{
    for (int round = 0; round < 3; ++round) {
        viewer.ShowSearch();
        viewer.Unload();
    }
    EXPECT_EQ(viewer.window(), nullptr);
}

// Puts a copy of the built help collection and its book into a folder.
bool copy_help_to(const QDir &folder)
{
    const QString book = QFileInfo(kHelpFile).dir().filePath(QStringLiteral("Online Help.qch"));
    return QFile::copy(kHelpFile, folder.filePath(QStringLiteral("Online Help.qhc")))
        && QFile::copy(book, folder.filePath(QStringLiteral("Online Help.qch")));
}

TEST_F(HelpViewer, AnotherHelpFileOpensInTheSameWindow)
{
    viewer.ShowContext(5);
    QWidget *window = viewer.window();

    QTemporaryDir other;
    const QString other_file = QDir(other.path()).filePath(QStringLiteral("Online Help.qhc"));
    ASSERT_TRUE(copy_help_to(QDir(other.path())));
    viewer.set_HelpFile(other_file);
    EXPECT_EQ(viewer.HelpFile(), other_file);
    viewer.ShowContext(5); // the same address, now in the other book
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(topic_title(window), QStringLiteral("Saving submissions in a text file"));

    // Contents of a book just opened start at its opening topic.
    viewer.set_HelpFile(kHelpFile);
    viewer.ShowContents();
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(topic_title(window), kOpeningTitle);
}

// The program's folder may be read-only: the viewer keeps its working files
// elsewhere, and reads a rebuilt book anew.
TEST_F(HelpViewer, LeavesTheFolderOfTheHelpFileUntouched)
{
    QTemporaryDir program;
    const QDir folder(program.path());
    ASSERT_TRUE(copy_help_to(folder));
    const QStringList files = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    for (int build = 0; build < 2; ++build) {
        if (build == 1) {
            // A newer build of the same book.
            QFile copy(folder.filePath(QStringLiteral("Online Help.qch")));
            ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
            ASSERT_TRUE(copy.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        }
        HTMLHelpViewer reader;
        reader.set_HelpFile(folder.filePath(QStringLiteral("Online Help.qhc")));
        reader.ShowContext(5);
        EXPECT_EQ(topic_title(reader.window()), QStringLiteral("Saving submissions in a text file"));

        reader.ShowSearch();
        auto *search = reader.window()->findChild<QHelpSearchEngine *>();
        auto *input = reader.window()->findChild<QHelpSearchQueryWidget *>()->findChild<QLineEdit *>();
        QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
        input->setText(QStringLiteral("semicolon"));
        QTest::keyClick(input, Qt::Key_Return);
        ASSERT_TRUE(finished.count() > 0 || finished.wait(kWaitMs));
        EXPECT_EQ(search->searchResultCount(), 1) << "build " << build;
    }
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), files);
}

TEST_F(HelpViewer, IndexShowsTheTopicOfTheWordTyped)
{
    viewer.ShowIndex();
    QWidget *window = viewer.window();
    auto *index = window->findChild<QHelpIndexWidget *>(QStringLiteral("helpIndex"));
    auto *filter = window->findChild<QLineEdit *>(QStringLiteral("indexFilter"));
    ASSERT_NE(index, nullptr);
    ASSERT_NE(filter, nullptr);
    // The index is read in the background.
    ASSERT_TRUE(QTest::qWaitFor([&] { return index->model()->rowCount() > 0; }, kWaitMs));

    QTest::keyClicks(filter, QStringLiteral("Primary key"));
    QTest::keyClick(filter, Qt::Key_Return);
    EXPECT_EQ(topic_title(window), QStringLiteral("Creating a new MySQL table"));
}

TEST_F(HelpViewer, ContentsShowTheTopicChosenAndMarkTheTopicShown)
{
    viewer.ShowContext(9);
    QWidget *window = viewer.window();
    auto *contents = window->findChild<QHelpContentWidget *>(QStringLiteral("helpContents"));
    ASSERT_NE(contents, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents->model()->rowCount() > 0; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents->currentIndex().isValid(); }, kWaitMs));
    EXPECT_EQ(contents->currentIndex().data().toString(), QStringLiteral("Uploaded files"));

    const QModelIndex mail = contents->indexOf(browser_of(window)->source().resolved(QUrl("owner-mail.html")));
    ASSERT_TRUE(mail.isValid());
    contents->setCurrentIndex(mail);
    QTest::keyClick(contents, Qt::Key_Return);
    EXPECT_EQ(topic_title(window), QStringLiteral("Mail to the form owner"));
}

class UnusableHelpFile : public HelpViewer, public ::testing::WithParamInterface<const char *>
{
protected:
    QString make_file()
    {
        const QString kind = QString::fromUtf8(GetParam());
        if (kind == QLatin1String("missing"))
            return folder.filePath(QStringLiteral("Online Help.qhc"));
        if (kind == QLatin1String("folder"))
            return folder.path();
        if (kind == QLatin1String("not a collection")) {
            const QString path = folder.filePath(QStringLiteral("garbage.qhc"));
            QFile file(path);
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("this is not a help collection\n");
            return path;
        }
        return QString();
    }

    QTemporaryDir folder;
};

TEST_P(UnusableHelpFile, ShowsAWindowSayingSoAndNoMessage)
{
    viewer.set_HelpFile(make_file());
    viewer.ShowContext(2);
    viewer.ShowSearch();

    QWidget *window = viewer.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(browser_of(window)->toPlainText().contains(QStringLiteral("Help is not available")));
    EXPECT_FALSE(blocking_window_shown());

    // With the help file back, the same window shows the topic.
    viewer.set_HelpFile(kHelpFile);
    viewer.ShowContext(2);
    EXPECT_EQ(viewer.window(), window);
    EXPECT_EQ(topic_title(window), QStringLiteral("Step 2: Checking each field"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnusableHelpFile, ::testing::Values("missing", "folder", "not a collection", "empty"), [](const auto &info) {
        QString name = QString::fromUtf8(info.param);
        return name.replace(QLatin1Char(' '), QLatin1Char('_')).toStdString();
    });

// F1 on a page: the shared viewer opens the application's help file.
class F1Help : public ::testing::Test
{
protected:
    void SetUp() override
    {
        globals::app_help_file() = kHelpFile;
        auto *layout = new QVBoxLayout(&page);
        page_box = new QLineEdit(&page);
        panel = new QWidget(&page);
        auto *panel_layout = new QVBoxLayout(panel);
        panel_box = new QLineEdit(panel);
        panel_layout->addWidget(panel_box);
        layout->addWidget(page_box);
        layout->addWidget(panel);
        install_help_context(&page, 2);
        install_help_context(panel, 9);
        page.show();
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    }

    void TearDown() override { globals::help_viewer().reset(); }

    QString press_f1_in(QWidget *focus)
    {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F1);
        QWidget *window = globals::help_viewer()->window();
        return window && window->isVisible() ? topic_title(window) : QString();
    }

    QWidget page;
    QLineEdit *page_box = nullptr;
    QWidget *panel = nullptr;
    QLineEdit *panel_box = nullptr;
};

TEST_F(F1Help, OpensThePagesTopicAndThePanelsWithinIt)
{
    EXPECT_EQ(press_f1_in(page_box), QStringLiteral("Step 2: Checking each field"));
    EXPECT_EQ(globals::help_viewer()->HelpFile(), kHelpFile);

    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    EXPECT_EQ(press_f1_in(panel_box), QStringLiteral("Uploaded files"));

    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    EXPECT_EQ(press_f1_in(page_box), QStringLiteral("Step 2: Checking each field"));
}

// The program ends with the help window open and the book being indexed:
// through its event loop, or without one, as the application object goes.
// Each way runs as a program of its own, started by the test below.
TEST(ProgramEnd, EndsWithTheHelpWindowOpen)
{
    const QString way = qEnvironmentVariable("TRESSEL_HELP_EXIT_CHILD");
    if (way.isEmpty())
        GTEST_SKIP() << "runs as a child of ProgramEnd.ClosesTheHelpWindowCleanly";
    globals::app_help_file() = kHelpFile;
    show_help_context(3);
    globals::help_viewer()->ShowSearch();
    QPointer<QWidget> window = globals::help_viewer()->window();
    ASSERT_TRUE(window->isVisible());
    QTest::qWait(5); // the index is being written

    if (way == QLatin1String("event loop")) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        EXPECT_TRUE(window.isNull());
    }
}

class ProgramEndWays : public ::testing::TestWithParam<const char *>
{
};

TEST_P(ProgramEndWays, ClosesTheHelpWindowCleanly)
{
    QTemporaryDir cache;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TRESSEL_HELP_EXIT_CHILD"), QString::fromUtf8(GetParam()));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
        { QStringLiteral("--gtest_filter=ProgramEnd.EndsWithTheHelpWindowOpen") });
    ASSERT_TRUE(child.waitForFinished(kWaitMs));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Ways, ProgramEndWays, ::testing::Values("event loop", "no event loop"), [](const auto &info) {
    QString name = QString::fromUtf8(info.param);
    return name.replace(QLatin1Char(' '), QLatin1Char('_')).toStdString();
});

// A picture of the viewer at the field-rules topic, for a person to look at.
TEST_F(HelpViewer, PictureOfTheFieldRulesTopic)
{
    viewer.ShowContext(2);
    QWidget *window = viewer.window();
    auto *contents = window->findChild<QHelpContentWidget *>(QStringLiteral("helpContents"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return contents->currentIndex().isValid(); }, kWaitMs));

    const QString folder = qEnvironmentVariable("TRESSEL_TEST_OUTPUT", QDir::tempPath());
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("help_viewer_field_rules.png"));
    const QPixmap picture = window->grab();
    EXPECT_GE(picture.width(), 600);
    EXPECT_TRUE(picture.save(path, "PNG")) << path.toStdString();
}

} // namespace

// Where windows go on a desktop with a window manager, after the person has
// dragged them by their title bars: pages keep their place going back and
// forth, and the help window and the message box open over the page, whole
// on the screen. Runs under tests/support/desktop_session.sh: offscreen, or
// on a bare X server, windows stand wherever the program puts them and none
// of this can go wrong.
#include "WizardTest.h"

#include "wizard/HTMLHelpViewer.h"
#include "wizard/MyMessage.h"
#include "wizard/WizardWindow.h"
#include "wizard/gui_globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <optional>
#include <ostream>

inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << "(" << rect.x() << ", " << rect.y() << ") " << rect.width() << "x" << rect.height();
}

inline std::ostream &operator<<(std::ostream &out, const QRect &rect)
{
    PrintTo(rect, &out);
    return out;
}

namespace {

// Long enough for a window manager on a loaded machine; a window that is
// where it belongs ends the wait at once.
constexpr int kWaitMs = 20000;

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kWaitMs) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString() << " did not finish";
        process.kill();
        process.waitForFinished();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// A window as the X server and the window manager have it: its inside, and
// the frame the manager put around it once it took the window on.
struct OnScreen
{
    QRect inside;
    QMargins frame;
    QRect outer() const { return inside.marginsAdded(frame); }
};

std::optional<OnScreen> on_screen(const QWidget *window)
{
    const QString id = QString::number(window->winId());
    const QString info = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id });
    const auto number = [&info](const char *label) {
        const QRegularExpression pattern(QString::fromLatin1(label) + QStringLiteral(":\\s+(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    if (!info.contains(QStringLiteral("IsViewable")))
        return std::nullopt;
    const QString extents
        = run(QStringLiteral("xprop"), { QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS") });
    const QRegularExpressionMatch frame
        = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
    if (!frame.hasMatch())
        return std::nullopt;
    return OnScreen { QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
                          number("Height")),
        QMargins(frame.captured(1).toInt(), frame.captured(3).toInt(), frame.captured(2).toInt(),
            frame.captured(4).toInt()) };
}

// The window once the window manager has shown it and the program knows
// where: mapped, framed, and its geometry the server's.
OnScreen settled(const QWidget *window)
{
    std::optional<OnScreen> place;
    const bool known = QTest::qWaitFor(
        [&] {
            place = on_screen(window);
            return place && window->geometry() == place->inside;
        },
        kWaitMs);
    EXPECT_TRUE(known) << window->objectName().toStdString() << " not shown, or the program does not know where";
    return place.value_or(OnScreen {});
}

// Drags a window by its title bar as a person does, and waits until it is
// where the pointer left it.
OnScreen drag(const QWidget *window, QPoint by)
{
    const OnScreen before = settled(window);
    const QPoint grip(before.outer().center().x(), before.outer().top() + before.frame.top() / 2);
    const QPoint end = grip + by;
    const auto to = [](QPoint point) {
        return QStringList { QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()) };
    };
    const QString xdotool = QStringLiteral("xdotool");
    const QStringList press { QStringLiteral("mousedown"), QStringLiteral("1") };
    run(xdotool, to(grip) + press + to(grip + QPoint(20, 20)) + to(end));
    // The window manager follows the pointer only once it has taken the
    // press; until then the hand keeps moving, over the same spot.
    const QRect wanted = before.inside.translated(by);
    const bool moved = QTest::qWaitFor(
        [&] {
            const std::optional<OnScreen> now = on_screen(window);
            if (now && now->inside == wanted)
                return true;
            run(xdotool, to(end + QPoint(1, 0)) + to(end));
            return false;
        },
        kWaitMs);
    run(xdotool, { QStringLiteral("mouseup"), QStringLiteral("1") });
    EXPECT_TRUE(moved) << "not dragged to " << wanted;
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->geometry() == wanted; }, kWaitMs))
        << "dragged to " << wanted << ", the program has it at " << window->geometry();
    return settled(window);
}

QRect screen_area(const QWidget *window)
{
    return window->screen()->availableGeometry();
}

// What a window opened over a page must be: whole on the screen, and over
// the page: centred on it where it fits, else over the part of the page the
// person sees.
enum class Over { Centred, CoversSeenCentre, InsideSeenPart };

void expect_over(const OnScreen &window, const OnScreen &page, const QRect &screen, Over how)
{
    const QRect seen = page.outer() & screen;
    EXPECT_TRUE(screen.contains(window.outer())) << window.outer() << " off the screen " << screen;
    switch (how) {
    case Over::Centred:
        // Give or take the difference between a dialog's frame and a
        // page's, which the window manager tells only once it shows.
        EXPECT_LE((window.outer().center() - page.outer().center()).manhattanLength(), 4)
            << window.outer() << " not centred over the page at " << page.outer();
        break;
    case Over::CoversSeenCentre:
        EXPECT_TRUE(window.outer().contains(seen.center())) << window.outer() << " not over the page at " << seen;
        break;
    case Over::InsideSeenPart:
        EXPECT_TRUE(seen.contains(window.outer())) << window.outer() << " not over the page at " << seen;
        break;
    }
}

class Desktop : public WizardTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "runs on an X desktop";
        WizardTest::SetUp();
        // The help viewer's working copy of the book, of this test alone.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
        globals::app_help_file() = QStringLiteral(TRESSEL_HELP_COLLECTION);
        globals::help_viewer().reset();
        take(make_form({ { "email", "text" }, { "name", "text" } }));
        first = window(WizardPage::frmStep1);
        find<QAbstractButton>(first, "chkMail")->setChecked(true);
        show_page(first);
    }

    void TearDown() override
    {
        globals::help_viewer().reset();
        WizardTest::TearDown();
    }

    QWidget *first = nullptr;

private:
    QTemporaryDir m_cache;
};

// How far the person drags the first page from where the window manager
// opened it (in the middle of the screen) before going on.
struct Dragged
{
    const char *name;
    QPoint by;
    Over help;
    Over message;
};

const Dragged kDrags[] = {
    { "left_where_it_opened", { 0, 0 }, Over::Centred, Over::Centred },
    { "to_the_top_left", { -250, -200 }, Over::CoversSeenCentre, Over::Centred },
    { "partly_off_the_bottom_right", { 560, 470 }, Over::CoversSeenCentre, Over::InsideSeenPart },
};

void PrintTo(const Dragged &dragged, std::ostream *out)
{
    *out << dragged.name;
}

class Dragging : public Desktop, public ::testing::WithParamInterface<Dragged>
{
protected:
    OnScreen dragged(QWidget *page) { return GetParam().by.isNull() ? settled(page) : drag(page, GetParam().by); }
};

// Each page opens where the last one was, going on and going back, also
// with the page partly off the screen where the person put it.
TEST_P(Dragging, PagesKeepTheirPlaceGoingOnAndBack)
{
    const QRect place = dragged(first).inside;
    const std::pair<const char *, WizardPage> steps[] = {
        { "cmdNext", WizardPage::frmStep2 },
        { "cmdNext", WizardPage::frmStep3 },
        { "cmdBack", WizardPage::frmStep2 },
        { "cmdBack", WizardPage::frmStep1 },
        { "cmdNext", WizardPage::frmStep2 },
        { "cmdBack", WizardPage::frmStep1 },
    };
    WizardPage at = WizardPage::frmStep1;
    for (const auto &[button, to] : steps) {
        click(window(at), button);
        ASSERT_EQ(visible_page(), to) << button;
        at = to;
        EXPECT_EQ(settled(window(at)).inside, place) << window(at)->objectName().toStdString();
    }
}

// The help window opens whole on the screen over the page; moved by the
// person, it stays there for the next page's help, also after being closed.
TEST_P(Dragging, HelpOpensOverThePageAndStaysWhereItIsPut)
{
    const OnScreen page = dragged(first);
    click(first, "cmdHelp");
    QWidget *help = globals::help_viewer()->window();
    ASSERT_TRUE(help);
    expect_over(settled(help), page, screen_area(first), GetParam().help);

    const QRect kept = drag(help, { -60, 45 }).inside;
    click(first, "cmdNext");
    ASSERT_EQ(visible_page(), WizardPage::frmStep2);
    for (const bool closed_first : { false, true }) {
        if (closed_first)
            help->close();
        click(window(WizardPage::frmStep2), "cmdHelp");
        ASSERT_EQ(globals::help_viewer()->window(), help);
        EXPECT_EQ(settled(help).inside, kept) << (closed_first ? "reopened" : "shown again");
        EXPECT_EQ(help->findChild<QTextBrowser *>()->documentTitle(), QStringLiteral("Step 2: Checking each field"));
    }
}

// The message box opens over the page, whole on the screen.
TEST_P(Dragging, MessageBoxOpensOverThePage)
{
    MyMessage::set_responder({});
    const OnScreen page = dragged(first);
    std::optional<OnScreen> box;
    on_next_modal([&box](QWidget *dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("frmMessage"));
        box = settled(dialog);
        click(dialog, "CmdNo");
    });
    click(first, "cmdCancel");
    ASSERT_TRUE(box);
    expect_over(*box, page, screen_area(first), GetParam().message);
    EXPECT_FALSE(program_ended());
}

INSTANTIATE_TEST_SUITE_P(Pages, Dragging, ::testing::ValuesIn(kDrags),
    [](const ::testing::TestParamInfo<Dragged> &info) { return std::string(info.param.name); });

} // namespace

// Where windows go under a window manager (offscreen none can go astray).
#include "WizardTest.h"

#include "wizard/CommonDialog.h"
#include "wizard/HTMLHelpViewer.h"
#include "wizard/MyMessage.h"
#include "wizard/WizardWindow.h"
#include "wizard/frmAction.h"
#include "wizard/frmSaveOption.h"
#include "wizard/frmStart.h"
#include "wizard/frmWait.h"
#include "wizard/gui_globals.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>

#include <functional>
#include <tuple>

inline std::ostream &operator<<(std::ostream &out, const QRect &r)
{
    return out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

constexpr int kWaitMs = 20000; // for a window manager on a loaded machine

QString run(const QString &command)
{
    QProcess process;
    process.startCommand(command);
    EXPECT_TRUE(process.waitForFinished()) << command.toStdString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// A window with its frame as the window system has it (the frame a widget
// keeps lags behind the window manager's while the window does not move).
QRect framed(const QWidget *window)
{
    return window->geometry().marginsAdded(window->windowHandle()->frameMargins());
}

// A window's inside as the X server has it once the window manager shows it.
QRect on_screen(const QWidget *window)
{
    static const QRegularExpression pattern(
        QStringLiteral("(?s)X: +(-?\\d+).*?Y: +(-?\\d+).*?Width: (\\d+).*?Height: (\\d+).*IsViewable"));
    const auto found = pattern.match(run(QStringLiteral("xwininfo -id %1").arg(window->winId())));
    return QRect(
        found.captured(1).toInt(), found.captured(2).toInt(), found.captured(3).toInt(), found.captured(4).toInt());
}

// The place of a shown and framed window, once the program knows it too.
QRect settled(const QWidget *window)
{
    EXPECT_TRUE(QTest::qWaitFor(
        [window] {
            // Framed, where the program has it, and at its size (a window
            // may pass through a first tiny one as it is made).
            return on_screen(window) == window->geometry() && framed(window) != window->geometry()
                && window->size().expandedTo(window->minimumSizeHint()) == window->size();
        },
        kWaitMs))
        << window->objectName().toStdString() << " not shown, or shown elsewhere than the program knows";
    return window->geometry();
}

// Drags a window by its title bar as a person does.
QRect drag(const QWidget *window, QPoint by)
{
    const QRect before = settled(window);
    const QPoint grip(before.center().x(), (framed(window).top() + before.top()) / 2);
    run(QStringLiteral("xdotool mousemove %1 %2 mousedown 1").arg(grip.x()).arg(grip.y()));
    // The window manager follows the pointer only once it has taken the press.
    const QString follow = QStringLiteral("xdotool mousemove %1 %2 mousemove %3 %2");
    const bool moved = QTest::qWaitFor(
        [&] {
            run(follow.arg(grip.x() + by.x() + 1).arg(grip.y() + by.y()).arg(grip.x() + by.x()));
            return on_screen(window) == before.translated(by);
        },
        kWaitMs);
    run(QStringLiteral("xdotool mouseup 1"));
    EXPECT_TRUE(moved) << window->objectName().toStdString() << " not dragged";
    return settled(window);
}

// With the page dragged partly off the screen, the message box and the help
// window open whole on the screen over what is seen of it; each page opens
// where the last one was, the help window where the person put it.
TEST_F(WizardTest, WindowsOpenOverThePageWhereThePersonPutsThem)
{
    globals::app_help_file() = QStringLiteral(TRESSEL_HELP_COLLECTION);
    take(make_form({ { "email", "text" } }));
    QWidget *first = window(WizardPage::frmStep1);
    find<QAbstractButton>(first, "chkMail")->setChecked(true);
    show_page(first);
    const QRect place = drag(first, { 560, 470 });
    const QRect screen = first->screen()->availableGeometry();
    const QRect seen = framed(first) & screen;

    MyMessage::set_responder({});
    on_next_modal([&seen](QWidget *box) {
        settled(box);
        EXPECT_TRUE(seen.contains(framed(box))) << framed(box) << " not over " << seen;
        click(box, "CmdNo");
    });
    click(first, "cmdCancel");

    click(first, "cmdHelp");
    QWidget *help = globals::help_viewer()->window();
    settled(help);
    EXPECT_TRUE(screen.contains(framed(help)) && framed(help).contains(seen.center()))
        << framed(help) << " not whole on the screen over " << seen;
    const QRect kept = drag(help, { -60, 45 });
    help->close();

    click(first, "cmdNext");
    EXPECT_EQ(settled(window(WizardPage::frmStep2)), place);
    click(window(WizardPage::frmStep2), "cmdHelp");
    EXPECT_EQ(settled(help), kept);
    click(window(WizardPage::frmStep2), "cmdBack");
    EXPECT_EQ(settled(first), place);
    globals::help_viewer().reset();
}

class Desktop : public WizardTest
{
protected:
    // Whether `window` is on its screen, over what is seen of `origin` (over
    // its middle, or within it), in front, and has the keyboard (a window
    // that only tells the person to wait need not).
    static void expect_over(QWidget *window, QWidget *origin, bool keyboard = true)
    {
        SCOPED_TRACE(window->objectName().toStdString() + " over " + origin->objectName().toStdString());
        settled(window);
        const QRect screen = origin->screen()->availableGeometry();
        const QRect seen = framed(origin) & screen;
        // On the screen: the inside and the title bar (a border a pixel wide
        // may touch the screen's edge, as Qt places a dialog there). What
        // the program is told of a window may lag behind the window system
        // for a while on a loaded machine, hence the wait.
        const auto over = [window, &screen, &seen] {
            const QRect frame = framed(window);
            const QMargins borders = window->windowHandle()->frameMargins();
            const QRect reachable = frame.adjusted(borders.left(), 0, -borders.right(), -borders.bottom());
            return screen.contains(reachable) && (seen.contains(reachable) || frame.contains(seen.center()));
        };
        EXPECT_TRUE(QTest::qWaitFor(over, kWaitMs)) << framed(window) << " not on the screen over " << seen;
        EXPECT_TRUE(QTest::qWaitFor(
            [window] {
                const QString stacking = run(QStringLiteral("xprop -root _NET_CLIENT_LIST_STACKING"));
                return stacking.trimmed().endsWith(QStringLiteral("0x%1").arg(window->winId(), 0, 16));
            },
            kWaitMs))
            << "not in front";
        EXPECT_TRUE(!keyboard
            || QTest::qWaitFor(
                [window] { return run(QStringLiteral("xdotool getactivewindow")).toULongLong() == window->winId(); },
                kWaitMs))
            << "without the keyboard";
    }

    // The modal window that opens next: checked over `origin`, then `then`
    // runs in it (and closes it).
    static void when_open(QWidget *origin, std::function<void(QWidget *)> then)
    {
        on_next_modal([origin, then](QWidget *opened) {
            expect_over(opened, origin);
            then(opened);
        });
    }

    static void escape(QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); }

    // Keys as the keyboard sends them to the window in front.
    static void key(const char *keys)
    {
        run(QStringLiteral("xdotool key --delay 40 %1").arg(QString::fromLatin1(keys)));
    }
};

// Every window opens over the one it is asked from, on the screen, in front
// with the keyboard, the page standing partly off the screen; the help
// closes on Escape and on Ctrl+W.
TEST_F(Desktop, EveryWindowOpensOverTheWindowItComesFrom)
{
    globals::app_help_file() = QStringLiteral(TRESSEL_HELP_COLLECTION);
    take(make_form({ { "email", "text" } }));
    QWidget *first = window(WizardPage::frmStep1);
    show_page(first);
    drag(first, { 560, 470 });
    first->hide();
    // Every question is answered Yes, so each window asked for opens.
    MyMessage::set_responder([](const QString &, int buttons, int) { return buttons == 1 ? 4 : 1; });
    const auto show = [first](WizardPage page) {
        WizardWindow *shown = window(page);
        shown->take_place_of(*first);
        show_page(shown);
        settled(shown);
        return shown;
    };
    int closed = 0;
    const auto close_help = [&closed](QWidget *from) {
        QWidget *help = globals::help_viewer()->window();
        expect_over(help, from);
        key(++closed % 2 ? "Escape" : "ctrl+w");
        EXPECT_TRUE(QTest::qWaitFor([help] { return !help->isVisible(); }, kWaitMs));
    };

    const std::tuple<WizardPage, const char *, const char *> rows[] = {
        // page, what is clicked there, and in the window that opens ("": nothing)
        { WizardPage::frmStep1, "cmdCancel", "" }, // Save as of the output page, never shown yet
        { WizardPage::frmStep1, "cmdHelp", "" },
        { WizardPage::frmStep2, "cmdHelp", "" },
        { WizardPage::frmStep3, "cmdHelp", "" },
        { WizardPage::frmStep4, "cmdHelp", "" },
        { WizardPage::frmstep5, "cmdHelp", "" },
        { WizardPage::frmstep6a, "cmdHelp", "" },
        { WizardPage::frmstep6b, "cmdHelp", "" },
        { WizardPage::frmStep7, "cmdHelp", "" },
        { WizardPage::frmStep1, "Browse", "" },
        { WizardPage::frmStep1, "cmdAbout", "" },
        { WizardPage::frmStep2, "Browse", "color" }, // the font, and its colour
        { WizardPage::frmStep3, "cmdMultipleRecipient", "" },
        { WizardPage::frmStep4, "personalize", "" },
        { WizardPage::frmStep7, "headerbrowse", "" },
        { WizardPage::frmStep7, "Browse", "NewFolder" }, // the folder, and the new folder's name
        { WizardPage::frmStep7, "cmdIP", "" },
    };
    find<QAbstractButton>(window(WizardPage::frmStep7), "chkHeader")->setChecked(true);
    for (const auto &[page, control, inner] : rows) {
        QWidget *shown = show(page);
        SCOPED_TRACE(shown->objectName().toStdString() + " " + control);
        const bool help = qstrcmp(control, "cmdHelp") == 0;
        if (!help) {
            when_open(shown, [inner = inner](QWidget *opened) {
                if (*inner) {
                    when_open(opened, escape);
                    click(opened, inner);
                }
                escape(opened);
            });
        }
        click(shown, control);
        if (help)
            close_help(shown);
        shown->hide();
    }

    QWidget *shown = show(WizardPage::frmStep1);
    frmWait::instance().show();
    expect_over(&frmWait::instance(), shown, false);
    frmWait::instance().hide();
    QTemporaryDir folder;
    const QString forms = folder.filePath(QStringLiteral("forms.html"));
    write_file(forms, "<form><input name=a></form><form><input name=b></form>");
    CommonDialog::script(CommonDialog::Answer::chosen_file(forms));
    when_open(shown, escape); // the form chooser
    click(shown, "Browse");
    when_open(shown, escape);
    frmStart(shown).exec();
    when_open(shown, escape);
    frmSaveOption(shown).exec();
    shown->hide();

    // The task report, its help and its save dialog.
    shown = show(WizardPage::frmStep7);
    globals::help_viewer().reset();
    when_open(shown, [&close_help](QWidget *report) {
        QWidget *link = find<QWidget>(report, "lblHelp");
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        close_help(report);
        when_open(report, escape);
        click(report, "cmdsave");
        escape(report);
    });
    frmAction(shown).exec();
    globals::help_viewer().reset();
}

// The keyboard as a person uses it: a page opens at its first box; on the
// MySQL page the host typed, Tab, and the port lands in Port, the user
// next, and Shift+Tab goes back the same way; Enter on a focused Next moves
// on as a click does.
TEST_F(Desktop, KeysGoWhereTheyStandOnTheScreen)
{
    take(make_form({ { "email", "text" } }));
    WizardWindow *mysql = window(WizardPage::frmstep6a);
    show_page(mysql);
    settled(mysql);
    const auto focused = [](QWidget *page, const char *name) {
        return QTest::qWaitFor([&] { return QApplication::focusWidget() == find<QWidget>(page, name); }, kWaitMs);
    };
    ASSERT_TRUE(focused(mysql, "txtHost"));
    key("ctrl+a");
    run(QStringLiteral("xdotool type --delay 40 db.example.org"));
    key("Tab");
    run(QStringLiteral("xdotool type --delay 40 3307"));
    key("Tab");
    run(QStringLiteral("xdotool type --delay 40 admin"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return find<QLineEdit>(mysql, "txtUser")->text() == "admin"; }, kWaitMs));
    EXPECT_EQ(find<QLineEdit>(mysql, "txtHost")->text(), QStringLiteral("db.example.org"));
    EXPECT_EQ(find<QLineEdit>(mysql, "txtport")->text(), QStringLiteral("3307"));
    key("shift+Tab");
    EXPECT_TRUE(focused(mysql, "txtport"));
    key("shift+Tab");
    EXPECT_TRUE(focused(mysql, "txtHost"));
    mysql->hide();

    QWidget *first = window(WizardPage::frmStep1);
    show_page(first);
    settled(first);
    ASSERT_TRUE(focused(first, "optLoadHtml"));
    key("shift+Tab shift+Tab shift+Tab"); // back past Help and Cancel
    ASSERT_TRUE(focused(first, "cmdNext"));
    key("Return");
    EXPECT_TRUE(QTest::qWaitFor([] { return visible_page() == WizardPage::frmStep2; }, kWaitMs));
}

} // namespace

// Where windows go under a window manager (offscreen none can go astray).
#include "WizardTest.h"

#include "wizard/HTMLHelpViewer.h"
#include "wizard/MyMessage.h"
#include "wizard/WizardWindow.h"
#include "wizard/gui_globals.h"

#include <QAbstractButton>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

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
        [window] { return on_screen(window) == window->geometry() && window->frameGeometry() != window->geometry(); },
        kWaitMs))
        << window->objectName().toStdString() << " not shown, or shown elsewhere than the program knows";
    return window->geometry();
}

// Drags a window by its title bar as a person does.
QRect drag(const QWidget *window, QPoint by)
{
    const QRect before = settled(window);
    const QPoint grip(before.center().x(), (window->frameGeometry().top() + before.top()) / 2);
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
    const QRect seen = first->frameGeometry() & screen;

    MyMessage::set_responder({});
    on_next_modal([&seen](QWidget *box) {
        settled(box);
        EXPECT_TRUE(seen.contains(box->frameGeometry())) << box->frameGeometry() << " not over " << seen;
        click(box, "CmdNo");
    });
    click(first, "cmdCancel");

    click(first, "cmdHelp");
    QWidget *help = globals::help_viewer()->window();
    settled(help);
    EXPECT_TRUE(screen.contains(help->frameGeometry()) && help->frameGeometry().contains(seen.center()))
        << help->frameGeometry() << " not whole on the screen over " << seen;
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

} // namespace

#include "ScreenPlace.h"

#include "WizardWindow.h"

#include <QApplication>
#include <QMargins>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The frame as the window system has it. The one a widget keeps is brought
// up to date only when the window moves, and a window the window manager
// frames where it was asked to stand does not move.
QMargins margins(const QWidget &widget)
{
    const QWindow *handle = widget.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

// The frame around a window that has been shown; before that, the frame of
// `like`, since the window manager frames the program's windows alike.
QMargins frame_of(const QWidget &window, const QWidget *like)
{
    const QMargins own = margins(window);
    if (!own.isNull() || !like)
        return own;
    return margins(*like);
}

// `span` long from `start`, moved to lie within [low, high] where it fits.
int clamp_start(int start, int span, int low, int high)
{
    return std::max(low, std::min(start, high - span + 1));
}

} // namespace

void set_place(QWidget &window, const QRect &geometry)
{
    window.setGeometry(geometry);
    // Qt hands a place to the window system only when it changes: a hidden
    // window already standing there would be shown wherever the window
    // manager likes. Given to the native window too, the place is ours.
    if (QWindow *handle = window.windowHandle())
        handle->setGeometry(geometry);
}

void place_over(QWidget &window, const QWidget *anchor)
{
    QScreen *screen = nullptr;
    QPoint centre;
    if (anchor) {
        centre = anchor->geometry().marginsAdded(margins(*anchor)).center();
        screen = QGuiApplication::screenAt(centre);
        if (!screen)
            screen = anchor->screen();
    }
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    if (!anchor)
        centre = area.center();

    const QMargins frame = frame_of(window, anchor);
    const QSize room = area.size().shrunkBy(frame);
    const QSize inside = window.size().boundedTo(room).expandedTo(window.minimumSize());
    QRect outer(QPoint(0, 0), inside.grownBy(frame));
    outer.moveCenter(centre);
    outer.moveTopLeft({ clamp_start(outer.left(), outer.width(), area.left(), area.right()),
        clamp_start(outer.top(), outer.height(), area.top(), area.bottom()) });
    set_place(window, outer.marginsRemoved(frame));
}

QWidget *working_window()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const auto windows = QApplication::topLevelWidgets();
    const auto page = std::find_if(windows.begin(), windows.end(),
        [](QWidget *window) { return window->isVisible() && qobject_cast<WizardWindow *>(window); });
    return page != windows.end() ? *page : nullptr;
}

#include "ScreenTabOrder.h"

#include "controls/gxButtons_H.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRect>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

namespace {

const char *const kFollowsScreen = "tressel_tab_follows_screen";

// A control, or the controls of a panel in their own order, and where it
// stands in the window.
struct Stop
{
    QRect place;
    QWidgetList controls;
};

// Rows as the eye reads them: the row of the stop that ends highest holds
// every stop that starts before that stop ends (a tall list beside it too);
// each row goes left to right.
void arrange(std::vector<Stop> &stops)
{
    std::vector<Stop> rest = std::exchange(stops, {});
    while (!rest.empty()) {
        const auto first = std::min_element(rest.begin(), rest.end(), [](const Stop &a, const Stop &b) {
            return std::pair(a.place.bottom(), a.place.left()) < std::pair(b.place.bottom(), b.place.left());
        });
        const int end = first->place.bottom() + 1;
        const auto row_end = std::stable_partition(
            rest.begin(), rest.end(), [end](const Stop &stop) { return stop.place.top() < end; });
        std::stable_sort(rest.begin(), row_end, [](const Stop &a, const Stop &b) {
            return std::pair(a.place.left(), a.place.top()) < std::pair(b.place.left(), b.place.top());
        });
        std::move(rest.begin(), row_end, std::back_inserter(stops));
        rest.erase(rest.begin(), row_end);
    }
}

QWidgetList ordered(const QWidget &container, const QWidget &window)
{
    std::vector<Stop> stops;
    for (QObject *child : container.children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow() || widget->isHidden())
            continue;
        const QRect place(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        if (widget->focusPolicy() != Qt::NoFocus)
            stops.push_back({ place, { widget } });
        else if (QWidgetList inner = ordered(*widget, window); !inner.isEmpty())
            stops.push_back({ place, std::move(inner) });
    }
    arrange(stops);
    QWidgetList controls;
    for (const Stop &stop : stops)
        controls += stop.controls;
    return controls;
}

// Whether Tab can give the control the focus now.
bool takes_tab(const QWidget &control)
{
    const QWidget *target = &control;
    while (target->focusProxy())
        target = target->focusProxy();
    return control.isVisible() && control.isEnabled() && target->isEnabled()
        && (target->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// Whether a view's current item is its last (its first, going back): Tab
// there leaves the view instead of going round to its other end.
bool at_end(const QAbstractItemView &view, bool forward)
{
    const QModelIndex current = view.currentIndex();
    const QAbstractItemModel *model = view.model();
    if (!current.isValid() || !model)
        return true;
    if (!forward)
        return current.row() == 0 && current.column() == 0;
    return current.row() == model->rowCount(view.rootIndex()) - 1
        && current.column() == model->columnCount(view.rootIndex()) - 1;
}

// Whether the control uses Tab itself: a text box that takes tabs, a view
// that moves between its items with it (up to its last), and what is open
// in a view's item (a grid cell's editor).
bool keeps_tab(const QWidget &control, const QWidget &window, bool forward)
{
    for (const QWidget *widget = &control; widget && widget != &window; widget = widget->parentWidget()) {
        if (const auto *view = qobject_cast<const QAbstractItemView *>(widget))
            return widget != &control || (view->tabKeyNavigation() && !at_end(*view, forward));
        if (const auto *text = qobject_cast<const QPlainTextEdit *>(widget))
            return !text->tabChangesFocus() && !text->isReadOnly();
        if (const auto *text = qobject_cast<const QTextEdit *>(widget))
            return !text->tabChangesFocus() && !text->isReadOnly();
    }
    return false;
}

// Which way a key moves the focus, when it is one that does.
std::optional<bool> forward_by(const QKeyEvent &key, const QWidget &control, const QWidget &window)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool forward = key.key() == Qt::Key_Tab && modifiers == Qt::NoModifier;
        if ((modifiers & ~Qt::ShiftModifier) != Qt::NoModifier || keeps_tab(control, window, forward))
            return std::nullopt;
        return forward;
    }
    // The program's buttons pass the focus on with the arrow keys.
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (!qobject_cast<const gxButtons_H *>(&control))
            return std::nullopt;
        return key.key() == Qt::Key_Right || key.key() == Qt::Key_Down;
    default:
        return std::nullopt;
    }
}

bool follows_screen(const QWidget &window)
{
    return window.property(kFollowsScreen).toBool();
}

} // namespace

void ScreenTabOrder::follow(QWidget *window)
{
    // One filter for the whole program: the keys reach the control that has
    // the focus, which may have been made after the window was.
    static QPointer<ScreenTabOrder> filter;
    if (!filter) {
        filter = new ScreenTabOrder;
        filter->setParent(qApp);
        qApp->installEventFilter(filter);
    }
    window->setProperty(kFollowsScreen, true);
}

QWidgetList ScreenTabOrder::order(QWidget *window)
{
    return ordered(*window, *window);
}

bool ScreenTabOrder::move_focus(QWidget *window, QWidget *from, bool forward)
{
    const QWidgetList controls = order(window);
    const auto current = std::find_if(controls.begin(), controls.end(),
        [from](const QWidget *control) { return control == from || control->isAncestorOf(from); });
    if (current == controls.end())
        return false;
    const qsizetype count = controls.size();
    const qsizetype at = std::distance(controls.begin(), current);
    for (qsizetype step = 1; step < count; ++step) {
        QWidget *next = controls.at((at + (forward ? step : count - step)) % count);
        if (takes_tab(*next)) {
            next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
    }
    return true;
}

bool ScreenTabOrder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show && event->type() != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !follows_screen(*widget->window()))
        return false;
    if (event->type() == QEvent::Show) {
        // A window opening for the first time, or that had nothing to focus
        // before, starts at its first control.
        if (widget->isWindow() && !widget->focusWidget()) {
            const QWidgetList controls = order(widget);
            const auto first = std::find_if(
                controls.begin(), controls.end(), [](const QWidget *control) { return takes_tab(*control); });
            if (first != controls.end())
                (*first)->setFocus(Qt::OtherFocusReason);
        }
        return false;
    }
    // The key reaches the control with the focus first; it passes it on to
    // the window only when it does not use it.
    if (widget != QApplication::focusWidget())
        return false;
    const std::optional<bool> forward = forward_by(*static_cast<QKeyEvent *>(event), *widget, *widget->window());
    return forward && move_focus(widget->window(), widget, *forward);
}

#pragma once

#include <QObject>
#include <QWidgetList>

class QWidget;

// Tab and Shift+Tab, and the arrow keys on the program's buttons, visit the
// controls of a window as they stand on the screen: left to right, then top
// to bottom. The controls of a panel come one after another, where the
// panel stands. The order is read from the screen at each key, so controls
// shown, hidden, enabled or moved since the window opened count where and
// as they are; a window opens with the focus on its first control.
class ScreenTabOrder final : public QObject
{
    Q_OBJECT

public:
    // Makes the window's keyboard order follow the screen.
    static void follow(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ScreenTabOrder() = default;

    // The controls of `window` that show and can take the focus, in the
    // order the screen gives.
    static QWidgetList order(QWidget *window);

    // Gives the focus to the control after (or before) the one holding it;
    // false when `from` is not one of the window's controls.
    static bool move_focus(QWidget *window, QWidget *from, bool forward);
};

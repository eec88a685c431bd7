#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QDialog;
class QWidget;
class gxButtons_H;

// The keyboard in a dialog as on any desktop. Enter on a button presses it
// (the button sees to that, see make_button); Enter elsewhere presses the
// button the box it was typed in belongs to (an Add box presses Add), else
// the dialog's default button; Escape presses the cancelling button, or
// closes a dialog that has none. Tab follows the controls as they stand on
// the screen.
class DialogKeys final : public QObject
{
    Q_OBJECT

public:
    DialogKeys(QDialog *dialog, gxButtons_H *enter, gxButtons_H *escape = nullptr);

    // The buttons Enter and Escape press (null: none; Escape then closes).
    void set_buttons(gxButtons_H *enter, gxButtons_H *escape);
    // Enter typed in `box` does `action` instead; an empty action leaves
    // Enter to the box.
    void on_enter_in(QWidget *box, std::function<void()> action);
    void on_enter_in(QWidget *box, gxButtons_H *button);

    // Presses a button as a click does, when it can be pressed.
    static bool press(gxButtons_H *button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enter();

    QDialog *m_dialog;
    QPointer<gxButtons_H> m_enter;
    QPointer<gxButtons_H> m_escape;
    QHash<QWidget *, std::function<void()>> m_boxes;
};

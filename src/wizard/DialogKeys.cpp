#include "DialogKeys.h"

#include "ScreenTabOrder.h"

#include "controls/gxButtons_H.h"

#include <QDialog>
#include <QKeyEvent>

DialogKeys::DialogKeys(QDialog *dialog, gxButtons_H *enter, gxButtons_H *escape)
    : QObject(dialog)
    , m_dialog(dialog)
    , m_enter(enter)
    , m_escape(escape)
{
    dialog->installEventFilter(this);
    ScreenTabOrder::follow(dialog);
}

void DialogKeys::set_buttons(gxButtons_H *enter, gxButtons_H *escape)
{
    m_enter = enter;
    m_escape = escape;
}

void DialogKeys::on_enter_in(QWidget *box, std::function<void()> action)
{
    m_boxes.insert(box, std::move(action));
}

void DialogKeys::on_enter_in(QWidget *box, gxButtons_H *button)
{
    on_enter_in(box, [button] { press(button); });
}

bool DialogKeys::press(gxButtons_H *button)
{
    if (!button || !button->isVisible() || !button->isEnabled())
        return false;
    emit button->Click();
    return true;
}

bool DialogKeys::eventFilter(QObject *watched, QEvent *event)
{
    // Keys the focused control left unused reach the dialog last.
    if (watched != m_dialog || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        enter();
        return true;
    case Qt::Key_Escape:
        if (!press(m_escape))
            m_dialog->reject();
        return true;
    default:
        return false;
    }
}

void DialogKeys::enter()
{
    // The box typed in, or the one a composite control (an editable combo
    // box) holds it in; the dialog itself last.
    QWidget *widget = m_dialog->focusWidget() ? m_dialog->focusWidget() : m_dialog;
    for (;; widget = widget->parentWidget()) {
        const auto box = m_boxes.constFind(widget);
        if (box != m_boxes.constEnd()) {
            if (*box)
                (*box)();
            return;
        }
        // A button pressed itself.
        if (qobject_cast<gxButtons_H *>(widget))
            return;
        if (widget == m_dialog || !widget->parentWidget())
            break;
    }
    press(m_enter);
}

#include "WizardButtons.h"

#include "controls/WizardButtonLook.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

namespace {

// Presses the button as Space does: its pressed look, its Click, and the key
// it reports to a window that listens for Space.
void press_as_space(gxButtons_H *button)
{
    const QPointer<gxButtons_H> pressed(button);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(pressed, &down);
    if (!pressed)
        return;
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(pressed, &up);
}

// Never smaller than the common button, nor than its caption needs.
void fit_caption(gxButtons_H *button)
{
    button->setMinimumSize(button->sizeHint().expandedTo(QSize(82, 24)));
}

} // namespace

gxButtons_H *make_button(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new gxButtons_H(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    WizardButtonLook().applyTo(*button);
    fit_caption(button);
    // A caption or font changed later ("Generate" becomes "Save Project")
    // keeps fitting.
    QObject::connect(button, &gxButtons_H::PropertyChanged, button, [button](const QString &key) {
        if (key == QLatin1String("Caption") || key == QLatin1String("Font"))
            fit_caption(button);
    });
    // Enter on the button does whatever Space does there, on a page as in a
    // dialog; the control itself leaves Enter to its window, but not once it
    // has clicked with it.
    QObject::connect(button, &gxButtons_H::KeyDown, button, [button](int key, int shift) {
        if (key == 13 && shift == 0)
            press_as_space(button);
    });
    return button;
}

#include "WizardButtons.h"

#include "controls/WizardButtonLook.h"

namespace {

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
    return button;
}

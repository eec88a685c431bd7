#include "WizardButtons.h"

#include "controls/WizardButtonLook.h"

gxButtons_H *make_button(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new gxButtons_H(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    WizardButtonLook().applyTo(*button);
    button->setMinimumSize(82, 24);
    return button;
}

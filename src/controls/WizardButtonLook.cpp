#include "WizardButtonLook.h"

#include "gxButtons_H.h"

#include <QFontDatabase>

void WizardButtonLook::applyTo(gxButtons_H &button) const
{
    button.set_DelayDrawing(true);
    button.set_ButtonStyle(7);
    button.set_CaptionAlign(2);
    button.set_GradientMode(1);
    button.set_GradientColor(GradientColor);
    button.set_BackColor(BackColor);
    button.set_ForeColor(ForeColor);
    // The hover colours and locks last, so that the colour Lets above do not
    // move them.
    button.set_HoverColorLocks(HoverColorLocks);
    button.set_HoverBackColor(HoverBackColor);
    button.set_HoverForeColor(HoverForeColor);
    button.set_HoverColorLocks(HoverColorLocks);
    button.set_Font(font(pointSize));
    button.set_DelayDrawing(false);
}

QFont WizardButtonLook::font(qreal pointSize)
{
    // Looked up once: asking for a family that is not installed sends every
    // new font of a button on a search through all the fonts there are.
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("Times New Roman"))
        ? QStringLiteral("Times New Roman")
        : QStringLiteral("Liberation Serif");
    QFont serif(family);
    serif.setStyleHint(QFont::Serif);
    serif.setPointSizeF(pointSize);
    return serif;
}

#pragma once

#include "ButtonColors.h"

#include <QFont>

class gxButtons_H;

// The look every button of the wizard's windows shares: the soft bevel
// (style 7) with a left-to-right gradient from blue to a pale face, a
// dark grey caption that turns yellow under the mouse, and a Times New Roman
// family font. Pages that use the other stored variants change the fields.
struct WizardButtonLook
{
    OleColor BackColor = 0xCB9654; // or 0xD08737
    OleColor GradientColor = 0xFEF3E5;
    OleColor HoverBackColor = 0xFEF3E5;
    OleColor ForeColor = 0x404040; // or 0 with a hover colour of 0
    OleColor HoverForeColor = 0x00FFFF;
    int HoverColorLocks = 3;
    qreal pointSize = 9.0; // 8.25, 9 or 9.75

    void applyTo(gxButtons_H &button) const;

    // Times New Roman, or the closest serif font installed (Liberation
    // Serif has the same metrics).
    static QFont font(qreal pointSize);
};

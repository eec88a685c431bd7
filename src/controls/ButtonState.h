#pragma once

#include "ButtonColors.h"
#include "ButtonPicture.h"

#include <QFont>
#include <QRect>
#include <QString>

// A rectangle as the button's layout and painter work with it: right and
// bottom lie one past the last pixel.
struct ButtonBox
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    ButtonBox moved(int dx, int dy) const { return ButtonBox { left + dx, top + dy, right + dx, bottom + dy }; }
    QRect toRect() const { return QRect(left, top, right - left, bottom - top); }
    bool operator==(const ButtonBox &) const = default;
};

// Everything a frame of the push button depends on: its stored properties
// and the state derived from them. The control keeps one and the painter
// reads it, so a frame can be drawn anywhere without the widget.
struct ButtonState
{
    // Look flags.
    static constexpr quint16 Focused = 1;
    static constexpr quint16 Pressed = 2;
    static constexpr quint16 MouseOver = 4;

    // Properties.
    int ButtonStyle = 0;
    QString Caption;
    int CaptionAlign = 2;
    int CaptionStyle = 0;
    int ButtonShape = 0;
    ButtonPicture Picture;
    int PictureAlign = 0;
    bool ShowFocusRect = true;
    OleColor ForeColor = ButtonColors::SystemButtonText;
    OleColor BackColor = ButtonColors::SystemButtonFace;
    OleColor GradientColor = 0;
    int GradientMode = 0;
    int HoverColorLocks = 0;
    OleColor HoverForeColor = 0;
    OleColor HoverBackColor = ButtonColors::SystemButtonFace;
    bool Enabled = true; // as the widget is, parent included

    // Derived state.
    quint16 StateBits = 0;
    int PicturePixels = 16;
    int PictureWidth = 0;
    int PictureHeight = 0;
    bool PictureIsIcon = false;
    OleColor FaceRGB = 0;
    OleColor FaceDarkRGB = 0;
    OleColor HoverFaceRGB = 0;
    OleColor ParentBackRGB = 0;
    bool DrawingHeld = false;
    bool HoverTimerOn = false;
    QFont MemFont; // the caption font at its pixel height
    ButtonBox CaptionRect;
    ButtonBox PictureRect;
    int OutlineLeftX = 0;
    int OutlineRightX = 0;

    // Answers questions about the look flags: each question asked narrows the
    // answer, and code reports the last flag asked about (1 focused, 2
    // pressed with mouse over, 3 hover timer running, else 0).
    bool GetState(qint16 &code, bool pressed, bool mouseOver, bool focused, bool timer) const;

    // Pressed with the mouse over the button: the look of a button held down.
    bool pressedLook() const { return (StateBits & (Pressed | MouseOver)) == (Pressed | MouseOver); }
    bool hasPicture() const { return PictureWidth + PictureHeight > 0; }
    bool isElliptic() const { return ButtonShape >= 4 && ButtonShape <= 6; }

    // The part of a face of the given width between slanted sides: usable
    // width, its left offset and its right limit.
    struct Span
    {
        int usable = 0;
        int left = 0;
        int right = 0;
    };
    Span usableSpan(int width) const;

    // The caption as drawn: each "||" is a line break.
    QString drawnCaption() const;
};

#pragma once

#include "ButtonColors.h"
#include "ButtonPicture.h"
#include "ButtonState.h"
#include "PropertyBag.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

// The program's own push button: every button of every page and dialog.
// It draws itself (eight face styles, seven shapes, solid or gradient faces,
// shaded captions, pictures) into an off-screen image that reaches the screen
// in one piece, tracks the mouse entering and leaving it with a 50 ms timer,
// and keeps its properties in a window's property bag.
//
// A property X reads with X() and changes with set_X(); a value outside a
// property's range is ignored. Each accepted change emits PropertyChanged
// with the property's bag key.
class gxButtons_H final : public QWidget
{
    Q_OBJECT

public:
    explicit gxButtons_H(QWidget *parent = nullptr);
    explicit gxButtons_H(const QString &caption, QWidget *parent = nullptr);
    ~gxButtons_H() override;

    // The caption of a new button; its first resize replaces it with the
    // button's object name.
    static QString SentinelCaption();

    // Face style 0 to 7 (7 is the wizard's soft bevel).
    int ButtonStyle() const { return m_state.ButtonStyle; }
    void set_ButtonStyle(int value);

    // "&" marks the access key (the last one counts); "||" breaks the line.
    QString Caption() const { return m_state.Caption; }
    void set_Caption(const QString &text);

    // 0 left, 1 right, 2 centre. Only centre is accepted while a picture sits
    // top or bottom centre.
    int CaptionAlign() const { return m_state.CaptionAlign; }
    void set_CaptionAlign(int value);

    // 0 plain, 1 and 2 shaded.
    int CaptionStyle() const { return m_state.CaptionStyle; }
    void set_CaptionStyle(int value);

    // 0 rectangle, 1 to 3 slanted sides (left, right, both), 4 to 6 ellipse.
    int ButtonShape() const { return m_state.ButtonShape; }
    void set_ButtonShape(int value);

    ButtonPicture Picture() const { return m_state.Picture; }
    void set_Picture(const ButtonPicture &picture);

    // 0 left edge, 1 left of the caption, 2 right edge, 3 right of the
    // caption, 4 top centre, 5 bottom centre.
    int PictureAlign() const { return m_state.PictureAlign; }
    void set_PictureAlign(int value);

    // The button's own setting (a disabled parent disables it too).
    bool Enabled() const;
    void set_Enabled(bool value);

    bool ShowFocusRect() const { return m_state.ShowFocusRect; }
    void set_ShowFocusRect(bool value);

    // 0 to 4: 16, 24, 32 pixels; 40 covers the button; 48 fits inside it.
    int PictureSize() const;
    void set_PictureSize(int value);

    // The pointer codes 0 to 15 (0 default, 1 arrow, 11 hourglass, ...) and
    // 99 for MouseIcon.
    int MousePointer() const { return m_MousePointer; }
    void set_MousePointer(int value);

    ButtonPicture MouseIcon() const { return m_MouseIcon; }
    void set_MouseIcon(const ButtonPicture &icon);

    QFont Font() const { return font(); }
    void set_Font(const QFont &value);

    // Bit flags 2 bold, 4 italic, 8 underline.
    int FontStyle() const;
    void set_FontStyle(int value);

    OleColor ForeColor() const { return m_state.ForeColor; }
    void set_ForeColor(OleColor value);

    OleColor BackColor() const { return m_state.BackColor; }
    void set_BackColor(OleColor value);

    OleColor GradientColor() const { return m_state.GradientColor; }
    void set_GradientColor(OleColor value);

    // 0 none, 1 left to right, 2 right to left, 3 top to bottom, 4 bottom to top.
    int GradientMode() const { return m_state.GradientMode; }
    void set_GradientMode(int value);

    // Resets the colours in a form designer only; a running program has none.
    bool ResetDefaultColors() const { return false; }
    void set_ResetDefaultColors(bool value);

    // Which hover colours follow the normal ones: 0 both, 1 only the caption
    // colour, 2 only the face, 3 neither.
    int HoverColorLocks() const { return m_state.HoverColorLocks; }
    void set_HoverColorLocks(int value);

    OleColor HoverForeColor() const { return m_state.HoverForeColor; }
    void set_HoverForeColor(OleColor value);

    OleColor HoverBackColor() const { return m_state.HoverBackColor; }
    void set_HoverBackColor(OleColor value);

    // Full redraw.
    void Refresh();

    // True holds redraws; False releases them and redraws once.
    void set_DelayDrawing(bool value);

    // The stored properties under their bag keys.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // The access key the caption gave (one character, or empty).
    QString AccessKeys() const { return m_accessKey; }

    // Drawing state: look flags, colours, layout.
    const ButtonState &state() const;

    // Draws a frame of the button as it now looks into image, which is made
    // the button's size first when it is not. A caption-only frame paints over
    // what image holds.
    void drawFace(QImage &image, bool full = true) const;
    // The off-screen copy the screen shows; a button never shown yet has
    // drawn none.
    const QImage &MemDC() const { return m_MemDC; }

    QSize sizeHint() const override;

signals:
    // Button: 1 left, 2 right, 4 middle. Shift: 1 Shift, 2 Ctrl, 4 Alt.
    // X and Y in pixels of the button.
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    // Key codes of the classic virtual keys (37 to 40 arrows, 32 Space, ...).
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    // True when the mouse enters the button, False when it has left.
    void MouseOnButton(bool entered);
    void Click();
    void DoubleClick(int Button);
    void PropertyChanged(const QString &key);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void PropertyRecalc(const QString &what);
    void CalcLayout();
    void SetButtonRegion();
    void RedrawButton(bool full);
    void renderMemDC(bool full);
    void TimerCheck();
    void handleResize();
    // Does the layout work that waited while the button was hidden.
    void bringUpToDate();
    // True (and `pending` set) when work is to wait until the button shows.
    bool putOff(bool &pending);
    void layOutHidden() const;
    void handleMouseDown(int button, int shift, QPointF position);
    void handleClick();
    void accessKeyPressed();
    void updateAccessKey(const QString &caption);
    void applyMousePointer();
    OleColor containerBackColor() const;

    // Holding batches changes into one redraw; a hold taken inside another
    // leaves the outer one in place.
    bool holdDrawing();
    void releaseDrawing(bool wasHeld);

    ButtonState m_state;
    QImage m_MemDC;
    QTimer m_hoverTimer;
    int m_lastMouseButton = 0;
    int m_clickButton = 0; // the button whose release is the toolkit's click
    quint32 m_clicks = 0; // Click events raised so far, by whichever side
    bool m_resizePending = false;
    // Work put off while the button is hidden.
    bool m_layoutPending = false;
    bool m_regionPending = false;
    bool m_drawPending = false;
    bool m_layingOutHidden = false;
    QString m_accessKey;
    int m_shortcutId = 0;
    int m_MousePointer = 0;
    ButtonPicture m_MouseIcon;
};

#include "gxButtons_H.h"

#include "ButtonPainter.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QThread>

#include <algorithm>

using namespace ButtonColors;

namespace {

constexpr int Margin = 6;
constexpr int TwipsPerPixel = 15;
constexpr int HoverPeriodMs = 50;
constexpr int FlashMs = 100;

// Bag keys.
const QString KeyCaption = QStringLiteral("Caption");
const QString KeyCapAlign = QStringLiteral("CapAlign");
const QString KeyBackStyle = QStringLiteral("BackStyle");
const QString KeyShape = QStringLiteral("Shape");
const QString KeyGradient = QStringLiteral("Gradient");
const QString KeyGradientColor = QStringLiteral("cGradient");
const QString KeyFont = QStringLiteral("Font");
const QString KeyFore = QStringLiteral("cFore");
const QString KeyFocus = QStringLiteral("Focus");
const QString KeyImage = QStringLiteral("Image");
const QString KeyImgSize = QStringLiteral("ImgSize");
const QString KeyImgAlign = QStringLiteral("ImgAlign");
const QString KeyForeHover = QStringLiteral("cFHover");
const QString KeyEnabled = QStringLiteral("Enabled");
const QString KeyBack = QStringLiteral("cBack");
const QString KeyBackHover = QStringLiteral("cBHover");
const QString KeyLockHover = QStringLiteral("LockHover");
const QString KeyCapStyle = QStringLiteral("CapStyle");
const QString KeyMouseIcon = QStringLiteral("mIcon");
const QString KeyMousePointer = QStringLiteral("mPointer");

// Colours go into the bag as signed 32-bit integers.
QVariant colourValue(OleColor colour)
{
    return QVariant(qint32(colour));
}
OleColor colourFrom(const QVariant &value)
{
    return OleColor(quint32(value.toLongLong() & 0xFFFFFFFF));
}
QVariant pictureValue(const ButtonPicture &picture)
{
    return QVariant::fromValue(picture);
}
ButtonPicture pictureFrom(const QVariant &value)
{
    return value.value<ButtonPicture>();
}

// Modifier flags as the events report them: 1 Shift, 2 Ctrl, 4 Alt.
int shiftFlags(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int buttonCodes(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

enum VirtualKey { VkShift = 16, VkSpace = 32, VkLeft = 37, VkUp = 38, VkRight = 39, VkDown = 40 };

// The classic virtual-key code of a key. Letters, digits and Space share
// their codes with Qt's; other printable keys keep Qt's (ASCII) code.
int keyCode(int qtKey)
{
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return VkShift;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return qtKey < 256 ? qtKey : 0;
    }
}

bool validPointer(int code)
{
    return (code >= 0 && code <= 15) || code == 99;
}

Qt::CursorShape cursorShape(int code)
{
    switch (code) {
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

gxButtons_H::gxButtons_H(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_hoverTimer.setInterval(HoverPeriodMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &gxButtons_H::TimerCheck);
    // Clicks raised by the control or for it by its window alike.
    connect(this, &gxButtons_H::Click, this, [this] { ++m_clicks; });

    m_state.Caption = SentinelCaption();
    m_state.CaptionAlign = 2;
    m_state.ShowFocusRect = true;
    m_state.BackColor = SystemButtonFace;
    set_HoverBackColor(SystemButtonFace);
    m_state.Enabled = isEnabled();
    m_state.ParentBackRGB = containerBackColor();
    PropertyRecalc(QStringLiteral("Font"));
    PropertyRecalc(QStringLiteral("BackColor"));
}

gxButtons_H::gxButtons_H(const QString &caption, QWidget *parent)
    : gxButtons_H(parent)
{
    set_Caption(caption);
}

gxButtons_H::~gxButtons_H() = default;

QString gxButtons_H::SentinelCaption()
{
    return QChar(0xF6) + QStringLiteral("Ostrane_New") + QChar(0xEA);
}

// ---------------------------------------------------------------------------
// Properties

void gxButtons_H::set_ButtonStyle(int value)
{
    if (value < 0 || value > 7)
        return;
    m_state.ButtonStyle = value;
    SetButtonRegion();
    CalcLayout();
    PropertyRecalc(QStringLiteral("BackColor"));
    Refresh();
    emit PropertyChanged(KeyBackStyle);
}

void gxButtons_H::set_Caption(const QString &text)
{
    updateAccessKey(text);
    m_state.Caption = text;
    CalcLayout();
    Refresh();
    emit PropertyChanged(KeyCaption);
}

void gxButtons_H::set_CaptionAlign(int value)
{
    if (value < 0 || value > 2)
        return;
    // A picture above or below the caption keeps it centred.
    if (value != 2 && m_state.PictureAlign >= 4 && m_state.hasPicture())
        return;
    m_state.CaptionAlign = value;
    CalcLayout();
    Refresh();
    emit PropertyChanged(KeyCapAlign);
}

void gxButtons_H::set_CaptionStyle(int value)
{
    if (value < 0 || value > 2)
        return;
    m_state.CaptionStyle = value;
    emit PropertyChanged(KeyCapStyle);
    if (!m_state.Caption.isEmpty()) {
        CalcLayout();
        Refresh();
    }
}

void gxButtons_H::set_ButtonShape(int value)
{
    if (value < 0 || value > 6)
        return;
    m_state.ButtonShape = value;
    SetButtonRegion();
    const bool wasHeld = holdDrawing();
    // Both sides slanted leave room only for a centred caption.
    if (value == 3 && m_state.CaptionAlign != 2)
        set_CaptionAlign(2);
    else
        CalcLayout();
    releaseDrawing(wasHeld);
    emit PropertyChanged(KeyShape);
}

void gxButtons_H::set_Picture(const ButtonPicture &picture)
{
    m_state.Picture = picture;
    if (m_state.PicturePixels == 0)
        m_state.PicturePixels = 16;
    PropertyRecalc(QStringLiteral("Picture"));
    CalcLayout();
    Refresh();
    emit PropertyChanged(KeyImage);
}

void gxButtons_H::set_PictureAlign(int value)
{
    if (value < 0 || value > 5)
        return;
    m_state.PictureAlign = value;
    if (value >= 4)
        set_CaptionAlign(2);
    CalcLayout();
    Refresh();
    emit PropertyChanged(KeyImgAlign);
}

bool gxButtons_H::Enabled() const
{
    return !testAttribute(Qt::WA_ForceDisabled);
}

void gxButtons_H::set_Enabled(bool value)
{
    if (value == Enabled())
        return;
    setEnabled(value); // the look follows in changeEvent
    emit PropertyChanged(KeyEnabled);
}

void gxButtons_H::set_ShowFocusRect(bool value)
{
    m_state.ShowFocusRect = value;
    if (m_state.StateBits & ButtonState::Focused) {
        m_state.StateBits &= ~ButtonState::Focused;
        Refresh();
    }
    emit PropertyChanged(KeyFocus);
}

int gxButtons_H::PictureSize() const
{
    const int pixels = m_state.PicturePixels == 0 ? 16 : m_state.PicturePixels;
    return pixels / 8 - 2;
}

void gxButtons_H::set_PictureSize(int value)
{
    if (value < 0 || value > 4)
        return;
    m_state.PicturePixels = (value + 2) * 8;
    CalcLayout();
    Refresh();
    emit PropertyChanged(KeyImgSize);
}

void gxButtons_H::set_MousePointer(int value)
{
    if (!validPointer(value))
        return;
    m_MousePointer = value;
    applyMousePointer();
    emit PropertyChanged(KeyMousePointer);
}

void gxButtons_H::set_MouseIcon(const ButtonPicture &icon)
{
    m_MouseIcon = icon;
    if (icon.isNone()) {
        applyMousePointer();
        return;
    }
    set_MousePointer(99);
    emit PropertyChanged(KeyMouseIcon);
}

void gxButtons_H::set_Font(const QFont &value)
{
    setFont(value); // measured and redrawn in changeEvent
    emit PropertyChanged(KeyFont);
}

int gxButtons_H::FontStyle() const
{
    const QFont current = font();
    return (current.bold() ? 2 : 0) + (current.italic() ? 4 : 0) + (current.underline() ? 8 : 0);
}

void gxButtons_H::set_FontStyle(int value)
{
    QFont styled = font();
    styled.setBold((value & 2) != 0);
    styled.setItalic((value & 4) != 0);
    styled.setUnderline((value & 8) != 0);
    setFont(styled);
    emit PropertyChanged(KeyFont);
}

void gxButtons_H::set_ForeColor(OleColor value)
{
    if (value == m_state.ForeColor)
        return;
    m_state.ForeColor = value;
    if (m_state.HoverColorLocks == 0 || m_state.HoverColorLocks == 1)
        set_HoverForeColor(value);
    Refresh();
    emit PropertyChanged(KeyFore);
}

void gxButtons_H::set_BackColor(OleColor value)
{
    if (value == m_state.BackColor)
        return;
    m_state.BackColor = value;
    if (m_state.HoverColorLocks == 0 || m_state.HoverColorLocks == 2)
        set_HoverBackColor(m_state.GradientMode != 0 ? m_state.GradientColor : value);
    PropertyRecalc(QStringLiteral("BackColor"));
    Refresh();
    emit PropertyChanged(KeyBack);
}

void gxButtons_H::set_GradientColor(OleColor value)
{
    if ((m_state.HoverColorLocks == 0 || m_state.HoverColorLocks == 2) && m_state.GradientMode > 0)
        m_state.HoverBackColor = value;
    m_state.GradientColor = value;
    PropertyRecalc(QStringLiteral("BackColor"));
    if (m_state.GradientMode != 0)
        Refresh();
    emit PropertyChanged(KeyGradientColor);
}

void gxButtons_H::set_GradientMode(int value)
{
    if (value < 0 || value > 4)
        return;
    m_state.GradientMode = value;
    if (m_state.HoverColorLocks == 0 || m_state.HoverColorLocks == 2)
        m_state.HoverBackColor = value == 0 ? m_state.BackColor : m_state.GradientColor;
    PropertyRecalc(QStringLiteral("BackColor"));
    Refresh();
    emit PropertyChanged(KeyGradient);
}

void gxButtons_H::set_ResetDefaultColors(bool value)
{
    // The reset belongs to a form designer; at run time nothing changes.
    Q_UNUSED(value);
}

void gxButtons_H::set_HoverColorLocks(int value)
{
    m_state.HoverColorLocks = value;
    if (value == 0 || value == 2) {
        m_state.HoverBackColor = m_state.GradientMode != 0 ? m_state.GradientColor : m_state.BackColor;
        emit PropertyChanged(KeyBackHover);
    }
    if (value == 0 || value == 1) {
        m_state.HoverForeColor = m_state.ForeColor;
        emit PropertyChanged(KeyForeHover);
    }
    PropertyRecalc(QStringLiteral("BackColor"));
    emit PropertyChanged(KeyLockHover);
}

void gxButtons_H::set_HoverForeColor(OleColor value)
{
    if (value == m_state.HoverForeColor)
        return;
    m_state.HoverForeColor = value;
    emit PropertyChanged(KeyForeHover);
    // A hover caption colour of its own stops following ForeColor.
    if (value != m_state.ForeColor) {
        if (m_state.HoverColorLocks == 0)
            m_state.HoverColorLocks = 2;
        else if (m_state.HoverColorLocks == 1)
            m_state.HoverColorLocks = 3;
        emit PropertyChanged(KeyForeHover);
    }
}

void gxButtons_H::set_HoverBackColor(OleColor value)
{
    if (value == m_state.HoverBackColor)
        return;
    m_state.HoverBackColor = value;
    // A hover face of its own stops following the face.
    if (value != m_state.BackColor) {
        if (m_state.HoverColorLocks == 0)
            m_state.HoverColorLocks = 1;
        else if (m_state.HoverColorLocks == 2)
            m_state.HoverColorLocks = 3;
    }
    PropertyRecalc(QStringLiteral("BackColor"));
    emit PropertyChanged(KeyBackHover);
}

void gxButtons_H::Refresh()
{
    RedrawButton(true);
}

void gxButtons_H::set_DelayDrawing(bool value)
{
    if (value)
        m_state.DrawingHeld = true;
    else
        releaseDrawing(false);
}

bool gxButtons_H::holdDrawing()
{
    const bool wasHeld = m_state.DrawingHeld;
    m_state.DrawingHeld = true;
    return wasHeld;
}

void gxButtons_H::releaseDrawing(bool wasHeld)
{
    if (wasHeld)
        return;
    m_state.DrawingHeld = false;
    // A resize that came while drawing was held still needs its handling.
    if (m_resizePending)
        handleResize();
    else
        Refresh();
}

// ---------------------------------------------------------------------------
// Property bag

void gxButtons_H::ReadProperties(const PropertyBag &bag)
{
    m_state.DrawingHeld = true;
    m_state.Caption = bag.ReadProperty(KeyCaption, QString()).toString();
    m_state.CaptionAlign = bag.ReadProperty(KeyCapAlign, 2).toInt();
    m_state.ButtonStyle = bag.ReadProperty(KeyBackStyle, 0).toInt();
    m_state.ButtonShape = bag.ReadProperty(KeyShape, 0).toInt();
    m_state.GradientMode = bag.ReadProperty(KeyGradient, 0).toInt();
    m_state.GradientColor = colourFrom(bag.ReadProperty(KeyGradientColor, 0));
    setFont(bag.ReadProperty(KeyFont, font()).value<QFont>());
    m_state.ForeColor = colourFrom(bag.ReadProperty(KeyFore, colourValue(SystemButtonText)));
    m_state.ShowFocusRect = bag.ReadProperty(KeyFocus, true).toBool();
    m_state.Picture = pictureFrom(bag.ReadProperty(KeyImage, pictureValue(ButtonPicture())));
    m_state.PicturePixels = bag.ReadProperty(KeyImgSize, 16).toInt();
    m_state.PictureAlign = bag.ReadProperty(KeyImgAlign, 0).toInt();
    m_state.HoverForeColor = colourFrom(bag.ReadProperty(KeyForeHover, 0));
    setEnabled(bag.ReadProperty(KeyEnabled, true).toBool());
    m_state.BackColor = colourFrom(bag.ReadProperty(KeyBack, colourValue(containerBackColor())));
    m_state.HoverBackColor = colourFrom(bag.ReadProperty(KeyBackHover, colourValue(m_state.BackColor)));
    m_state.HoverColorLocks = bag.ReadProperty(KeyLockHover, 0).toInt();
    m_state.CaptionStyle = bag.ReadProperty(KeyCapStyle, 0).toInt();
    set_MouseIcon(pictureFrom(bag.ReadProperty(KeyMouseIcon, pictureValue(ButtonPicture()))));
    set_MousePointer(bag.ReadProperty(KeyMousePointer, 0).toInt());

    PropertyRecalc(QStringLiteral("Picture"));
    PropertyRecalc(QStringLiteral("Font"));
    PropertyRecalc(QStringLiteral("BackColor"));
    set_Caption(m_state.Caption);
    m_state.DrawingHeld = false;
    handleResize();
}

void gxButtons_H::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(KeyCaption, m_state.Caption, QString());
    bag.WriteProperty(KeyCapAlign, m_state.CaptionAlign, 2);
    bag.WriteProperty(KeyBackStyle, m_state.ButtonStyle, 0);
    bag.WriteProperty(KeyShape, m_state.ButtonShape, 0);
    bag.WriteProperty(KeyFont, font());
    bag.WriteProperty(KeyFore, colourValue(m_state.ForeColor), colourValue(SystemButtonText));
    bag.WriteProperty(KeyForeHover, colourValue(m_state.HoverForeColor), colourValue(0));
    bag.WriteProperty(KeyBackHover, colourValue(m_state.HoverBackColor), colourValue(m_state.BackColor));
    bag.WriteProperty(KeyFocus, m_state.ShowFocusRect, true);
    bag.WriteProperty(KeyLockHover, m_state.HoverColorLocks, 0);
    bag.WriteProperty(KeyGradientColor, colourValue(m_state.GradientColor), colourValue(0));
    bag.WriteProperty(KeyGradient, m_state.GradientMode, 0);
    bag.WriteProperty(KeyCapStyle, m_state.CaptionStyle, 0);
    bag.WriteProperty(KeyImgAlign, m_state.PictureAlign, 0);
    bag.WriteProperty(KeyImage, pictureValue(m_state.Picture), pictureValue(ButtonPicture()));
    bag.WriteProperty(KeyImgSize, m_state.PicturePixels, 16);
    bag.WriteProperty(KeyEnabled, Enabled(), true);
    bag.WriteProperty(KeyBack, colourValue(m_state.BackColor));
    bag.WriteProperty(KeyMousePointer, m_MousePointer, 0);
    bag.WriteProperty(KeyMouseIcon, pictureValue(m_MouseIcon), pictureValue(ButtonPicture()));
}

// ---------------------------------------------------------------------------
// Derived state

void gxButtons_H::PropertyRecalc(const QString &what)
{
    const QString name = what.toLower();
    if (name == QLatin1String("font")) {
        // The caption font at its height in pixels (15 twips to the pixel).
        const QFont source = font();
        QFont memory = source;
        if (source.family().size() > 31)
            memory.setFamily(source.family().left(31));
        if (source.pointSizeF() > 0)
            memory.setPixelSize(std::max(1, roundHalfEven(20.0 * source.pointSizeF() / TwipsPerPixel)));
        m_state.MemFont = memory;
    } else if (name == QLatin1String("picture")) {
        const QSize size = m_state.Picture.size();
        m_state.PictureWidth = size.width();
        m_state.PictureHeight = size.height();
        m_state.PictureIsIcon = m_state.Picture.isIcon();
    } else if (name == QLatin1String("backcolor")) {
        ButtonState &s = m_state;
        s.FaceRGB = s.FaceDarkRGB = TranslateColor(s.BackColor);
        s.HoverFaceRGB = TranslateColor(s.HoverBackColor);
        if (s.ButtonStyle == 7) {
            s.FaceRGB = ShiftColor(s.FaceRGB, 31);
            s.FaceDarkRGB = ShiftColor(s.FaceDarkRGB, -32);
            s.HoverFaceRGB = ShiftColor(s.HoverFaceRGB, 31);
        } else if (s.ButtonStyle == 2) {
            s.FaceRGB = ShiftColor(s.FaceRGB, 48, true);
            s.HoverFaceRGB = ShiftColor(s.HoverFaceRGB, 48, true);
            s.FaceDarkRGB = ShiftColor(s.FaceRGB, -32, true);
        } else if (s.ButtonStyle == 3) {
            s.FaceDarkRGB = ShiftColor(RGB(128, 128, 128), 12);
        }
    }
}

void gxButtons_H::CalcLayout()
{
    // A hidden button lays its caption out when it is shown: a page builds
    // and styles its buttons long before anyone can see them.
    if (putOff(m_layoutPending))
        return;
    ButtonState &s = m_state;
    const int H = height();
    const ButtonState::Span span = s.usableSpan(width());
    const int U = span.usable;
    const int L = span.left;
    const int R = span.right;
    const int P = s.PicturePixels;

    // Room kept beside, above or below the caption for a small picture.
    int PL = 0;
    int PR = 0;
    int PT = 0;
    int PB = 0;
    if (s.hasPicture() && P <= 32) {
        switch (s.PictureAlign) {
        case 0:
        case 1:
            PL = P;
            break;
        case 2:
        case 3:
            PR = P;
            break;
        case 4:
            PT = P;
            break;
        case 5:
            PB = P;
            break;
        default:
            break;
        }
    }

    int TW = 0;
    int TH = -3;
    if (!s.Caption.isEmpty()) {
        const QRect room(0, 0, U - 2 * Margin - PL - PR, H - 2 * Margin - PT - PB);
        const QRect measured = QFontMetrics(s.MemFont).boundingRect(
            room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, s.drawnCaption());
        TW = measured.width();
        TH = measured.height();
        if (s.CaptionStyle != 0) {
            TW += 2;
            TH += 2;
        }
    }

    int x = 0;
    switch (s.CaptionAlign) {
    case 0:
        x = L + PL + Margin + (PL > 0 ? Margin : 0);
        break;
    case 1:
        x = R - PR - Margin - TW - (PR > 0 ? Margin : 0);
        break;
    case 2:
        if (PL > 0 && s.PictureAlign == 1)
            x = (U - (TW + PL + Margin)) / 2 + L + Margin + PL; // caption and picture centred as a pair
        else if (PR > 0 && s.PictureAlign == 3)
            x = (U - (TW + PR + Margin)) / 2 + L;
        else
            x = (U - PL - PR - TW) / 2 + L + PL;
        break;
    default:
        break;
    }

    int y = 0;
    int px = 0;
    int py = 0;
    if (!s.hasPicture()) {
        y = (H - TH) / 2;
    } else {
        switch (s.PictureAlign) {
        case 0:
        case 1:
        case 2:
        case 3:
            if (s.PictureAlign == 0)
                px = L + Margin;
            else if (s.PictureAlign == 1)
                px = s.Caption.isEmpty() ? L + Margin : x - Margin - PL;
            else if (s.PictureAlign == 2)
                px = R - Margin - PR;
            else
                px = s.Caption.isEmpty() ? R - Margin - PR : x + TW + Margin;
            y = (H - TH) / 2;
            py = (H - P) / 2;
            break;
        case 4:
            py = (H - (TH + PT)) / 2;
            y = py + 2 + PT;
            px = (U - P) / 2 + L;
            break;
        case 5: {
            const int D = (H - (TH + PB)) / 2;
            y = D + 1;
            py = D + TH + 3;
            px = (U - P) / 2 + L;
            break;
        }
        default:
            break;
        }
    }

    auto clamp = [&](ButtonBox box) {
        box.left = std::max(box.left, Margin);
        box.top = std::max(box.top, Margin);
        box.right = std::min(box.right, R);
        box.bottom = std::min(box.bottom, H - Margin);
        return box;
    };
    s.CaptionRect = clamp(ButtonBox { x, y, x + TW, y + TH });
    s.PictureRect = clamp(ButtonBox { px, py, px + P, py + P });
}

void gxButtons_H::SetButtonRegion()
{
    if (putOff(m_regionPending))
        return;
    const int H = height();
    const int shape = m_state.ButtonShape;
    if (shape != 0 && !m_state.isElliptic()) {
        // A slanted side needs the height again plus 5 pixels of width.
        const int n = H + 1;
        int w = width();
        while (w - n < 5)
            w += 5;
        if (w != width()) {
            const bool pending = m_resizePending;
            const bool wasHeld = holdDrawing();
            resize(w, H);
            m_state.DrawingHeld = wasHeld;
            m_resizePending = pending; // the rest of this change takes the new width
        }
    }
    const ButtonPainter::Outline outline = ButtonPainter::buttonOutline(m_state, width(), H);
    m_state.OutlineLeftX = outline.leftX;
    m_state.OutlineRightX = outline.rightX;
    setMask(outline.region);
}

void gxButtons_H::RedrawButton(bool full)
{
    if (m_state.DrawingHeld)
        return;
    // Drawn when shown: nothing on the screen needs the face before then.
    if (!isVisible()) {
        m_drawPending = true;
        return;
    }
    m_drawPending = false;
    renderMemDC(full);
    update();
}

void gxButtons_H::renderMemDC(bool full)
{
    if (m_MemDC.size() != size()) {
        m_MemDC = QImage(size(), QImage::Format_RGB32);
        m_MemDC.fill(toQColor(m_state.ParentBackRGB));
        full = true;
    }
    if (!m_MemDC.isNull())
        ButtonPainter(m_state, m_MemDC).paint(full);
}

void gxButtons_H::drawFace(QImage &image, bool full) const
{
    layOutHidden();
    if (image.size() != size() || image.format() != QImage::Format_RGB32) {
        image = QImage(size(), QImage::Format_RGB32);
        image.fill(toQColor(m_state.ParentBackRGB));
        full = true;
    }
    if (!image.isNull())
        ButtonPainter(m_state, image).paint(full);
}

OleColor gxButtons_H::containerBackColor() const
{
    const QWidget *container = parentWidget();
    const QColor colour
        = container ? container->palette().color(container->backgroundRole()) : palette().color(QPalette::Window);
    return fromQColor(colour);
}

QSize gxButtons_H::sizeHint() const
{
    const QRect text = QFontMetrics(m_state.MemFont)
                           .boundingRect(QRect(0, 0, 1000, 1000), Qt::TextShowMnemonic, m_state.drawnCaption());
    return QSize(std::max(82, text.width() + 4 * Margin), std::max(24, text.height() + 2 * Margin));
}

// ---------------------------------------------------------------------------
// Notifications

void gxButtons_H::handleResize()
{
    if (m_state.DrawingHeld || (!isVisible() && !m_layingOutHidden)) {
        m_resizePending = true;
        return;
    }
    m_resizePending = false;
    if (m_state.Caption.compare(SentinelCaption(), Qt::CaseInsensitive) == 0)
        set_Caption(objectName());
    m_state.ParentBackRGB = containerBackColor();
    SetButtonRegion();
    m_MemDC = QImage();
    CalcLayout();
    Refresh();
}

bool gxButtons_H::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            // Two buttons with one access key: the key moves between them.
            if (shortcut->isAmbiguous())
                setFocus(Qt::ShortcutFocusReason);
            else
                accessKeyPressed();
            return true;
        }
    }
    return QWidget::event(event);
}

void gxButtons_H::paintEvent(QPaintEvent *)
{
    if (m_MemDC.size() != size() && !m_state.DrawingHeld)
        renderMemDC(true);
    QPainter painter(this);
    painter.drawImage(0, 0, m_MemDC);
}

void gxButtons_H::resizeEvent(QResizeEvent *)
{
    handleResize();
}

void gxButtons_H::showEvent(QShowEvent *)
{
    // A button shown again has no press or hover left over from before.
    if (m_state.StateBits != 0) {
        m_state.StateBits &= ButtonState::Focused;
        m_drawPending = true;
    }
    // What changed while it was hidden, done once now.
    bringUpToDate();
    if (m_drawPending)
        Refresh();
}

bool gxButtons_H::putOff(bool &pending)
{
    pending = !isVisible() && !m_layingOutHidden;
    return pending;
}

void gxButtons_H::bringUpToDate()
{
    // A hidden widget hears of its new size only once it is shown.
    if (!isVisible() && testAttribute(Qt::WA_PendingResizeEvent))
        m_resizePending = true;
    // Held drawing puts off a resize, not the layout of a changed property.
    if (m_resizePending && !m_state.DrawingHeld) {
        handleResize();
        return;
    }
    if (m_regionPending)
        SetButtonRegion();
    if (m_layoutPending)
        CalcLayout();
}

void gxButtons_H::layOutHidden() const
{
    // Readers of the layout get it as it would be drawn now, shown or not;
    // only the drawing itself waits.
    auto *self = const_cast<gxButtons_H *>(this);
    self->m_layingOutHidden = true;
    self->bringUpToDate();
    self->m_layingOutHidden = false;
}

const ButtonState &gxButtons_H::state() const
{
    layOutHidden();
    return m_state;
}

void gxButtons_H::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        m_state.Enabled = isEnabled();
        if (m_state.ButtonStyle == 3) {
            // Style 3 cuts its corners only while enabled.
            const bool wasHeld = holdDrawing();
            SetButtonRegion();
            CalcLayout();
            releaseDrawing(wasHeld);
        } else {
            Refresh();
        }
        break;
    case QEvent::FontChange:
        PropertyRecalc(QStringLiteral("Font"));
        CalcLayout();
        Refresh();
        break;
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
        // The rim of round buttons and system colours follow the palette.
        m_state.ParentBackRGB = containerBackColor();
        PropertyRecalc(QStringLiteral("BackColor"));
        Refresh();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// Focus and keyboard

void gxButtons_H::focusInEvent(QFocusEvent *)
{
    m_state.StateBits |= ButtonState::Focused;
    Refresh();
}

void gxButtons_H::focusOutEvent(QFocusEvent *)
{
    m_state.StateBits = 0;
    Refresh();
}

void gxButtons_H::keyPressEvent(QKeyEvent *event)
{
    int code = keyCode(event->key());
    const int shift = shiftFlags(event->modifiers());
    bool handled = true;
    qint16 look = 0;
    switch (code) {
    case VkRight:
    case VkDown:
        code = 0;
        focusNextPrevChild(true);
        break;
    case VkLeft:
    case VkUp:
        code = 0;
        focusNextPrevChild(false);
        break;
    case VkSpace:
        if (!m_state.GetState(look, true, false, false, false)) {
            m_state.StateBits |= ButtonState::MouseOver | ButtonState::Pressed;
            Refresh();
            // The mouse-over flag stays in the drawn look only.
            if (!m_state.HoverTimerOn)
                m_state.StateBits &= ~ButtonState::MouseOver;
        }
        break;
    case VkShift:
        code = 0;
        break;
    default:
        handled = false; // Enter, Escape and the rest go on to the window
        break;
    }
    const quint32 clicks = m_clicks;
    if (code != 0)
        emit KeyDown(code, shift);
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
    // A key the host made a click of (Enter, where it presses the button) is
    // spent: the window must not act on it again, though the click may have
    // moved the focus to where the same key means something else.
    event->setAccepted(handled || m_clicks != clicks);
}

void gxButtons_H::keyReleaseEvent(QKeyEvent *event)
{
    // Qt repeats a held key as release and press pairs; only the real
    // release counts.
    if (event->isAutoRepeat())
        return;
    int code = keyCode(event->key());
    const int shift = shiftFlags(event->modifiers());
    bool handled = true;
    qint16 look = 0;
    switch (code) {
    case VkSpace:
        if (m_state.GetState(look, true, false, false, false)) {
            m_state.StateBits &= ~ButtonState::Pressed;
            m_lastMouseButton = 1;
            Refresh();
            handleClick();
        }
        break;
    case VkRight:
    case VkDown:
    case VkLeft:
    case VkUp:
    case VkShift:
        code = 0;
        break;
    default:
        handled = false;
        break;
    }
    if (code != 0)
        emit KeyUp(code, shift);
    event->setAccepted(handled);
}

void gxButtons_H::updateAccessKey(const QString &caption)
{
    const qsizetype mark = caption.lastIndexOf(QLatin1Char('&'));
    if (mark < 0)
        return; // a caption without a mark keeps the key it had
    m_accessKey = caption.mid(mark + 1, 1);
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!m_accessKey.isEmpty())
        m_shortcutId = grabShortcut(QKeySequence::mnemonic(QLatin1Char('&') + m_accessKey));
}

void gxButtons_H::accessKeyPressed()
{
    // An idle button flashes pressed before it clicks; the look must reach
    // the screen before the thread waits.
    if (m_state.StateBits == 0) {
        m_state.StateBits = ButtonState::Pressed | ButtonState::MouseOver;
        Refresh();
        repaint();
        QThread::msleep(FlashMs);
        if (!m_state.HoverTimerOn)
            m_state.StateBits &= ~ButtonState::MouseOver;
    }
    qint16 look = 0;
    if (m_state.GetState(look, true, false, false, false)) {
        QThread::msleep(FlashMs);
        m_state.StateBits &= ~ButtonState::Pressed;
        Refresh();
    }
    m_lastMouseButton = 1;
    handleClick();
}

// ---------------------------------------------------------------------------
// Mouse and hover

void gxButtons_H::handleMouseDown(int button, int shift, QPointF position)
{
    m_lastMouseButton = button;
    if (button == 1) {
        m_state.StateBits |= ButtonState::Pressed;
        m_state.DrawingHeld = false;
        Refresh();
    }
    emit MouseDown(button, shift, float(position.x()), float(position.y()));
}

void gxButtons_H::handleClick()
{
    if (m_lastMouseButton == 1)
        emit Click();
}

void gxButtons_H::mousePressEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    m_clickButton = button;
    handleMouseDown(button, shiftFlags(event->modifiers()), event->position());
}

void gxButtons_H::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    const QPointF position = event->position();
    if (button == 1) {
        m_state.StateBits &= ~ButtonState::Pressed;
        m_state.DrawingHeld = false;
        Refresh();
    }
    emit MouseUp(button, shiftFlags(event->modifiers()), float(position.x()), float(position.y()));
    m_lastMouseButton = button;

    // The toolkit's click: the button pressed here is released over it.
    const QPoint at = position.toPoint();
    const bool over = mask().isEmpty() ? rect().contains(at) : mask().contains(at);
    if (button == m_clickButton && button != 0 && over) {
        m_clickButton = 0;
        handleClick();
    }
}

void gxButtons_H::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPointF position = event->position();
    m_clickButton = 0; // the release after a double-click is no click
    emit DoubleClick(m_lastMouseButton);
    if (m_lastMouseButton == 1) {
        m_state.StateBits |= ButtonState::Focused;
        handleMouseDown(1, 0, position);
        m_lastMouseButton = -1;
    } else {
        emit MouseDown(1, 0, float(position.x()), float(position.y()));
    }
}

void gxButtons_H::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF position = event->position();
    const bool inside = position.x() >= 0 && position.x() <= width() && position.y() >= 0 && position.y() <= height();
    if (!m_state.HoverTimerOn && inside) {
        m_state.StateBits |= ButtonState::MouseOver;
        emit MouseOnButton(true);
        m_hoverTimer.start();
        m_state.HoverTimerOn = true;
        m_state.DrawingHeld = false;
        Refresh();
    }
    emit MouseMove(
        buttonCodes(event->buttons()), shiftFlags(event->modifiers()), float(position.x()), float(position.y()));
}

void gxButtons_H::TimerCheck()
{
    if (QApplication::widgetAt(QCursor::pos()) == this)
        return; // still over the button
    m_hoverTimer.stop();
    m_state.StateBits &= ~ButtonState::MouseOver;
    m_state.HoverTimerOn = false;
    m_state.DrawingHeld = false;
    emit MouseOnButton(false);
    Refresh();
}

void gxButtons_H::applyMousePointer()
{
    if (m_MousePointer == 0 || (m_MousePointer == 99 && m_MouseIcon.isNone())) {
        unsetCursor();
    } else if (m_MousePointer == 99) {
        const QImage image = m_MouseIcon.copyAt(m_MouseIcon.size());
        setCursor(QCursor(QPixmap::fromImage(image)));
    } else {
        setCursor(cursorShape(m_MousePointer));
    }
}

#include "ButtonPainter.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QPolygon>
#include <QScreen>

#include <algorithm>
#include <cstdlib>

using namespace ButtonColors;

namespace {

constexpr OleColor White = RGB(255, 255, 255);
constexpr OleColor Black = RGB(0, 0, 0);
constexpr OleColor Grey = RGB(128, 128, 128);
constexpr OleColor Lavender = RGB(153, 153, 204);
constexpr OleColor NoColour = 0xFFFFFFFF; // no ring to draw

OleColor ShiftP(OleColor colour, int amount)
{
    return ShiftColor(colour, amount, true);
}
OleColor ShiftX(OleColor colour, int amount)
{
    return ShiftColor(colour, amount, false, true);
}

QRegion pixel(int x, int y)
{
    return QRegion(x, y, 1, 1);
}

QRegion triangle(QPoint a, QPoint b, QPoint c)
{
    return QRegion(QPolygon({ a, b, c }), Qt::WindingFill);
}

QRegion leftTriangleCuts(int height)
{
    return triangle({ 0, 0 }, { 2, 0 }, { 0, 2 }) + triangle({ 0, height }, { 3, height }, { 0, height - 3 });
}

QRegion rightTriangleCuts(int width, int height)
{
    return triangle({ width, 0 }, { width - 2, 0 }, { width, 2 })
        + triangle({ width, height }, { width - 3, height }, { width, height - 3 });
}

QRegion leftPixelCuts(int style, int height)
{
    return style == 3 ? pixel(0, height - 1) : pixel(0, 0) + pixel(0, height - 1);
}

QRegion rightPixelCuts(int style, int width, int height)
{
    return style == 3 ? pixel(width - 1, 0) : pixel(width - 1, height - 1) + pixel(width - 1, 0);
}

int captionFlags(int captionAlign)
{
    int horizontal = Qt::AlignLeft;
    if (captionAlign == 1)
        horizontal = Qt::AlignRight;
    else if (captionAlign == 2)
        horizontal = Qt::AlignHCenter;
    return horizontal | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
}

} // namespace

ButtonPainter::ButtonPainter(const ButtonState &state, QImage &image)
    : m_state(state)
    , m_image(image)
    , m_painter(&image)
    , m_width(image.width())
    , m_height(image.height())
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setFont(state.MemFont);
}

ButtonPainter::Outline ButtonPainter::buttonOutline(const ButtonState &state, int width, int height)
{
    const int W = width;
    const int H = height;
    const int style = state.ButtonStyle;
    const int shape = state.ButtonShape;
    Outline outline;
    outline.leftX = 0;
    outline.rightX = W;

    if (shape == 0) {
        outline.region = QRegion(0, 0, W + 1, H + 1);
        if (style == 1 || (style == 3 && state.Enabled))
            outline.region -= leftPixelCuts(style, H) + rightPixelCuts(style, W, H);
        else if (style == 2 || style == 7)
            outline.region -= leftTriangleCuts(H) + rightTriangleCuts(W, H);
    } else if (state.isElliptic()) {
        outline.region = QRegion(QRect(0, 0, W, H), QRegion::Ellipse);
    } else {
        // Slanted sides run at 45 degrees across the full height.
        const int n = H + 1;
        const int d = W - n;
        QPolygon points({ QPoint(0, 0), QPoint(0, H + 1), QPoint(W + 1, H + 1), QPoint(W + 1, 0) });
        if (shape == 1 || shape == 3) {
            points[1] = QPoint(n, H + 1);
            outline.leftX = n;
        }
        if (shape == 2 || shape == 3) {
            points[3] = QPoint(d + 1, 0);
            outline.rightX = d;
        }
        outline.region = QRegion(points, Qt::WindingFill);
        // Only the straight side of a one-sided slant gets its corners cut.
        const bool pixelCuts = style == 1 || (style == 3 && state.Enabled);
        const bool triangleCuts = style == 2 || style == 7;
        if (shape == 2) {
            if (pixelCuts)
                outline.region -= leftPixelCuts(style, H);
            else if (triangleCuts)
                outline.region -= leftTriangleCuts(H);
        } else if (shape == 1) {
            if (pixelCuts)
                outline.region -= rightPixelCuts(style, W, H);
            else if (triangleCuts)
                outline.region -= rightTriangleCuts(W, H);
        }
    }
    if (outline.rightX == 0)
        outline.rightX = W;
    return outline;
}

QRegion ButtonPainter::ClipRegion(int buttonShape, int width, int height)
{
    // A rim of two pixels (one for shape 6, whose black ring needs less)
    // on every side.
    const int k = buttonShape == 6 ? 1 : 0;
    return QRegion(QRect(2 - k, 2 - k, width - 4 + 2 * k, height - 4 + 2 * k), QRegion::Ellipse);
}

void ButtonPainter::paint(bool full)
{
    const ButtonState &s = m_state;
    // Elliptic faces are painted through their clip; the caption of a
    // caption-only redraw too.
    selectClip();

    const ButtonState::Span span = s.usableSpan(m_width);
    ButtonBox caption = s.CaptionRect;
    ButtonBox picture = s.PictureRect;
    qint16 code = 0;
    if (s.GetState(code, true, true, false, false) && s.ButtonStyle != 3) {
        const int dx = s.isElliptic() ? 0 : 1;
        caption = caption.moved(dx, 1);
        picture = picture.moved(dx, 1);
    }

    OleColor faceUsed = 0;
    if (full) {
        faceUsed = DrawBackground();
        DrawPicture(picture, span.usable, span.left);
        DrawButtonFace();
    }
    drawCaption(caption, faceUsed);
}

void ButtonPainter::selectClip()
{
    if (m_state.isElliptic())
        m_painter.setClipRegion(ClipRegion(m_state.ButtonShape, m_width, m_height));
    else
        removeClip();
}

void ButtonPainter::removeClip()
{
    // Turning clipping off and selecting the same region again leaves the
    // raster engine unclipped; clipping to the whole image does not.
    m_painter.setClipRegion(QRegion(m_image.rect()));
}

// ---------------------------------------------------------------------------
// Background

OleColor ButtonPainter::DrawBackground()
{
    const ButtonState &s = m_state;
    const int W = m_width;
    const int H = m_height;
    const bool pressed = s.pressedLook();

    if (s.isElliptic()) {
        removeClip();
        // An idle flat (style 5) round button shows no rim at all.
        if (!(s.ButtonStyle == 5 && !pressed && !s.HoverTimerOn)) {
            if (s.ButtonShape == 4 || s.ButtonShape == 5) {
                if (!pressed || s.ButtonShape == 4)
                    DrawGradient(ShiftColor(s.ParentBackRGB, 172), ShiftColor(s.ParentBackRGB, -32), pressed ? 4 : 3);
            } else {
                arc(0, 0, W, H, Black, 2);
            }
        }
        selectClip();
    }

    if (s.GradientMode > 0) {
        if (!pressed && s.HoverTimerOn && s.GradientColor != s.HoverBackColor) {
            FillBox(0, 0, W, H, s.HoverFaceRGB);
            return s.HoverFaceRGB;
        }
        OleColor end = TranslateColor(s.GradientColor);
        if (s.ButtonStyle == 7)
            end = ShiftColor(end, 31);
        else if (s.ButtonStyle == 2)
            end = ShiftP(end, 48);
        DrawGradient(s.FaceRGB, end, s.GradientMode);
        return s.FaceRGB;
    }

    const OleColor colour = pressed ? s.FaceDarkRGB : (s.HoverTimerOn ? s.HoverFaceRGB : s.FaceRGB);
    if (s.ButtonStyle == 2 && s.Enabled) {
        // The face darkens downward by up to 25 units; the outer rows belong
        // to the edges.
        for (int y = 2; y <= H - 2; ++y)
            FillBox(2, y, W - 2, y + 1, ShiftP(colour, roundHalfEven(-25.0 * y / H)));
    } else if (s.ButtonStyle == 2) {
        FillBox(0, 0, W, H, ShiftP(colour, -24));
    } else {
        FillBox(0, 0, W, H, colour);
    }
    return colour;
}

void ButtonPainter::DrawGradient(OleColor startColour, OleColor endColour, int mode)
{
    const bool alongX = mode == 1 || mode == 2;
    const int size = alongX ? m_width : m_height;
    if (size <= 0)
        return;
    int screen = 1 << 20;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        screen = alongX ? primary->size().width() : primary->size().height();
    // Buttons wider than a quarter of the screen get two-pixel bands.
    const int band = screen / size < 4 ? 2 : 1;
    const int count = band == 2 ? size / 2 : size;
    const std::vector<OleColor> colours = GradientStep(startColour, endColour, count);
    const bool reversed = mode % 2 == 0;
    for (int i = 0; i < count; ++i) {
        const OleColor colour = colours[std::size_t(reversed ? count - 1 - i : i)];
        const int from = i * band;
        if (alongX)
            FillBox(from, 0, from + band, m_height, colour);
        else
            FillBox(0, from, m_width, from + band, colour);
    }
}

void ButtonPainter::FillBox(int left, int top, int right, int bottom, OleColor fillColour)
{
    if (right > left && bottom > top)
        m_painter.fillRect(QRect(left, top, right - left, bottom - top), toQColor(fillColour));
}

// ---------------------------------------------------------------------------
// Picture

void ButtonPainter::DrawPicture(ButtonBox &rect, int availWidth, int originX)
{
    const ButtonState &s = m_state;
    if (!s.hasPicture())
        return;
    const int p = rect.left != s.PictureRect.left ? 1 : 0;
    const int side = s.PicturePixels;
    int w = side;
    int h = side;
    if (side == 40) {
        // Covers the whole button, edges included.
        rect = ButtonBox { p, p, m_width, m_height };
        w = m_width + p;
        h = m_height + p;
    } else if (side > 32) {
        // Fitted inside a 12-pixel margin, keeping the aspect ratio.
        const double r = std::min(double(availWidth - 12) / s.PictureWidth, double(m_height - 12) / s.PictureHeight);
        w = roundHalfEven(r * s.PictureWidth);
        h = roundHalfEven(r * s.PictureHeight);
        rect.left = (availWidth - w) / 2 + originX + p;
        rect.top = (m_height - h) / 2 + p;
        rect.right = rect.left + w;
        rect.bottom = rect.top + h;
    }

    const QImage copy = s.Picture.copyAt(QSize(w, h));
    if (copy.isNull())
        return;

    if (s.Enabled) {
        if (s.PictureIsIcon)
            m_painter.drawImage(rect.left, rect.top, copy);
        else
            DrawBitmap(m_painter, copy, rect.left, rect.top);
        return;
    }

    // Disabled: the picture in black on white, then embossed in two greys.
    QImage work(w + 1, h + 1, QImage::Format_RGB32);
    work.fill(Qt::white);
    {
        QPainter workPainter(&work);
        if (s.PictureIsIcon)
            workPainter.drawImage(0, 0, copy);
        else
            DrawBitmap(workPainter, copy, 0, 0);
    }
    for (int y = 0; y < work.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(work.scanLine(y));
        for (int x = 0; x < work.width(); ++x)
            line[x] = (line[x] & RGB_MASK) == RGB_MASK ? 0xFFFFFFFFu : 0xFF000000u;
    }
    const OleColor light = ShiftColor(RGB(192, 192, 192), 36);
    const OleColor dark = ShiftColor(RGB(192, 192, 192), -36);
    embossBlit(work, rect.left - 1, rect.top - 1, w, h, light);
    embossBlit(work, rect.left, rect.top, w, h, dark);
}

void ButtonPainter::DrawBitmap(QPainter &painter, const QImage &bitmap, int left, int top)
{
    // The top-left pixel's colour is left out everywhere in the bitmap.
    QImage masked = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = masked.pixel(0, 0) & RGB_MASK;
    for (int y = 0; y < masked.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if ((line[x] & RGB_MASK) == transparent)
                line[x] = 0;
        }
    }
    painter.drawImage(left, top, masked);
}

void ButtonPainter::embossBlit(const QImage &source, int left, int top, int width, int height, OleColor brush)
{
    // Where the source is white the button stays, where it is black the brush
    // shows.
    const QRect target = QRect(left, top, width, height).intersected(m_image.rect());
    if (target.isEmpty())
        return;
    QImage patch = m_image.copy(target).convertToFormat(QImage::Format_RGB32);
    const QRgb pattern = toQColor(brush).rgb() & RGB_MASK;
    for (int y = 0; y < patch.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(patch.scanLine(y));
        for (int x = 0; x < patch.width(); ++x) {
            const QRgb src = source.pixel(target.left() - left + x, target.top() - top + y) & RGB_MASK;
            const QRgb dst = line[x] & RGB_MASK;
            line[x] = 0xFF000000u | (((dst ^ pattern) & src) ^ pattern);
        }
    }
    m_painter.drawImage(target.topLeft(), patch);
}

// ---------------------------------------------------------------------------
// Face edges

void ButtonPainter::DrawButtonFace()
{
    const ButtonState &s = m_state;
    qint16 code = 0;
    m_focused = s.GetState(code, false, false, true, false) ? 1 : 0;
    m_pressed = s.GetState(code, true, true, false, false) ? 1 : 0;
    m_look = m_pressed == 1 ? 2 : m_focused;
    m_outline = s.ButtonShape >= 1 && s.ShowFocusRect && m_focused == 1 && m_pressed == 0;
    m_slantLeft = (s.ButtonShape == 1 || s.ButtonShape == 3) ? 1 : 0;
    m_slantRight = (s.ButtonShape == 2 || s.ButtonShape == 3) ? 1 : 0;

    if (s.ButtonStyle < 0 || s.ButtonStyle > 7)
        return;
    if (s.isElliptic()) {
        drawEllipticRing();
        return;
    }
    innerPoints();
    drawStyleArm();
    drawFocusRectangle();
}

void ButtonPainter::drawEllipticRing()
{
    const ButtonState &s = m_state;
    removeClip();
    const bool over = (s.StateBits & ButtonState::MouseOver) != 0;
    const bool down = (s.StateBits & ButtonState::Pressed) != 0;
    if (m_outline || (s.ButtonStyle == 2 && over && s.ShowFocusRect)) {
        OleColor base = NoColour;
        switch (s.ButtonStyle) {
        case 2:
            if (over && !down)
                base = RGB(231, 150, 0);
            else if (!down)
                base = RGB(107, 130, 239);
            break;
        case 3:
            base = Lavender;
            break;
        case 5:
            base = ShiftX(s.ParentBackRGB, -32);
            break;
        default:
            if (!down)
                base = TranslateColor(s.ForeColor);
            break;
        }
        if (base != NoColour) {
            // Black or white rings become grey.
            const int k = s.ButtonShape == 6 ? 1 : 0;
            arc(3 - k, 3 - k, m_width - 3 + k, m_height - 3 + k, ShiftX(base, 0), 1);
        }
    }
    selectClip();
}

void ButtonPainter::innerPoints()
{
    const ButtonState &s = m_state;
    const int Lf = m_slantLeft;
    const int Rf = m_slantRight;
    const int H = m_height;
    m_pt[0] = QPoint(s.OutlineLeftX + 2 - 4 * Lf, H - 3);
    m_pt[1] = QPoint(2 + 2 * Lf, 2);
    m_pt[2] = QPoint(s.OutlineRightX - 3 + 3 * Rf, 2);
    m_pt[3] = QPoint(m_width - 3 - 3 * Rf, H - 3);
    m_pt[4] = QPoint(s.OutlineLeftX + 1 - 4 * Lf, H - 3);
}

void ButtonPainter::stepE()
{
    const int Lf = m_slantLeft;
    const int Rf = m_slantRight;
    const int dx[5] = { Lf - 1, -Lf - 1, 1 - Rf, Rf + 1, -1 };
    const int dy[5] = { 1, -1, -1, 1, 1 };
    for (int i = 0; i < 5; ++i)
        m_pt[i] += QPoint(dx[i], dy[i]);
}

void ButtonPainter::stepX()
{
    const ButtonState &s = m_state;
    const int Lf = m_slantLeft;
    const int Rf = m_slantRight;
    const int W = m_width;
    const int H = m_height;
    m_pt[0] = QPoint(s.OutlineLeftX - Lf, H - 1 + Lf);
    m_pt[1] = QPoint(0, 0);
    m_pt[2] = QPoint(s.OutlineRightX - 1 + Rf, 0);
    m_pt[3] = QPoint(W - 1, H - 1 + Rf);
    m_pt[4] = QPoint(s.OutlineLeftX - 1 - 2 * Lf, H - 1);
    m_pt[5] = QPoint(W - 1, H - 1);
}

void ButtonPainter::stepB()
{
    // A slanted right side leaves the bottom edge short; finish it.
    if (m_width != m_state.OutlineRightX)
        polyline({ m_pt[4], m_pt[5] }, m_pen);
}

void ButtonPainter::stepFO()
{
    if (!m_outline)
        return;
    const ButtonState &s = m_state;
    OleColor base = s.FaceRGB;
    if (s.ButtonStyle == 5)
        base = s.ParentBackRGB;
    else if (s.ButtonStyle == 3)
        base = Lavender;
    allSides(ShiftX(base, -32));
}

void ButtonPainter::drawStyleArm()
{
    const ButtonState &s = m_state;
    const int W = m_width;
    const int H = m_height;
    const bool pressed = m_pressed == 1;
    OleColor face = s.FaceRGB;

    switch (s.ButtonStyle) {
    case 0: { // classic
        const OleColor c1 = s.pressedLook() ? face : RGB(233, 233, 233);
        leftTop(m_look == 1 ? c1 : face);
        rightBottom(m_look == 1 ? Grey : face);
        stepE();
        const OleColor middleLeftTop[3] = { c1, White, Grey };
        const OleColor middleRightBottom[3] = { Grey, Black, Grey };
        leftTop(middleLeftTop[m_look]);
        rightBottom(middleRightBottom[m_look]);
        stepX();
        leftTop(m_focused == 0 ? White : Black);
        rightBottom(Black);
        stepB();
        break;
    }
    case 1: // raised with a black frame
        if (!pressed) {
            if (m_outline) {
                stepFO();
            } else {
                leftTop(White);
                rightBottom(Grey);
            }
        }
        stepE();
        leftTop(pressed ? Grey : White);
        rightBottom(pressed ? White : Grey);
        stepX();
        allSides(Black);
        stepB();
        break;
    case 2: { // coloured edges
        int look = m_look;
        const quint16 bits = s.StateBits;
        if ((bits & ButtonState::MouseOver) && !(bits & ButtonState::Pressed))
            look = 3;
        else if (look == 1 && !s.ShowFocusRect)
            look = 0;
        OleColor frame;
        if (!s.Enabled) {
            frame = ShiftP(face, -84);
            stepE();
        } else {
            const OleColor c2 = ShiftP(face, -32);
            const OleColor innerLeft[4]
                = { ShiftP(face, -10), RGB(181, 209, 240), ShiftP(c2, -22), RGB(255, 203, 107) };
            const OleColor innerTop[4] = { ShiftP(face, 10), RGB(189, 215, 247), ShiftP(c2, -24), RGB(255, 219, 140) };
            const OleColor innerRight[4] = { ShiftP(face, -24), RGB(181, 209, 240), face, RGB(255, 203, 107) };
            const OleColor innerBottom[4]
                = { ShiftP(face, -32), RGB(140, 174, 231), ShiftP(c2, 10), RGB(255, 178, 49) };
            const OleColor midLeft[4] = { ShiftP(face, -5), RGB(140, 174, 231), ShiftP(c2, -32), RGB(255, 178, 49) };
            const OleColor midTop[4] = { ShiftP(face, 16), RGB(191, 223, 255), ShiftP(c2, -32), RGB(255, 233, 166) };
            const OleColor midRight[4] = { ShiftP(face, -36), RGB(140, 174, 231), ShiftP(c2, 5), RGB(255, 178, 49) };
            const OleColor midBottom[4] = { ShiftP(face, -48), RGB(107, 130, 239), ShiftP(c2, 16), RGB(231, 150, 0) };
            leftEdge(innerLeft[look]);
            topEdge(innerTop[look]);
            rightEdge(innerRight[look]);
            bottomEdge(innerBottom[look]);
            stepE();
            leftEdge(midLeft[look]);
            topEdge(midTop[look]);
            rightEdge(midRight[look]);
            bottomEdge(midBottom[look]);
            frame = RGB(0, 60, 115);
        }
        stepX();
        allSides(frame);
        stepB();
        if (s.OutlineLeftX == 0) {
            setPixel(1, H - 2, frame);
            setPixel(1, 1, frame);
        }
        if (W == s.OutlineRightX) {
            setPixel(W - 2, H - 2, frame);
            setPixel(W - 2, 1, frame);
        }
        break;
    }
    case 3: { // etched grey
        const OleColor dark = RGB(102, 102, 102);
        OleColor light = White;
        stepFO();
        stepE();
        if (s.Enabled) {
            leftTop(pressed ? RGB(140, 140, 140) : White);
            rightBottom(dark);
        } else {
            light = dark;
        }
        stepX();
        leftTop(dark);
        rightBottom(light);
        stepB();
        break;
    }
    case 4: // thin; the focus outline lies one pixel inside the edge
        stepE();
        stepFO();
        stepX();
        leftTop(pressed ? Grey : White);
        rightBottom(pressed ? White : Grey);
        stepB();
        break;
    case 5: // flat, raised under the mouse
        stepFO();
        stepE();
        if (s.StateBits & ButtonState::MouseOver) {
            stepX();
            leftTop(pressed ? Grey : White);
            rightBottom(pressed ? White : Grey);
            stepB();
        }
        break;
    case 6: { // soft double bevel
        const OleColor light = ShiftColor(RGB(223, 223, 223), 8);
        stepFO();
        stepE();
        leftTop(pressed ? Grey : light);
        rightBottom(pressed ? light : Grey);
        stepX();
        leftTop(pressed ? Grey : light);
        rightBottom(pressed ? light : Grey);
        stepB();
        break;
    }
    case 7: { // soft bevel with rounded corners
        OleColor highlight = White;
        OleColor light = ShiftP(face, 31);
        OleColor dark = ShiftP(face, -64);
        if (pressed) {
            face = dark;
            highlight = ShiftColor(face, -32);
            light = ShiftColor(face, -64);
            dark = ShiftColor(face, -16);
        }
        if (s.ButtonShape != 0 && m_outline) {
            leftTop(dark);
            rightBottom(dark);
        } else {
            leftTop(highlight);
            rightBottom(face);
        }
        stepE();
        leftTop(light);
        rightBottom(dark);
        stepX();
        allSides(Black);
        stepB();
        if (s.OutlineLeftX == 0) {
            setPixel(3, 3, highlight);
            setPixel(1, H - 3, face);
            setPixel(2, 2, light);
            setPixel(1, H - 2, Black);
            setPixel(1, 1, Black);
        }
        if (W == s.OutlineRightX) {
            setPixel(W - 4, H - 4, face);
            setPixel(W - 3, 1, face);
            setPixel(W - 3, H - 3, dark);
            setPixel(W - 2, H - 2, Black);
            setPixel(W - 2, 1, Black);
        }
        break;
    }
    default:
        break;
    }
}

void ButtonPainter::drawFocusRectangle()
{
    const ButtonState &s = m_state;
    if (s.ButtonShape != 0 || m_focused != 1 || !s.ShowFocusRect)
        return;
    const ButtonBox around = s.Caption.isEmpty() ? s.PictureRect : s.CaptionRect;
    switch (s.ButtonStyle) {
    case 0:
    case 1:
    case 4:
    case 5:
    case 6:
        DrawFocusRect(ButtonBox { s.OutlineLeftX + 4, 4, s.OutlineRightX - 4, m_height - 4 });
        break;
    case 3: {
        const QPoint topLeft(around.left - 3, around.top - 3);
        const QPoint bottomRight(around.right + 3, around.bottom + 3);
        polyline({ topLeft, QPoint(bottomRight.x(), topLeft.y()), bottomRight, QPoint(topLeft.x(), bottomRight.y()),
                     topLeft },
            Lavender);
        break;
    }
    case 7:
        DrawFocusRect(ButtonBox { around.left - 3, around.top - 3, around.right + 3, around.bottom + 3 }.moved(
            m_pressed, m_pressed));
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Caption

void ButtonPainter::drawCaption(const ButtonBox &rect, OleColor faceUsed)
{
    const ButtonState &s = m_state;
    if (s.Caption.isEmpty())
        return;
    const int flags = captionFlags(s.CaptionAlign);
    qint16 code = 0;
    const bool pressed = s.GetState(code, true, true, false, false);

    if (s.Enabled) {
        OleColor colour;
        if (s.HoverTimerOn && !pressed)
            colour = TranslateColor(s.HoverForeColor);
        else if (pressed && s.ButtonStyle == 7 && s.GradientMode == 0)
            colour = s.FaceRGB; // light text on the darkened face
        else
            colour = TranslateColor(s.ForeColor);

        if (s.CaptionStyle == 1 || s.CaptionStyle == 2) {
            const int shade = s.CaptionStyle == 2 ? 40 : -40;
            drawText(rect.moved(-1, 0), flags, ShiftColor(faceUsed, shade));
            drawText(rect.moved(1, 2), flags, ShiftColor(faceUsed, -shade));
            drawText(rect.moved(0, 1), flags, colour);
        } else {
            drawText(rect, flags, colour);
        }
        return;
    }

    // Disabled: other styles are etched, a light pass below a grey one.
    OleColor colour = White;
    if (s.ButtonStyle == 2)
        colour = ShiftP(s.FaceRGB, -104);
    else if (s.ButtonStyle == 3)
        colour = Grey;
    if (s.GradientMode != 0)
        colour = ShiftP(s.FaceRGB, 172);
    const bool etched = s.ButtonStyle != 2 && s.ButtonStyle != 3;
    drawText(etched ? rect.moved(1, 1) : rect, flags, colour);
    if (etched)
        drawText(rect, flags, Grey);
}

// ---------------------------------------------------------------------------
// Primitives

void ButtonPainter::polyline(std::initializer_list<QPoint> points, OleColor colour)
{
    // Each segment is drawn up to, not including, its end point; the next
    // segment starts there, so only the last point stays unpainted.
    m_pen = colour;
    const QColor qcolour = toQColor(colour);
    const QPoint *previous = nullptr;
    for (const QPoint &point : points) {
        if (previous) {
            int x = previous->x();
            int y = previous->y();
            const int dx = std::abs(point.x() - x);
            const int dy = -std::abs(point.y() - y);
            const int sx = x < point.x() ? 1 : -1;
            const int sy = y < point.y() ? 1 : -1;
            int error = dx + dy;
            while (x != point.x() || y != point.y()) {
                m_painter.fillRect(QRect(x, y, 1, 1), qcolour);
                const int twice = 2 * error;
                if (twice >= dy) {
                    error += dy;
                    x += sx;
                }
                if (twice <= dx) {
                    error += dx;
                    y += sy;
                }
            }
        }
        previous = &point;
    }
}

void ButtonPainter::setPixel(int x, int y, OleColor colour)
{
    m_painter.fillRect(QRect(x, y, 1, 1), toQColor(colour));
}

void ButtonPainter::arc(int left, int top, int right, int bottom, OleColor colour, int penWidth)
{
    m_pen = colour;
    const QRect outer(left, top, right - left, bottom - top);
    if (penWidth <= 1) {
        // A thin line along the box's outermost pixels.
        m_painter.save();
        m_painter.setPen(QPen(toQColor(colour), 0));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawEllipse(outer.adjusted(0, 0, -1, -1));
        m_painter.restore();
        return;
    }
    // A wide line is the ring between the ellipse in the box and the one
    // penWidth inside it, built from regions so that it lines up with the
    // window's elliptic outline pixel for pixel.
    QRegion ring(outer, QRegion::Ellipse);
    const QRect inner = outer.adjusted(penWidth, penWidth, -penWidth, -penWidth);
    if (inner.isValid())
        ring -= QRegion(inner, QRegion::Ellipse);
    QPainterPath path;
    path.addRegion(ring);
    m_painter.fillPath(path, toQColor(colour));
}

void ButtonPainter::DrawFocusRect(const ButtonBox &box)
{
    // A dotted rectangle that inverts what lies under it.
    if (box.width() <= 0 || box.height() <= 0)
        return;
    auto invert = [this](int x, int y) {
        if ((x + y) % 2 != 0 || !m_image.rect().contains(x, y))
            return;
        m_painter.fillRect(QRect(x, y, 1, 1), QColor::fromRgb(~m_image.pixel(x, y) | 0xFF000000u));
    };
    for (int x = box.left; x < box.right; ++x) {
        invert(x, box.top);
        if (box.bottom - 1 != box.top)
            invert(x, box.bottom - 1);
    }
    for (int y = box.top + 1; y < box.bottom - 1; ++y) {
        invert(box.left, y);
        if (box.right - 1 != box.left)
            invert(box.right - 1, y);
    }
}

void ButtonPainter::drawText(const ButtonBox &box, int flags, OleColor colour)
{
    // Text stays inside its rectangle.
    m_painter.save();
    const QRect rect = box.toRect();
    m_painter.setClipRect(rect, Qt::IntersectClip);
    m_painter.setPen(toQColor(colour));
    m_painter.drawText(rect, flags, m_state.drawnCaption());
    m_painter.restore();
}

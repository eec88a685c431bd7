#pragma once

#include "ButtonColors.h"
#include "ButtonState.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRegion>

#include <initializer_list>

// Draws one frame of a push button into an image the size of the button:
// background, picture and face edges on a full redraw, then the caption.
// The image keeps its pixels between frames, as the control's off-screen
// copy does; a caption-only redraw paints over what it holds.
class ButtonPainter final
{
public:
    ButtonPainter(const ButtonState &state, QImage &image);

    void paint(bool full);

    // The window outline of a shape, with the corner cuts of its style, and
    // where its bottom edge begins and its top edge ends (slanted sides).
    struct Outline
    {
        QRegion region;
        int leftX = 0;
        int rightX = 0;
    };
    static Outline buttonOutline(const ButtonState &state, int width, int height);
    // The clip of the face of elliptic shapes: a ring inside the outline
    // keeps the parent-coloured rim.
    static QRegion ClipRegion(int buttonShape, int width, int height);

private:
    // Returns the colour the face was filled with (a gradient's start colour).
    OleColor DrawBackground();
    void DrawGradient(OleColor startColour, OleColor endColour, int mode);
    void FillBox(int left, int top, int right, int bottom, OleColor fillColour);
    void DrawPicture(ButtonBox &rect, int availWidth, int originX);
    static void DrawBitmap(QPainter &painter, const QImage &bitmap, int left, int top);
    void DrawButtonFace();
    void drawEllipticRing();
    void drawStyleArm();
    void drawFocusRectangle();
    void drawCaption(const ButtonBox &rect, OleColor faceUsed);

    // Primitives, one-pixel solid lines unless said otherwise.
    void polyline(std::initializer_list<QPoint> points, OleColor colour);
    void setPixel(int x, int y, OleColor colour);
    void arc(int left, int top, int right, int bottom, OleColor colour, int penWidth);
    void DrawFocusRect(const ButtonBox &box);
    void drawText(const ButtonBox &box, int flags, OleColor colour);
    void embossBlit(const QImage &source, int left, int top, int width, int height, OleColor brush);
    void selectClip();
    void removeClip();

    // The outline points of the face edges and the steps that move them.
    void innerPoints();
    void stepE();
    void stepX();
    void stepB();
    void stepFO();
    void leftTop(OleColor colour) { polyline({ m_pt[0], m_pt[1], m_pt[2] }, colour); }
    void rightBottom(OleColor colour) { polyline({ m_pt[2], m_pt[3], m_pt[4] }, colour); }
    void allSides(OleColor colour) { polyline({ m_pt[0], m_pt[1], m_pt[2], m_pt[3], m_pt[4] }, colour); }
    void leftEdge(OleColor colour) { polyline({ m_pt[0], m_pt[1] }, colour); }
    void topEdge(OleColor colour) { polyline({ m_pt[1], m_pt[2] }, colour); }
    void rightEdge(OleColor colour) { polyline({ m_pt[2], m_pt[3] }, colour); }
    void bottomEdge(OleColor colour) { polyline({ m_pt[3], m_pt[4] }, colour); }

    const ButtonState &m_state;
    QImage &m_image;
    QPainter m_painter;
    int m_width;
    int m_height;

    // Look values of the face painter.
    int m_focused = 0; // F
    int m_pressed = 0; // P
    int m_look = 0; // s
    bool m_outline = false; // O
    int m_slantLeft = 0; // Lf
    int m_slantRight = 0; // Rf
    QPoint m_pt[6];
    OleColor m_pen = 0; // colour of the last line drawn
};

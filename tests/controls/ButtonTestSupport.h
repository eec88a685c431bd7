#pragma once

#include "controls/ButtonColors.h"
#include "controls/gxButtons_H.h"

#include <QCoreApplication>
#include <QMouseEvent>

// A shown window holding one button at (10, 10).
struct ButtonHost
{
    explicit ButtonHost(QSize buttonSize = QSize(100, 30))
        : button(new gxButtons_H(&window))
    {
        window.resize(buttonSize + QSize(40, 40));
        button->setObjectName(QStringLiteral("cmdTest"));
        button->setGeometry(QRect(QPoint(10, 10), buttonSize));
        window.show();
    }

    gxButtons_H *operator->() const { return button; }

    QWidget window;
    gxButtons_H *button;
};

// Delivers a mouse event the way the window system would, without running
// the event loop (so the hover timer cannot end a look half-way).
inline void sendMouse(QWidget *target, QEvent::Type type, QPoint position, Qt::MouseButton button,
    Qt::MouseButtons held = Qt::NoButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(position), QPointF(target->mapToGlobal(position)), button, held, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

// Moves over the button and holds the left button down there.
inline void pressAt(QWidget *target, QPoint position)
{
    sendMouse(target, QEvent::MouseMove, position, Qt::NoButton);
    sendMouse(target, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
}

inline void sendFocus(QWidget *target, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(target, &event);
}

// A plain square bitmap picture.
inline ButtonPicture square(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::blue);
    return ButtonPicture::fromBitmap(image);
}

// A pixel of an image as 0x00RRGGBB, and an OLE colour in the same form.
inline QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & RGB_MASK;
}

inline QRgb rgbOf(OleColor colour)
{
    return ButtonColors::toQColor(colour).rgb() & RGB_MASK;
}

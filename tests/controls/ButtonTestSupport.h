#pragma once

#include "controls/ButtonColors.h"
#include "controls/gxButtons_H.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

// A shown window holding one button at (10, 10).
struct ButtonHost
{
    explicit ButtonHost(QSize buttonSize = QSize(100, 30))
        : button(new gxButtons_H(&window))
    {
        window.resize(buttonSize.width() + 40, buttonSize.height() + 40);
        button->setObjectName(QStringLiteral("cmdTest"));
        button->setGeometry(10, 10, buttonSize.width(), buttonSize.height());
        window.show();
    }

    QWidget window;
    gxButtons_H *button;
};

// Delivers a mouse event the way the window system would, without running
// the event loop (so the hover timer cannot end a look half-way).
inline void sendMouse(QWidget *target, QEvent::Type type, QPoint position, Qt::MouseButton button,
    Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(position), QPointF(target->mapToGlobal(position)), button, held, modifiers);
    QCoreApplication::sendEvent(target, &event);
}

inline void moveMouse(QWidget *target, QPoint position, Qt::MouseButtons held = Qt::NoButton)
{
    sendMouse(target, QEvent::MouseMove, position, Qt::NoButton, held);
}

inline void pressLeft(QWidget *target, QPoint position)
{
    sendMouse(target, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
}

inline void releaseLeft(QWidget *target, QPoint position)
{
    sendMouse(target, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
}

inline void sendFocus(QWidget *target, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(target, &event);
}

// Every event of a button in arrival order, e.g. "MouseDown(1,0,5,6)".
struct EventLog
{
    explicit EventLog(gxButtons_H *button)
    {
        auto mouse = [this](const char *name) {
            return [this, name](int b, int s, float x, float y) {
                entries << QStringLiteral("%1(%2,%3,%4,%5)").arg(QLatin1String(name)).arg(b).arg(s).arg(x).arg(y);
            };
        };
        QObject::connect(button, &gxButtons_H::MouseDown, button, mouse("MouseDown"));
        QObject::connect(button, &gxButtons_H::MouseUp, button, mouse("MouseUp"));
        QObject::connect(button, &gxButtons_H::Click, button, [this] { entries << QStringLiteral("Click"); });
        QObject::connect(button, &gxButtons_H::DoubleClick, button,
            [this](int b) { entries << QStringLiteral("DoubleClick(%1)").arg(b); });
        QObject::connect(button, &gxButtons_H::KeyDown, button,
            [this](int k, int s) { entries << QStringLiteral("KeyDown(%1,%2)").arg(k).arg(s); });
        QObject::connect(button, &gxButtons_H::KeyPress, button,
            [this](int k) { entries << QStringLiteral("KeyPress(%1)").arg(k); });
        QObject::connect(button, &gxButtons_H::KeyUp, button,
            [this](int k, int s) { entries << QStringLiteral("KeyUp(%1,%2)").arg(k).arg(s); });
        QObject::connect(button, &gxButtons_H::MouseOnButton, button, [this](bool on) {
            entries << (on ? QStringLiteral("MouseOnButton(True)") : QStringLiteral("MouseOnButton(False)"));
        });
    }

    QStringList entries;
};

// A pixel of an image as 0x00RRGGBB, and an OLE colour in the same form.
inline QRgb rgbAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & RGB_MASK;
}

inline QRgb rgbOf(OleColor colour)
{
    return ButtonColors::toQColor(colour).rgb() & RGB_MASK;
}

// What the screen shows of a button: its off-screen copy inside its
// outline, the window's background outside.
inline QImage visibleFace(const gxButtons_H &button, QRgb outside)
{
    QImage face = button.MemDC().copy();
    const QRegion outline = button.mask();
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (!outline.isEmpty() && !outline.contains(QPoint(x, y)))
                face.setPixel(x, y, outside | 0xFF000000u);
    return face;
}

#pragma once

#include <QString>

// Gives a control the name that tests and other windows find it by.
template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

#pragma once

#include "controls/gxButtons_H.h"

#include <QString>

// A button of a wizard window, with the look every window's buttons share.
gxButtons_H *make_button(QWidget *parent, const char *name, const QString &caption);

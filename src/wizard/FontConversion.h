#pragma once

#include "generate/Html_converter.h"

#include <QColor>
#include <QFont>

// A font the dialog chose, as a Qt font: the name and size when given, over
// `fallback`, with the effects.
QFont to_qfont(const FontSpec &spec, const QFont &fallback = QFont());

// Colours are kept as 0x00BBGGRR, as the generated HTML reads them.
QColor to_qcolor(qint32 color);
qint32 from_qcolor(const QColor &color);

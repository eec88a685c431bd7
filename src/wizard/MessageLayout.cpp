#include "MessageLayout.h"

#include <algorithm>

MessageLayout MessageLayout::compute(double text_width, int buttons)
{
    MessageLayout m;
    const double w = kButtonWidth;
    double row = 0; // width the button row needs
    switch (buttons) {
    case 1:
        row = w + 1500;
        break;
    case 2:
    case 3:
        row = 2 * w + 1700;
        break;
    case 4:
    case 5:
        row = 5 * w + 1900;
        break;
    default:
        break;
    }

    const double needed = text_width + 810;
    if (needed > 7500) {
        // Two or three lines in a fixed-width box; the buttons move down.
        const bool three = needed > 13000;
        const double grow = three ? 550 : 220;
        m.label_height = three ? 800 : 600;
        m.label_width = 6200;
        m.label_left = 960;
        m.outer_width = 7500;
        m.outer_height += grow;
        m.button_top += three ? 500 : 220;
    } else {
        m.outer_width = needed < row ? row + 50 : text_width + 900;
        m.label_width = text_width;
        m.label_left = (m.outer_width - 645 - text_width) / 2 + 550;
        m.label_top = (kInnerHeight - m.label_height - 405) / 2;
    }

    m.place_buttons(buttons);
    return m;
}

MessageLayout MessageLayout::fitted(double text_width, int buttons, const Wrapping &wrapped, double widest)
{
    MessageLayout m = compute(text_width, buttons);
    QSizeF text = wrapped(m.label_width);
    if (text.width() > m.label_width) {
        const double wider = std::min(text.width(), widest - m.outer_width + m.label_width) - m.label_width;
        if (wider > 0) {
            m.label_width += wider;
            m.outer_width += wider;
            m.place_buttons(buttons);
            text = wrapped(m.label_width);
        }
    }
    if (text.height() > m.label_height) {
        const double taller = text.height() - m.label_height;
        m.label_height += taller;
        m.outer_height += taller;
        m.button_top += taller;
    }
    return m;
}

void MessageLayout::place_buttons(int buttons)
{
    MessageLayout &m = *this;
    const double w = kButtonWidth;
    const double s = m.inner_width();
    const auto after = [&](Button left) { return m.button_left[left] + w + 200; };
    switch (buttons) {
    case 1:
        m.button_left[Ok] = (s - w) / 2;
        m.shown = { Ok };
        break;
    case 2:
        m.button_left[Ok] = (s - 2 * w - 200) / 2;
        m.button_left[Cancel] = after(Ok);
        m.shown = { Ok, Cancel };
        break;
    case 3:
        m.button_left[Yes] = (s - 2 * w - 200) / 2;
        m.button_left[No] = after(Yes);
        m.shown = { Yes, No };
        break;
    case 4:
        // 300, not the 400 of two gaps: the row sits slightly right of centre.
        m.button_left[Yes] = (s - 3 * w - 300) / 2;
        m.button_left[No] = after(Yes);
        m.button_left[Cancel] = after(No);
        m.shown = { Yes, No, Cancel };
        break;
    case 5:
        m.button_left[OverWrite] = after(SkipAll);
        m.button_left[OverwriteAll] = after(OverWrite);
        m.button_left[Cancel] = after(OverwriteAll);
        m.shown = { SkipAll, OverWrite, OverwriteAll, Cancel };
        break;
    default:
        break;
    }
}

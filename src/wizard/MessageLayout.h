#pragma once

#include <QList>
#include <QSizeF>

#include <functional>

// Where the message box puts its text, buttons and edges for a text of a
// given one-line width, all in twips (15 twips are one pixel). Outer sizes
// include the title bar and border; the box lays itself out on them as a
// fixed dialog window of the original design did.
struct MessageLayout
{
    // The border and title bar a fixed dialog adds around its inner area.
    static constexpr int kFrameWidth = 90;
    static constexpr int kFrameHeight = 435;
    // As designed: inner size, text label, icon, buttons.
    static constexpr int kInnerWidth = 6195;
    static constexpr int kInnerHeight = 1035;
    static constexpr int kButtonWidth = 1230;
    static constexpr int kButtonHeight = 360;
    static constexpr int kButtonTop = 600;

    // The seven buttons, in the order the box knows them.
    enum Button { Yes, No, Ok, Cancel, OverWrite, OverwriteAll, SkipAll, ButtonCount };

    double outer_width = kInnerWidth + kFrameWidth;
    double outer_height = kInnerHeight + kFrameHeight;
    double label_left = 960;
    double label_top = 120;
    double label_width = 5085;
    double label_height = 270;
    double button_top = kButtonTop;
    double button_left[ButtonCount] = { 4680, 360, 720, 3720, 2760, 1200, 1920 };
    QList<Button> shown; // left to right

    double inner_width() const { return outer_width - kFrameWidth; }
    double inner_height() const { return outer_height - kFrameHeight; }

    // `text_width` is the text's width on one line, in twips; `buttons` the
    // button set 1 to 5 (any other shows none).
    static MessageLayout compute(double text_width, int buttons);

    // The size (twips) the text takes when wrapped at a width (twips).
    using Wrapping = std::function<QSizeF(double width)>;
    // The layout of `compute`, grown so that the whole text shows: a word
    // wider than the label widens the box (up to `widest`, the outer width
    // the screen allows), and lines beyond the label's height make it and
    // the box taller, the buttons moving down with them.
    static MessageLayout fitted(double text_width, int buttons, const Wrapping &wrapped, double widest);

private:
    void place_buttons(int buttons);
};

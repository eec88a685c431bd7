#pragma once

class QRect;
class QWidget;

// Where the program's windows open. A window manager places a window anew
// each time it is shown, unless the program says where; and it adds a frame
// (title bar and border) that the program only learns once the window is
// shown. These functions place by the window itself and count the frame.

// Puts `window` at `geometry` (its inside, without the frame) and has it
// shown there, even when it stood there before it was hidden.
void set_place(QWidget &window, const QRect &geometry);

// Puts `window` (about to be shown) with its frame centred over that of
// `anchor`, moved and if need be shrunk so that all of it is on the part of
// the anchor's screen that windows may use; without an anchor, centred on
// the screen.
void place_over(QWidget &window, const QWidget *anchor);

// The window a message or a help window belongs over: the dialog or the
// window the user is working in, else the wizard page on the screen; null
// when there is none.
QWidget *working_window();

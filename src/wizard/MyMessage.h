#pragma once

#include <QString>

#include <functional>

// The program's one way to tell and ask the user something.
namespace MyMessage {

// What Escape does in a box: press its Cancel button, or its No button
// where it has no Cancel; or close the box as its close button does, for a
// question where neither answer may stand for "not now".
enum class Escape { Answers, Closes };

// Shows `text` with a button set (1 Ok; 2 Ok, Cancel; 3 Yes, No; 4 Yes, No,
// Cancel; 5 SkipAll, OverWrite, OverwriteAll, Cancel; other: none) and an
// icon (1 question, 2 exclamation, 3 information), and waits for the user.
// Returns 1 yes, 2 no, 3 cancel, 4 ok, 6 overwrite, 7 skip all, 8 overwrite
// all, or 0 when the box was closed otherwise.
int show_message(const QString &text, int buttons, int icon, Escape escape = Escape::Answers);

// Answers messages without showing the box (tests); an empty function
// shows the box again.
using Responder = std::function<int(const QString &text, int buttons, int icon)>;
void set_responder(Responder responder);

} // namespace MyMessage

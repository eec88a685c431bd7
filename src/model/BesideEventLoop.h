#pragma once

#include <QtGlobal>

#include <functional>

// Runs a job that may block for a while (a parse, a connect that waits for
// its time-out) on a thread of its own, while this thread's event loop keeps
// running so that windows repaint. A stack size of 0 takes the system's.
void run_beside_event_loop(std::function<void()> job, uint stack_size = 0);

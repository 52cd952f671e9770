#pragma once

#include <windows.h>

namespace uiprobe {

// For `duration_ms`, reads the control's text about every millisecond and prints
// "MICROSECONDS TEXT" each time it changes (the first line: the text at the start), the time
// being the wall clock since 1970, so the time a report takes to reach the screen can be
// measured from outside. Returns the exit code.
int watch_text(HWND control, unsigned duration_ms);

// For `duration_ms`, sends the window a message that does nothing about every 20 ms and times
// each answer (its message loop's round trip), then prints how many, the median, the slowest
// and how many took over 200 ms as JSON. Exit code 1 when one went unanswered for 5 s.
int ping_window(HWND window, unsigned duration_ms);

}  // namespace uiprobe

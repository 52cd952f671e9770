#pragma once

#include <windows.h>

namespace kivo {

// A message box grows with its text, and one taller than the screen leaves its OK button out
// of reach (the USSD help at 144 DPI on 1080 lines, or at 96 DPI on 768). Such a text is shown
// in a box of fixed size that scrolls it instead.
bool too_tall_for_screen(HWND owner, const char* text);

// The scrolling box: the text, an OK button, the caption; returns when the user closes it.
void show_tall_text_box(HWND owner, const char* text, const char* caption);

}  // namespace kivo

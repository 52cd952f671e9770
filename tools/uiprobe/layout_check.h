#pragma once

#include <windows.h>

#include <string>

namespace uiprobe {

struct LayoutReport {
  std::string json;  // one JSON object: the window, its DPI and the offenders
  bool sound;        // no offender
};

// Checks a window of the program as a user at its DPI sees it: the window lies on its
// monitor's work area, every visible control inside the client area (and above the status
// bar), and no control's text is cut, measured with the window's font at its DPI.
LayoutReport check_layout(HWND window);

// Makes this process see other windows in physical pixels, as they are drawn, instead of
// scaled to 96 DPI.
void become_dpi_aware();

}  // namespace uiprobe

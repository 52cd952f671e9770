#pragma once

#include <windows.h>

namespace kivo {

// A function of user32.dll that Windows 7 lacks, looked up so the program still starts there;
// null where it is missing.
template <typename Function>
Function newer_user32_function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// The DPI the window is drawn at: its monitor's from Windows 8.1 on, the system's before, where
// every window has that one.
UINT window_dpi(HWND window);

// The font Windows draws status bars in, at that DPI; the caller deletes it.
HFONT create_status_font(UINT dpi);

// The program's icon in the size Windows shows at that DPI: the small one of title bars
// (ICON_SMALL) or the big one of Alt+Tab (ICON_BIG); the caller destroys it.
HICON load_program_icon(HINSTANCE instance, UINT dpi, WPARAM which);

}  // namespace kivo

#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uiprobe {

constexpr char kMainWindowTitle[] = "Kivoscope";
constexpr char kDialogClass[] = "#32770";

// A control's or window's text, read with WM_GETTEXT, which the system carries across
// processes (GetWindowText does not read other processes' controls).
std::string window_text(HWND window);

// The visible main window, or null.
HWND find_main_window();

// A visible message box of the program (a dialog captioned "KIVO" or "KIVO Command Line
// Help"), or null.
HWND find_message_box();

struct Button {
  int id;
  std::string name;  // "OK", "Cancel", "Yes", ... from the identifier, not the label
};
std::vector<Button> dialog_buttons(HWND dialog);

// The identifier of a standard dialog button name ("OK", "Cancel", "Yes", "No", "Retry",
// "Abort", "Ignore"), or 0.
int button_id(const std::string& name);

// Calls `find` every 50 ms until it returns a window or `timeout_ms` has passed.
HWND wait_for(HWND (*find)(), unsigned timeout_ms);

}  // namespace uiprobe

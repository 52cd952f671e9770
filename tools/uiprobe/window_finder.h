#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uiprobe {

constexpr char kMainWindowTitle[] = "Kivoscope";
constexpr char kDialogClass[] = "#32770";

// SendMessageTimeout that gives up after 2 s or on a hung window; false then.
bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* result = nullptr);

// A control's or window's text, read with WM_GETTEXT, which the system carries across
// processes (GetWindowText does not read other processes' controls).
std::string window_text(HWND window);

// The visible main window, or null.
HWND find_main_window();

// The visible dialog titled `title` (a dialog of the program, such as "SIM PIN"), or null.
HWND find_dialog(const std::string& title);

// A visible message box or dialog of the program other than the main window (one of the main
// window's process, or one captioned "KIVO", "KIVO Command Line Help" or "USSD Help"), or null.
HWND find_message_box();

// Every such box or dialog, in the order the system lists them (topmost first).
std::vector<HWND> find_program_dialogs();

struct Button {
  int id;
  std::string name;  // "OK", "Cancel", "Yes", ... from the identifier, not the label
};
std::vector<Button> dialog_buttons(HWND dialog);

// The identifier of a standard dialog button name ("OK", "Cancel", "Yes", "No", "Retry",
// "Abort", "Ignore"), or 0.
int button_id(const std::string& name);

// Calls `find` every 50 ms until it returns a window or `timeout_ms` has passed.
HWND wait_for(const std::function<HWND()>& find, unsigned timeout_ms);

}  // namespace uiprobe

#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uiprobe {

// What a control is, from its class and style: "button", "group box", "text", "edit",
// "drop-down list", "combo box", "progress bar", "status bar", ... (else its class name).
std::string control_kind(HWND control);

// One control of a dialog as a JSON object: id, class, kind, text, enabled, visible, tabstop,
// rect (dialog client coordinates: left, top, right, bottom), and by kind: default (push
// buttons), multiline, readonly, limit (edits), position, range, bar_colour, background
// (progress bars), entries and selected (lists).
std::string describe_control(HWND dialog, HWND control);

// The main window as a JSON object: window, title, size, client, focus, default_button,
// status, the controls (all, or those with the given identifiers, in tab order) and the
// program's open dialogs.
std::string describe_main_window(HWND window, const std::vector<int>& ids);

// A message box or dialog: caption, text (of a message box), buttons.
std::string describe_dialog(HWND dialog);

// Entry INDEX of a combo box.
std::string list_entry_text(HWND list, int index);

// The dialog's direct children in tab order.
std::vector<HWND> dialog_controls(HWND dialog);

// The identifier of the control that has the keyboard focus in the window's thread, or 0.
int focused_control(HWND window);

}  // namespace uiprobe

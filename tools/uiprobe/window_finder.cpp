#include "window_finder.h"

#include <cstring>
#include <utility>

namespace uiprobe {
namespace {

constexpr UINT kSendTimeoutMs = 2000;

struct NamedButton {
  int id;
  const char* name;
};
constexpr NamedButton kButtons[] = {{IDOK, "OK"},       {IDCANCEL, "Cancel"}, {IDABORT, "Abort"},
                                    {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}, {IDYES, "Yes"},
                                    {IDNO, "No"}};

bool is_class(HWND window, const char* name) {
  char class_name[64] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  return std::strcmp(class_name, name) == 0;
}

struct Search {
  std::function<bool(HWND)> matches;
  std::vector<HWND> found;
  bool all = false;
};

BOOL CALLBACK check_top_level(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window) || !is_class(window, kDialogClass)) return TRUE;
  if (!search->matches(window)) return TRUE;
  search->found.push_back(window);
  return search->all ? TRUE : FALSE;
}

std::vector<HWND> find_top_level(std::function<bool(HWND)> matches, bool all) {
  Search search;
  search.matches = std::move(matches);
  search.all = all;
  EnumWindows(check_top_level, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND find_titled(const std::string& title) {
  const std::vector<HWND> found =
      find_top_level([&title](HWND window) { return window_text(window) == title; }, false);
  return found.empty() ? nullptr : found.front();
}

DWORD process_of(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

bool is_program_dialog(HWND window, HWND main_window) {
  if (window == main_window) return false;
  if (main_window != nullptr && process_of(window) == process_of(main_window)) return true;
  const std::string caption = window_text(window);
  return caption == "KIVO" || caption == "KIVO Command Line Help" || caption == "USSD Help";
}

std::vector<HWND> program_dialogs(bool all) {
  HWND main_window = find_main_window();
  return find_top_level(
      [main_window](HWND window) { return is_program_dialog(window, main_window); }, all);
}

BOOL CALLBACK collect_button(HWND child, LPARAM param) {
  auto* buttons = reinterpret_cast<std::vector<Button>*>(param);
  if (!is_class(child, "Button") || !IsWindowVisible(child)) return TRUE;
  const int id = GetDlgCtrlID(child);
  for (const NamedButton& known : kButtons) {
    if (known.id == id) buttons->push_back({id, known.name});
  }
  return TRUE;
}

}  // namespace

bool send(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD_PTR* result) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             result != nullptr ? result : &ignored) != 0;
}

std::string window_text(HWND window) {
  DWORD_PTR length = 0;
  if (!send(window, WM_GETTEXTLENGTH, 0, 0, &length)) return "";
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied)) {
    return "";
  }
  text.resize(copied < length ? copied : length);
  return text;
}

HWND find_main_window() {
  return find_titled(kMainWindowTitle);
}

HWND find_dialog(const std::string& title) {
  return find_titled(title);
}

HWND find_message_box() {
  const std::vector<HWND> found = program_dialogs(false);
  return found.empty() ? nullptr : found.front();
}

std::vector<HWND> find_program_dialogs() {
  return program_dialogs(true);
}

std::vector<Button> dialog_buttons(HWND dialog) {
  std::vector<Button> buttons;
  EnumChildWindows(dialog, collect_button, reinterpret_cast<LPARAM>(&buttons));
  return buttons;
}

int button_id(const std::string& name) {
  for (const NamedButton& known : kButtons) {
    if (name == known.name) return known.id;
  }
  return 0;
}

HWND wait_for(const std::function<HWND()>& find, unsigned timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND window = find()) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(50);
  }
}

}  // namespace uiprobe

#include "window_finder.h"

#include <cstring>

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
  bool (*matches)(HWND);
  HWND found = nullptr;
};

BOOL CALLBACK check_top_level(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!IsWindowVisible(window) || !is_class(window, kDialogClass)) return TRUE;
  if (!search->matches(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND find_top_level(bool (*matches)(HWND)) {
  Search search{matches};
  EnumWindows(check_top_level, reinterpret_cast<LPARAM>(&search));
  return search.found;
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

std::string window_text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    return "";
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return "";
  }
  text.resize(copied < length ? copied : length);
  return text;
}

HWND find_main_window() {
  return find_top_level([](HWND window) { return window_text(window) == kMainWindowTitle; });
}

HWND find_message_box() {
  return find_top_level([](HWND window) {
    const std::string caption = window_text(window);
    return caption == "KIVO" || caption == "KIVO Command Line Help";
  });
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

HWND wait_for(HWND (*find)(), unsigned timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND window = find()) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(50);
  }
}

}  // namespace uiprobe

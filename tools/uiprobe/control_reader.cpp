#include "control_reader.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "json_writer.h"
#include "window_finder.h"

namespace uiprobe {
namespace {

constexpr int kStatusBarId = 100;
constexpr int kMessageBoxTextId = 0xFFFF;

std::string class_of(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

LONG style_of(HWND window) {
  return GetWindowLongA(window, GWL_STYLE);
}

DWORD_PTR query(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR result = 0;
  send(window, message, wparam, lparam, &result);
  return result;
}

// "#rrggbb", or "default" while the control uses its theme's colour.
std::string colour(DWORD_PTR value) {
  if (static_cast<COLORREF>(value) == CLR_DEFAULT) return json_string("default");
  char text[16];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(value), GetGValue(value),
                GetBValue(value));
  return json_string(text);
}

std::string rect_in(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return json_array({std::to_string(rect.left), std::to_string(rect.top),
                     std::to_string(rect.right), std::to_string(rect.bottom)});
}

void add_list_fields(JsonObject& object, HWND list) {
  const auto count = static_cast<int>(query(list, CB_GETCOUNT));
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) {
    entries.push_back(JsonObject()
                          .add("text", list_entry_text(list, i))
                          .add("value", static_cast<long>(query(list, CB_GETITEMDATA, i)))
                          .str());
  }
  object.add_raw("entries", json_array(entries));
  object.add("selected", static_cast<int>(static_cast<LRESULT>(query(list, CB_GETCURSEL))));
}

void add_bar_fields(JsonObject& object, HWND bar) {
  object.add("position", static_cast<long>(query(bar, PBM_GETPOS)));
  object.add_raw("range", json_array({std::to_string(query(bar, PBM_GETRANGE, TRUE)),
                                      std::to_string(query(bar, PBM_GETRANGE, FALSE))}));
  object.add_raw("bar_colour", colour(query(bar, PBM_GETBARCOLOR)));
  object.add_raw("background", colour(query(bar, PBM_GETBKCOLOR)));
}

BOOL CALLBACK collect_child(HWND child, LPARAM param) {
  auto* found = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(param);
  if (GetAncestor(child, GA_PARENT) == found->first) found->second.push_back(child);
  return TRUE;
}

int default_button(HWND dialog) {
  const DWORD_PTR result = query(dialog, DM_GETDEFID);
  return HIWORD(result) == DC_HASDEFID ? LOWORD(result) : 0;
}

}  // namespace

// Item texts cross processes only as the W messages.
std::string list_entry_text(HWND list, int index) {
  const auto length = static_cast<std::size_t>(query(list, CB_GETLBTEXTLEN, index));
  std::wstring wide(length + 1, L'\0');
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&wide[0]),
                      SMTO_ABORTIFHUNG, 2000, &ignored);
  std::string text;
  for (std::size_t i = 0; i < length && wide[i] != L'\0'; ++i) {
    text += wide[i] < 0x100 ? static_cast<char>(wide[i]) : '?';
  }
  return text;
}

std::string control_kind(HWND control) {
  const std::string name = class_of(control);
  const LONG style = style_of(control);
  if (name == "Button") {
    switch (style & BS_TYPEMASK) {
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return "button";
      case BS_GROUPBOX:
        return "group box";
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
        return "check box";
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return "radio button";
      default:
        return "button";
    }
  }
  if (name == "Static") return "text";
  if (name == "Edit") return "edit";
  if (name == "ComboBox") {
    return (style & 3) == CBS_DROPDOWNLIST ? "drop-down list" : "combo box";
  }
  if (name == PROGRESS_CLASSA) return "progress bar";
  if (name == STATUSCLASSNAMEA) return "status bar";
  return name;
}

std::string describe_control(HWND dialog, HWND control) {
  const std::string kind = control_kind(control);
  const LONG style = style_of(control);
  JsonObject object;
  object.add("id", static_cast<int>(static_cast<short>(GetDlgCtrlID(control))))
      .add("class", class_of(control))
      .add("kind", kind)
      .add("text", window_text(control))
      .add("enabled", IsWindowEnabled(control) != FALSE)
      .add("visible", IsWindowVisible(control) != FALSE)
      .add("tabstop", (style & WS_TABSTOP) != 0)
      .add_raw("rect", rect_in(dialog, control));
  if (kind == "button") object.add("default", (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
  if (kind == "edit") {
    object.add("multiline", (style & ES_MULTILINE) != 0)
        .add("readonly", (style & ES_READONLY) != 0)
        .add("vscroll", (style & WS_VSCROLL) != 0)
        .add("limit", static_cast<long>(query(control, EM_GETLIMITTEXT)));
  }
  if (kind == "progress bar") add_bar_fields(object, control);
  if (kind == "drop-down list" || kind == "combo box") add_list_fields(object, control);
  return object.str();
}

std::vector<HWND> dialog_controls(HWND dialog) {
  std::pair<HWND, std::vector<HWND>> found{dialog, {}};
  EnumChildWindows(dialog, collect_child, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

int focused_control(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 0;
  if (info.hwndFocus == nullptr || !IsChild(window, info.hwndFocus)) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

std::string describe_main_window(HWND window, const std::vector<int>& ids) {
  std::vector<std::string> controls;
  for (HWND control : dialog_controls(window)) {
    const int id = static_cast<short>(GetDlgCtrlID(control));
    bool wanted = ids.empty();
    for (int wanted_id : ids) wanted = wanted || wanted_id == id;
    if (wanted) controls.push_back(describe_control(window, control));
  }
  std::vector<std::string> dialogs;
  for (HWND dialog : find_program_dialogs()) dialogs.push_back(describe_dialog(dialog));
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  HWND status_bar = GetDlgItem(window, kStatusBarId);
  char handle[32];
  std::snprintf(handle, sizeof handle, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return JsonObject()
      .add("window", handle)
      .add("title", window_text(window))
      .add_raw("size", json_array({std::to_string(outer.right - outer.left),
                                   std::to_string(outer.bottom - outer.top)}))
      .add_raw("client", json_array({std::to_string(client.right), std::to_string(client.bottom)}))
      .add("focus", focused_control(window))
      .add("default_button", default_button(window))
      .add_raw("status", status_bar ? json_string(window_text(status_bar)) : "null")
      .add_raw("controls", json_array(controls))
      .add_raw("dialogs", json_array(dialogs))
      .str();
}

std::string describe_dialog(HWND dialog) {
  std::vector<std::string> buttons;
  for (const Button& button : dialog_buttons(dialog)) buttons.push_back(json_string(button.name));
  HWND text = GetDlgItem(dialog, kMessageBoxTextId);
  return JsonObject()
      .add("caption", window_text(dialog))
      .add_raw("text", text ? json_string(window_text(text)) : "null")
      .add_raw("buttons", json_array(buttons))
      .str();
}

}  // namespace uiprobe

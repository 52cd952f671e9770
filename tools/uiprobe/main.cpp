// uiprobe: reads and drives Kivoscope's windows from another process, for the end-to-end
// tests and the demo. One subcommand per run; each prints one JSON object on stdout and exits
// 0, or prints {"error": ...} and exits 1 (2 for a usage error). See README.md.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "control_reader.h"
#include "json_writer.h"
#include "layout_check.h"
#include "timing_commands.h"
#include "window_finder.h"

namespace uiprobe {
namespace {

constexpr unsigned kDefaultTimeoutMs = 10000;
constexpr int kStatusBarId = 100;
// How long a click or a list choice waits for the window to handle it; a handler that opens a
// box or talks to the modem for longer goes on after the probe has ended.
constexpr UINT kHandleWaitMs = 1500;

struct Arguments {
  std::vector<std::string> positional;
  unsigned timeout_ms = kDefaultTimeoutMs;
  std::string wait_text;
  bool has_wait_text = false;
  // --dialog TITLE: the program's dialog with that title instead of the main window.
  std::string dialog_title;
};

int print(const JsonObject& object, int exit_code = 0) {
  std::printf("%s\n", object.str().c_str());
  return exit_code;
}

int fail(const std::string& message) {
  return print(JsonObject().add("error", message), 1);
}

std::string hex_handle(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

JsonObject window_state(HWND window) {
  return JsonObject()
      .add("window", hex_handle(window))
      .add("title", window_text(window))
      .add("visible", IsWindowVisible(window) != FALSE)
      .add("minimized", IsIconic(window) != FALSE);
}

// The window a command works on: the main window, or the dialog --dialog names.
HWND find_target(const Arguments& args) {
  return args.dialog_title.empty() ? find_main_window() : find_dialog(args.dialog_title);
}

HWND target_or_null(const Arguments& args) {
  return wait_for([&args] { return find_target(args); }, args.timeout_ms);
}

int fail_no_target(const Arguments& args) {
  const std::string& title = args.dialog_title.empty() ? kMainWindowTitle : args.dialog_title;
  return fail("no visible window titled " + title);
}

// wait-window: waits until the main window is visible and prints its state.
int cmd_wait_window(const Arguments& args) {
  HWND window = target_or_null(args);
  return window ? print(window_state(window)) : fail_no_target(args);
}

// status-text [--wait TEXT]: prints the status bar's text; with --wait, first waits until the
// text is TEXT.
int cmd_status_text(const Arguments& args) {
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  HWND bar = GetDlgItem(window, kStatusBarId);
  if (!bar) return fail("the main window has no status bar");
  const ULONGLONG deadline = GetTickCount64() + args.timeout_ms;
  std::string text = window_text(bar);
  while (args.has_wait_text && text != args.wait_text) {
    if (GetTickCount64() >= deadline) {
      return print(JsonObject()
                       .add("error", "status text did not become " + args.wait_text)
                       .add("text", text),
                   1);
    }
    Sleep(50);
    text = window_text(bar);
  }
  return print(JsonObject().add("text", text));
}

// message-box: waits for a message box of the program and prints its caption, text and
// buttons.
int cmd_message_box(const Arguments& args) {
  HWND box = wait_for(find_message_box, args.timeout_ms);
  if (!box) return fail("no message box");
  std::printf("%s\n", describe_dialog(box).c_str());
  return 0;
}

// answer BUTTON (or press BUTTON): clicks a button of the program's message box.
int cmd_answer(const Arguments& args) {
  if (args.positional.size() != 1) return fail("answer needs one button name");
  const int id = button_id(args.positional[0]);
  if (id == 0) return fail("unknown button " + args.positional[0]);
  HWND box = wait_for(find_message_box, args.timeout_ms);
  if (!box) return fail("no message box");
  HWND button = GetDlgItem(box, id);
  if (!button) return fail("the message box has no button " + args.positional[0]);
  // Posted: the box ends inside the click, and a sent click would wait on that.
  PostMessageA(button, BM_CLICK, 0, 0);
  return print(JsonObject().add("pressed", args.positional[0]));
}

// minimize: minimizes the main window as its title-bar button does.
int cmd_minimize(const Arguments& args) {
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  const ULONGLONG deadline = GetTickCount64() + args.timeout_ms;
  while (!IsIconic(window)) {
    if (GetTickCount64() >= deadline) return fail("the window did not minimize");
    Sleep(50);
  }
  return print(window_state(window));
}

// window: prints the main window's state now, without waiting for it.
int cmd_window(const Arguments& args) {
  HWND window = find_target(args);
  return window ? print(window_state(window)) : fail_no_target(args);
}

// read [ID...]: every control of the main window (or the named ones), its status bar, focus,
// default button and the program's open boxes.
int cmd_read(const Arguments& args) {
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  std::vector<int> ids;
  for (const std::string& id : args.positional) ids.push_back(std::atoi(id.c_str()));
  std::printf("%s\n", describe_main_window(window, ids).c_str());
  return 0;
}

// The main window's control `id_text`, of one of `kinds`, enabled and visible as a user could
// reach it; null after printing the error.
HWND usable_control(const Arguments& args, const std::string& id_text,
                    std::initializer_list<const char*> kinds, HWND* window_out) {
  HWND window = target_or_null(args);
  if (!window) {
    fail_no_target(args);
    return nullptr;
  }
  const int id = std::atoi(id_text.c_str());
  HWND control = GetDlgItem(window, id);
  if (!control) {
    fail("no control " + id_text);
    return nullptr;
  }
  const std::string kind = control_kind(control);
  bool known = false;
  for (const char* wanted : kinds) known = known || kind == wanted;
  if (!known) {
    fail("control " + id_text + " is a " + kind);
    return nullptr;
  }
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) {
    fail("control " + id_text + " is disabled or hidden");
    return nullptr;
  }
  *window_out = window;
  return control;
}

// click ID: presses a push button as a mouse click does (BM_CLICK).
int cmd_click(const Arguments& args) {
  if (args.positional.size() != 1) return fail("click needs a control identifier");
  HWND window = nullptr;
  HWND button = usable_control(args, args.positional[0], {"button"}, &window);
  if (!button) return 1;
  DWORD_PTR ignored = 0;
  const bool done =
      SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, kHandleWaitMs, &ignored) != 0;
  return print(
      JsonObject().add("clicked", std::atoi(args.positional[0].c_str())).add("done", done));
}

// type ID TEXT: focuses an edit, selects its text and types TEXT over it one character at a time
// (an empty TEXT deletes it with Backspace), so the dialog gets the edit's own notifications.
// The edit a combo box (ComboBox or ComboBoxEx32, such as the file name of the save-file
// dialog) types into; the control itself when it is an edit.
HWND inner_edit(HWND control) {
  char class_name[32] = {};
  GetClassNameA(control, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, "Edit") == 0) return control;
  for (HWND child = FindWindowExA(control, nullptr, nullptr, nullptr); child;
       child = FindWindowExA(control, child, nullptr, nullptr)) {
    if (HWND edit = inner_edit(child)) return edit;
  }
  return nullptr;
}

int cmd_type(const Arguments& args) {
  if (args.positional.size() != 2) return fail("type needs a control identifier and a text");
  HWND window = nullptr;
  HWND control =
      usable_control(args, args.positional[0], {"edit", "combo box", "ComboBoxEx32"}, &window);
  if (!control) return 1;
  HWND edit = inner_edit(control);
  if (!edit) return fail("control " + args.positional[0] + " has no edit");
  if (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) {
    return fail("control " + args.positional[0] + " is read-only");
  }
  send(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  send(edit, EM_SETSEL, 0, -1);
  const std::string& text = args.positional[1];
  if (text.empty()) send(edit, WM_CHAR, VK_BACK, 1);
  for (unsigned char c : text) send(edit, WM_CHAR, c, 1);
  return print(JsonObject()
                   .add("control", std::atoi(args.positional[0].c_str()))
                   .add("text", window_text(edit)));
}

// select ID INDEX: chooses an entry of a drop-down list and closes it with that choice
// (CBN_SELENDOK), as the mouse or Enter does.
int cmd_select(const Arguments& args) {
  if (args.positional.size() != 2) return fail("select needs a control identifier and an index");
  HWND window = nullptr;
  HWND list = usable_control(args, args.positional[0], {"drop-down list", "combo box"}, &window);
  if (!list) return 1;
  const int index = std::atoi(args.positional[1].c_str());
  DWORD_PTR count = 0;
  send(list, CB_GETCOUNT, 0, 0, &count);
  if (index < 0 || index >= static_cast<int>(count)) {
    return fail("control " + args.positional[0] + " has no entry " + args.positional[1]);
  }
  send(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  DWORD_PTR ignored = 0;
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(list), CBN_SELENDOK);
  const bool done = SendMessageTimeoutA(window, WM_COMMAND, command, reinterpret_cast<LPARAM>(list),
                                        SMTO_NORMAL, kHandleWaitMs, &ignored) != 0;
  return print(JsonObject()
                   .add("control", std::atoi(args.positional[0].c_str()))
                   .add("selected", index)
                   .add("done", done));
}

// key enter|escape: the key goes to the focused control through the window's message loop,
// where the dialog turns it into a press of the default button (or Cancel).
int cmd_key(const Arguments& args) {
  if (args.positional.size() != 1) return fail("key needs enter or escape");
  const std::string& name = args.positional[0];
  const WPARAM key = name == "enter" ? VK_RETURN : name == "escape" ? VK_ESCAPE : 0;
  if (key == 0) return fail("unknown key " + name);
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  const int focus = focused_control(window);
  HWND target = focus != 0 ? GetDlgItem(window, focus) : window;
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC))
                      << 16;
  PostMessageA(target, WM_KEYDOWN, key, scan | 1);
  PostMessageA(target, WM_KEYUP, key, scan | 1 | (LPARAM{3} << 30));
  return print(JsonObject().add("key", name).add("focus", focus));
}

// close: asks the main window to close, as its close box does.
int cmd_close(const Arguments& args) {
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  PostMessageA(window, WM_CLOSE, 0, 0);
  return print(JsonObject().add("closed", hex_handle(window)));
}

// post N WPARAM LPARAM: posts WM_APP + N to the main window with the numbers given (decimal or
// 0x hexadecimal), as any other program on the desktop may.
int cmd_post(const Arguments& args) {
  if (args.positional.size() != 3) return fail("post needs an offset from WM_APP and two numbers");
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  const unsigned offset =
      static_cast<unsigned>(std::strtoul(args.positional[0].c_str(), nullptr, 0));
  const auto wparam = static_cast<WPARAM>(std::strtoull(args.positional[1].c_str(), nullptr, 0));
  const auto lparam = static_cast<LPARAM>(std::strtoull(args.positional[2].c_str(), nullptr, 0));
  const bool posted = PostMessageA(window, WM_APP + offset, wparam, lparam) != FALSE;
  return print(JsonObject().add("posted", static_cast<int>(offset)).add("done", posted));
}

// clipboard: the text on the clipboard (CF_TEXT); null when it holds none.
int cmd_clipboard(const Arguments& args) {
  if (!args.positional.empty()) return fail("clipboard takes no arguments");
  if (!OpenClipboard(nullptr)) return fail("the clipboard is busy");
  JsonObject result;
  HANDLE data = GetClipboardData(CF_TEXT);
  const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (text) {
    result.add("text", std::string(text));
    GlobalUnlock(data);
  } else {
    result.add_raw("text", "null");
  }
  CloseClipboard();
  return print(result);
}

std::string json_numbers(std::initializer_list<long> numbers) {
  std::vector<std::string> items;
  for (const long number : numbers) items.push_back(std::to_string(number));
  return json_array(items);
}

// resize WIDTH HEIGHT [LEFT TOP]: gives the window that size in pixels, frame included, as
// dragging its border does (and moves it there), and prints where it then lies on the screen, so
// a screenshot can be cut to it.
int cmd_resize(const Arguments& args) {
  const std::size_t count = args.positional.size();
  if (count != 2 && count != 4) return fail("resize needs a width and a height, and a place");
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  const int width = std::atoi(args.positional[0].c_str());
  const int height = std::atoi(args.positional[1].c_str());
  const int left = count == 4 ? std::atoi(args.positional[2].c_str()) : 0;
  const int top = count == 4 ? std::atoi(args.positional[3].c_str()) : 0;
  SetWindowPos(window, nullptr, left, top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (count == 4 ? 0 : SWP_NOMOVE));
  RECT rect{};
  const ULONGLONG deadline = GetTickCount64() + args.timeout_ms;
  while (GetWindowRect(window, &rect) &&
         (rect.right - rect.left != width || rect.bottom - rect.top != height)) {
    if (GetTickCount64() >= deadline)
      return print(
          JsonObject()
              .add("error", "the window kept another size")
              .add_raw("rect", json_numbers({rect.left, rect.top, rect.right, rect.bottom})),
          1);
    Sleep(50);
  }
  // The window's repainting comes after its WM_SIZE; a message round trip waits for both.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHandleWaitMs, &ignored);
  POINT client{0, 0};
  ClientToScreen(window, &client);
  return print(window_state(window)
                   .add_raw("rect", json_numbers({rect.left, rect.top, rect.right, rect.bottom}))
                   .add_raw("client_origin", json_numbers({client.x, client.y})));
}

// watch ID: prints each change of the control's text with the time it was seen, for --timeout ms.
int cmd_watch(const Arguments& args) {
  if (args.positional.size() != 1) return fail("watch needs a control id");
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  HWND control = GetDlgItem(window, std::atoi(args.positional[0].c_str()));
  if (!control) return fail("no control " + args.positional[0]);
  return watch_text(control, args.timeout_ms);
}

// ping: times the window's answers for --timeout ms.
int cmd_ping(const Arguments& args) {
  if (!args.positional.empty()) return fail("ping takes no arguments");
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  return ping_window(window, args.timeout_ms);
}

// layout: checks that the main window (or the dialog or message box --dialog names) fits its
// screen, holds every control inside it and cuts no text, at its DPI.
int cmd_layout(const Arguments& args) {
  if (!args.positional.empty()) return fail("layout takes no arguments");
  HWND window = target_or_null(args);
  if (!window) return fail_no_target(args);
  const LayoutReport report = check_layout(window);
  std::printf("%s\n", report.json.c_str());
  return report.sound ? 0 : 1;
}

struct Command {
  const char* name;
  int (*run)(const Arguments&);
  const char* usage;
};

constexpr Command kCommands[] = {
    {"wait-window", cmd_wait_window, "wait-window            wait for the visible main window"},
    {"window", cmd_window, "window                 the main window's state, now"},
    {"status-text", cmd_status_text, "status-text [--wait T] the status bar text"},
    {"message-box", cmd_message_box, "message-box            caption, text, buttons of a box"},
    {"answer", cmd_answer, "answer BUTTON          click OK, Cancel, Yes, No, Retry, ..."},
    {"press", cmd_answer, "press BUTTON           the same as answer"},
    {"read", cmd_read, "read [ID...]           controls, status, focus, default, boxes"},
    {"click", cmd_click, "click ID               press a push button"},
    {"type", cmd_type,
     "type ID TEXT           type TEXT into an edit (or a combo box's), over its text"},
    {"select", cmd_select, "select ID INDEX        choose an entry of a drop-down list"},
    {"key", cmd_key, "key enter|escape       a key to the focused control"},
    {"minimize", cmd_minimize, "minimize               minimize the main window"},
    {"resize", cmd_resize, "resize W H [LEFT TOP]  size (and move) the window, frame included"},
    {"close", cmd_close, "close                  send WM_CLOSE to the main window"},
    {"clipboard", cmd_clipboard, "clipboard              the text on the clipboard"},
    {"post", cmd_post, "post N WPARAM LPARAM   post WM_APP + N to the main window"},
    {"watch", cmd_watch, "watch ID               print each change of its text, timed"},
    {"ping", cmd_ping, "ping                   time the window's answers for --timeout ms"},
    {"layout", cmd_layout, "layout                 controls inside the window, no text cut"},
};

int usage() {
  std::fprintf(stderr, "usage: uiprobe COMMAND [ARGS] [--timeout MS] [--dialog TITLE]\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  %s\n", command.usage);
  return 2;
}

bool parse(int argc, char** argv, Arguments& args) {
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
      args.timeout_ms = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else if (std::strcmp(argv[i], "--dialog") == 0 && i + 1 < argc) {
      args.dialog_title = argv[++i];
    } else if (std::strcmp(argv[i], "--wait") == 0 && i + 1 < argc) {
      args.wait_text = argv[++i];
      args.has_wait_text = true;
    } else if (std::strncmp(argv[i], "--", 2) == 0) {
      return false;
    } else {
      args.positional.push_back(argv[i]);
    }
  }
  return true;
}

}  // namespace
}  // namespace uiprobe

int main(int argc, char** argv) {
  // JSON lines end in a bare LF, as on the Linux side reading them.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return uiprobe::usage();
  // Window rectangles in the pixels they are drawn in, whatever the DPI.
  uiprobe::become_dpi_aware();
  uiprobe::Arguments args;
  if (!uiprobe::parse(argc, argv, args)) return uiprobe::usage();
  for (const uiprobe::Command& command : uiprobe::kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(args);
  }
  return uiprobe::usage();
}

// uiprobe: reads and drives Kivoscope's windows from another process, for the end-to-end
// tests and the demo. One subcommand per run; each prints one JSON object on stdout and exits
// 0, or prints {"error": ...} and exits 1 (2 for a usage error). See README.md.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "json_writer.h"
#include "window_finder.h"

namespace uiprobe {
namespace {

constexpr unsigned kDefaultTimeoutMs = 10000;
constexpr int kStatusBarId = 100;

struct Arguments {
  std::vector<std::string> positional;
  unsigned timeout_ms = kDefaultTimeoutMs;
  std::string wait_text;
  bool has_wait_text = false;
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

HWND main_window_or_null(const Arguments& args) {
  return wait_for(find_main_window, args.timeout_ms);
}

// wait-window: waits until the main window is visible and prints its state.
int cmd_wait_window(const Arguments& args) {
  HWND window = main_window_or_null(args);
  return window ? print(window_state(window)) : fail("no visible window titled Kivoscope");
}

// status-text [--wait TEXT]: prints the status bar's text; with --wait, first waits until the
// text is TEXT.
int cmd_status_text(const Arguments& args) {
  HWND window = main_window_or_null(args);
  if (!window) return fail("no visible window titled Kivoscope");
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
  std::string buttons = "[";
  for (const Button& button : dialog_buttons(box)) {
    if (buttons.size() > 1) buttons += ",";
    buttons += json_string(button.name);
  }
  buttons += "]";
  return print(JsonObject()
                   .add("caption", window_text(box))
                   .add("text", window_text(GetDlgItem(box, 0xFFFF)))
                   .add_raw("buttons", buttons));
}

// press BUTTON: clicks a button of the program's message box.
int cmd_press(const Arguments& args) {
  if (args.positional.size() != 1) return fail("press needs one button name");
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
  HWND window = main_window_or_null(args);
  if (!window) return fail("no visible window titled Kivoscope");
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  const ULONGLONG deadline = GetTickCount64() + args.timeout_ms;
  while (!IsIconic(window)) {
    if (GetTickCount64() >= deadline) return fail("the window did not minimize");
    Sleep(50);
  }
  return print(window_state(window));
}

// window: prints the main window's state now, without waiting for it.
int cmd_window(const Arguments&) {
  HWND window = find_main_window();
  return window ? print(window_state(window)) : fail("no visible window titled Kivoscope");
}

// close: asks the main window to close, as its close box does.
int cmd_close(const Arguments& args) {
  HWND window = main_window_or_null(args);
  if (!window) return fail("no visible window titled Kivoscope");
  PostMessageA(window, WM_CLOSE, 0, 0);
  return print(JsonObject().add("closed", hex_handle(window)));
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
    {"press", cmd_press, "press BUTTON           click OK, Cancel, Yes, No, Retry, ..."},
    {"minimize", cmd_minimize, "minimize               minimize the main window"},
    {"close", cmd_close, "close                  send WM_CLOSE to the main window"},
};

int usage() {
  std::fprintf(stderr, "usage: uiprobe COMMAND [ARGS] [--timeout MS]\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  %s\n", command.usage);
  return 2;
}

bool parse(int argc, char** argv, Arguments& args) {
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
      args.timeout_ms = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
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
  uiprobe::Arguments args;
  if (!uiprobe::parse(argc, argv, args)) return uiprobe::usage();
  for (const uiprobe::Command& command : uiprobe::kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) return command.run(args);
  }
  return uiprobe::usage();
}

// A stand-in for the platform's phone-book dialer, for the end-to-end tests only: installed in
// a test prefix as rasphone.exe, it "dials" by writing its dial script to the modem simulator's
// control pipe, then stays open until the test closes it, as a person closes the dialer's
// window. It has no window and no console.
//
//   KIVO_DIALER_CONTROL  the simulator's control pipe, as a Windows path (Z:\...\modem-control)
//   KIVO_DIALER_SCRIPT   a file of control lines to write; without it the line "connect"
//   KIVO_DIALER_CLOSE    a file whose appearance closes the dialer; it deletes the file as it
//                        goes, so the test can see that it has gone (without it the dialer
//                        stays until the wineserver ends)
//
// Exit code 0 once closed, 1 when the control pipe cannot be written.
#include <windows.h>

#include <string>

namespace {

std::string environment(const char* name) {
  char value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string read_file(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD count = 0;
  while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0)
    text.append(buffer, count);
  CloseHandle(file);
  return text;
}

bool dial(const std::string& control, const std::string& script) {
  HANDLE pipe = CreateFileA(control.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool done =
      WriteFile(pipe, script.data(), static_cast<DWORD>(script.size()), &written, nullptr) &&
      written == script.size();
  CloseHandle(pipe);
  return done;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string script_path = environment("KIVO_DIALER_SCRIPT");
  const std::string script = script_path.empty() ? "connect\n" : read_file(script_path);
  if (!dial(environment("KIVO_DIALER_CONTROL"), script)) return 1;

  const std::string close = environment("KIVO_DIALER_CLOSE");
  while (GetFileAttributesA(close.c_str()) == INVALID_FILE_ATTRIBUTES) Sleep(50);
  DeleteFileA(close.c_str());
  return 0;
}

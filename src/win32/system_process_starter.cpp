#include "system_process_starter.h"

#include <windows.h>

#include <string>

namespace kivo {

bool SystemProcessStarter::run_and_wait(const char* command_line) {
  // The program's own start-up information, as the user started it.
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  PROCESS_INFORMATION process = {};
  // CreateProcessA may write into the command line.
  std::string line(command_line);
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                      nullptr, &startup, &process))
    return false;
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

}  // namespace kivo

#pragma once

namespace kivo {

// Runs another program (CreateProcess in the program, a recorder in tests).
class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts `command_line` as it stands (the system's search path finds a bare name), with no
  // inherited handles, and waits without limit until the process has ended. False when the
  // process could not be created.
  virtual bool run_and_wait(const char* command_line) = 0;
};

}  // namespace kivo

#pragma once

#include <string>
#include <vector>

namespace kivo::integration {

// The modem simulator as a child process, in a temporary folder of its own, with a control
// pipe and a transcript there.
class ModemsimProcess {
 public:
  // Starts modemsim with `arguments` added to its command line and waits for its "pty:" line.
  // A scenario given as text is written to a file and passed with --scenario.
  explicit ModemsimProcess(const std::string& scenario = "",
                           std::vector<std::string> arguments = {});
  ~ModemsimProcess();  // stops the simulator and removes the folder
  ModemsimProcess(const ModemsimProcess&) = delete;
  ModemsimProcess& operator=(const ModemsimProcess&) = delete;

  // The slave of the simulator's pseudo-terminal; empty if it did not start.
  const std::string& pty() const { return pty_; }
  const std::string& folder() const { return folder_; }
  // Sends one control line.
  void control(const std::string& line) const;
  // What the simulator received, in its readable form.
  std::string transcript() const;
  // Waits (at most `timeout_ms`, as a guard) for the simulator to end by itself; its exit
  // status, or -1 if it is still running.
  int wait_for_exit(int timeout_ms);

 private:
  std::string folder_;
  std::string pty_;
  int pid_ = -1;
};

}  // namespace kivo::integration

#pragma once

#include <string>
#include <vector>

namespace modemsim {

// A named pipe that takes control lines while the simulator runs. Any number of writers may
// come and go; the simulator holds a writing end itself, so the pipe never reports an end.
class ControlFifo {
 public:
  ControlFifo() = default;
  ~ControlFifo();
  ControlFifo(const ControlFifo&) = delete;
  ControlFifo& operator=(const ControlFifo&) = delete;

  // Creates the pipe at `path` (an existing pipe is reused). False with `error` set on failure.
  bool open(const std::string& path, std::string& error);
  int fd() const { return read_fd_; }
  // The complete lines written since the last call.
  std::vector<std::string> read_lines();

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
  bool created_ = false;
  std::string path_;
  std::string partial_;
};

}  // namespace modemsim

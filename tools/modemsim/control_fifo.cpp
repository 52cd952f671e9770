#include "control_fifo.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modemsim {

ControlFifo::~ControlFifo() {
  if (read_fd_ >= 0) close(read_fd_);
  if (write_fd_ >= 0) close(write_fd_);
  if (created_) unlink(path_.c_str());
}

bool ControlFifo::open(const std::string& path, std::string& error) {
  path_ = path;
  if (mkfifo(path.c_str(), 0600) == 0) {
    created_ = true;
  } else if (errno != EEXIST) {
    error = "cannot make the control pipe " + path + ": " + strerror(errno);
    return false;
  }
  read_fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  write_fd_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (read_fd_ < 0 || write_fd_ < 0) {
    error = "cannot open the control pipe " + path + ": " + strerror(errno);
    return false;
  }
  return true;
}

std::vector<std::string> ControlFifo::read_lines() {
  char buffer[4096];
  long n;
  while ((n = read(read_fd_, buffer, sizeof buffer)) > 0) partial_.append(buffer, n);
  std::vector<std::string> lines;
  std::size_t end;
  while ((end = partial_.find('\n')) != std::string::npos) {
    lines.push_back(partial_.substr(0, end));
    partial_.erase(0, end + 1);
  }
  return lines;
}

}  // namespace modemsim

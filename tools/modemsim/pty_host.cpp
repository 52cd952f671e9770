#include "pty_host.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace modemsim {

PtyHost::~PtyHost() {
  close();
}

bool PtyHost::open(std::string& error) {
  hosts_ = 0;
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + strerror(errno);
    return false;
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    error = std::string("ptsname: ") + strerror(errno);
    return false;
  }
  slave_path_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  termios tio{};
  if (slave_ < 0 || tcgetattr(slave_, &tio) != 0) {
    error = "cannot open " + slave_path_ + ": " + strerror(errno);
    return false;
  }
  // Raw, no echo: what the host writes reaches the modem unchanged and nothing comes back by
  // itself.
  cfmakeraw(&tio);
  cfsetispeed(&tio, B115200);
  cfsetospeed(&tio, B115200);
  tcsetattr(slave_, TCSANOW, &tio);
  // Opened after our own slave descriptor, so every event is the host's.
  watch_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch_ >= 0 && inotify_add_watch(watch_, name, IN_OPEN | IN_CLOSE) < 0) {
    ::close(watch_);
    watch_ = -1;
  }
  return true;
}

bool PtyHost::link(const std::string& path, std::string& error) {
  ::unlink(path.c_str());
  if (symlink(slave_path_.c_str(), path.c_str()) != 0) {
    error = "cannot link " + path + ": " + strerror(errno);
    return false;
  }
  link_path_ = path;
  return true;
}

void PtyHost::close() {
  for (int* fd : {&master_, &slave_, &watch_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  if (!link_path_.empty()) ::unlink(link_path_.c_str());
  link_path_.clear();
}

void PtyHost::update_host_count() {
  if (watch_ < 0) return;
  alignas(inotify_event) char buffer[4096];
  long n;
  while ((n = ::read(watch_, buffer, sizeof buffer)) > 0) {
    for (char* p = buffer; p < buffer + n;) {
      auto* event = reinterpret_cast<inotify_event*>(p);
      if (event->mask & IN_OPEN) ++hosts_;
      if ((event->mask & IN_CLOSE) && hosts_ > 0 && --hosts_ == 0) tcflush(slave_, TCIFLUSH);
      p += sizeof(inotify_event) + event->len;
    }
  }
}

bool PtyHost::host_drained() const {
  int pending = 0;
  return ioctl(slave_, FIONREAD, &pending) != 0 || pending == 0;
}

long PtyHost::read(char* buffer, std::size_t capacity) {
  long n = ::read(master_, buffer, capacity);
  return n > 0 ? n : 0;
}

std::size_t PtyHost::write(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    long n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

}  // namespace modemsim

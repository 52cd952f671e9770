// Preloaded into the wine process of the end-to-end tests, where a pseudo-terminal stands in
// for the modem's serial port. Wine sets DTR and RTS and its comm-event wait polls the
// modem-control lines, which a pty slave does not have (the kernel rejects TIOCMGET there).
// This library keeps those lines itself for pty slaves, and reports EIO once the simulator
// has closed the master, which is what a vanished USB device looks like to a real driver.
#include <dlfcn.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>

namespace {

using IoctlFn = int (*)(int, unsigned long, void*);

// Unix98 pty slaves have majors 136 to 143.
bool is_pty_slave(int fd) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
  const unsigned major_number = major(st.st_rdev);
  return major_number >= 136 && major_number <= 143;
}

bool hung_up(int fd) {
  pollfd p{fd, 0, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & POLLHUP) != 0;
}

// One set of output lines per descriptor; the modem side always shows CTS, DSR and carrier.
constexpr int kMaxFds = 1024;
std::atomic<int> output_lines[kMaxFds];
constexpr int kInputLines = TIOCM_CTS | TIOCM_DSR | TIOCM_CD;
constexpr int kOutputLines = TIOCM_DTR | TIOCM_RTS;

int modem_lines(int fd, unsigned long request, int* arg) {
  if (fd < 0 || fd >= kMaxFds || arg == nullptr) {
    errno = EINVAL;
    return -1;
  }
  std::atomic<int>& lines = output_lines[fd];
  switch (request) {
    case TIOCMGET:
      if (hung_up(fd)) {
        errno = EIO;
        return -1;
      }
      *arg = lines.load() | kInputLines;
      return 0;
    case TIOCMSET:
      lines.store(*arg & kOutputLines);
      return 0;
    case TIOCMBIS:
      lines.fetch_or(*arg & kOutputLines);
      return 0;
    default:  // TIOCMBIC
      lines.fetch_and(~*arg);
      return 0;
  }
}

int shim_ioctl(IoctlFn real_ioctl, int fd, unsigned long request, void* arg) {
  switch (request) {
    case TIOCMGET:
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
      if (is_pty_slave(fd)) return modem_lines(fd, request, static_cast<int*>(arg));
      break;
    default:
      break;
  }
  if (real_ioctl == nullptr) {
    errno = ENOSYS;
    return -1;
  }
  return real_ioctl(fd, request, arg);
}

}  // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  static const auto real_ioctl = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
  return shim_ioctl(real_ioctl, fd, request, arg);
}

#ifndef __LP64__
// A 32-bit program built with a 64-bit time_t (Debian's 32-bit Wine) calls glibc's ioctl by
// this name.
extern "C" int __ioctl_time64(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  static const auto real_ioctl = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "__ioctl_time64"));
  return shim_ioctl(real_ioctl, fd, request, arg);
}
#endif

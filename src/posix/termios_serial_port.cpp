#include "termios_serial_port.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>

namespace kivo {
namespace {

// A burst ends at the first gap of more than this between two bytes.
constexpr int kBurstGapMs = 1;

bool configure(int fd) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, B115200) != 0 || cfsetospeed(&tio, B115200) != 0) return false;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return false;
  // DTR and RTS on; a pseudo-terminal has no modem lines and refuses, which is harmless.
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIS, &lines);
  return true;
}

}  // namespace

TermiosSerialPort::TermiosSerialPort(int fd, int wake_read, int wake_write)
    : fd_(fd), wake_read_(wake_read), wake_write_(wake_write) {}

TermiosSerialPort::~TermiosSerialPort() {
  tcflush(fd_, TCIOFLUSH);
  close(fd_);
  close(wake_read_);
  close(wake_write_);
}

unsigned TermiosSerialPort::start_listening() {
  return 0;
}

long TermiosSerialPort::read_burst(std::uint8_t* buffer, std::size_t capacity) {
  pollfd fds[] = {{wake_read_, POLLIN, 0}, {fd_, POLLIN, 0}};
  while (poll(fds, 2, -1) < 0) {
    if (errno != EINTR) return -1;
  }
  // A stop request wins over pending input.
  if (fds[0].revents != 0) return 0;
  // A device that has gone (unplugged; a pseudo-terminal whose master closed) polls as hung up
  // and reads as end of file or EIO.
  bool hung_up = (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  std::size_t total = 0;
  while (total < capacity) {
    long n = read(fd_, buffer + total, capacity - total);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (n < 0 && errno != EAGAIN)) {
      if (total > 0) break;
      return hung_up || n < 0 ? -1 : 0;
    }
    if (n > 0) total += static_cast<std::size_t>(n);
    pollfd more = {fd_, POLLIN, 0};
    if (total == capacity || poll(&more, 1, kBurstGapMs) <= 0) break;
    hung_up = (more.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
  }
  return static_cast<long>(total);
}

void TermiosSerialPort::stop_listening() {
  char byte = 1;
  // The byte stays in the pipe, so every later read_burst returns at once as well.
  while (::write(wake_write_, &byte, 1) < 0 && errno == EINTR) {
  }
}

bool TermiosSerialPort::write(const void* bytes, std::size_t count, unsigned timeout_ms) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  const auto* data = static_cast<const std::uint8_t*>(bytes);
  std::size_t done = 0;
  while (done < count) {
    long n = ::write(fd_, data + done, count - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd out = {fd_, POLLOUT, 0};
    if (left.count() <= 0 || poll(&out, 1, static_cast<int>(left.count())) == 0) {
      // What is still queued would go out after the caller has given up on it.
      tcflush(fd_, TCOFLUSH);
      return false;
    }
    if (out.revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
  }
  return true;
}

void TermiosSerialPort::purge() {
  tcflush(fd_, TCIOFLUSH);
}

std::unique_ptr<SerialPort> TermiosSerialPortOpener::open(const char* port_name) {
  int fd = ::open(port_name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  int wake[2];
  if (!configure(fd) || pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<TermiosSerialPort>(fd, wake[0], wake[1]);
}

bool TermiosSerialPortOpener::probe_port(const char* port_name) {
  const int fd = ::open(port_name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

}  // namespace kivo

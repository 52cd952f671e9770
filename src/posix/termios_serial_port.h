#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "link/serial_port.h"

namespace kivo {

// A serial device (a USB modem's tty, or a pseudo-terminal) in raw mode at 115200 8N1.
class TermiosSerialPort : public SerialPort {
 public:
  // Takes an open descriptor and the two ends of the pipe that stop_listening() writes to.
  TermiosSerialPort(int fd, int wake_read, int wake_write);
  ~TermiosSerialPort() override;
  TermiosSerialPort(const TermiosSerialPort&) = delete;
  TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

  unsigned start_listening() override;
  long read_burst(std::uint8_t* buffer, std::size_t capacity) override;
  void stop_listening() override;
  bool write(const void* bytes, std::size_t count, unsigned timeout_ms) override;
  void purge() override;

 private:
  int fd_;
  int wake_read_;
  int wake_write_;
};

// Opens a device by its path (/dev/ttyUSB0, /dev/pts/7, or a link to one).
class TermiosSerialPortOpener : public SerialPortOpener {
 public:
  std::unique_ptr<SerialPort> open(const char* port_name) override;
  bool probe_port(const char* port_name) override;
};

}  // namespace kivo

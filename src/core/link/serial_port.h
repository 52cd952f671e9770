#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kivo {

// A port name is prefixed with "\\.\" into a 20-byte device path, so it holds at most 15
// characters.
constexpr std::size_t kMaxPortNameLength = 15;

// One open serial port to the modem: Win32 overlapped I/O in the program, termios on Linux.
// One thread reads (the receive thread) while others write.
class SerialPort {
 public:
  virtual ~SerialPort() = default;  // purges pending I/O and closes the port

  // Arms the port to report arriving bytes. 0, or the system's error number.
  virtual unsigned start_listening() = 0;

  // Waits without limit for the modem to send, then returns one burst: the bytes that arrive
  // until a gap of more than 1 ms, at most `capacity`. Returns the byte count, 0 when woken by
  // stop_listening() (or when a read delivered nothing), -1 when the port has failed (unplugged).
  virtual long read_burst(std::uint8_t* buffer, std::size_t capacity) = 0;

  // Makes a read_burst that is waiting for its first byte return 0, now and from then on.
  virtual void stop_listening() = 0;

  // Writes exactly `count` bytes. False when they were not all written within `timeout_ms`;
  // a write still pending then is cancelled before this returns.
  virtual bool write(const void* bytes, std::size_t count, unsigned timeout_ms) = 0;

  // Discards what is queued in both directions.
  virtual void purge() = 0;
};

class SerialPortOpener {
 public:
  virtual ~SerialPortOpener() = default;
  // Opens "\\.\<port_name>" (or the device the name maps to) at 115200 8N1 with DTR and RTS on
  // and a 1 ms read interval; null on any failure.
  virtual std::unique_ptr<SerialPort> open(const char* port_name) = 0;
  // Opens the port as open() does but without configuring it, for reading and writing, not
  // shared, and closes it at once. True when it opened.
  virtual bool probe_port(const char* port_name) = 0;
};

}  // namespace kivo

#pragma once

#include <windows.h>

#include <mutex>

#include "link/serial_port.h"

namespace kivo {

// The modem's COM port with overlapped I/O: the receive thread's read waits for the first byte
// and returns one burst, while other threads write with a time limit.
class OverlappedSerialPort : public SerialPort {
 public:
  // Takes ownership of an open, configured port handle.
  explicit OverlappedSerialPort(HANDLE port);
  ~OverlappedSerialPort() override;
  OverlappedSerialPort(const OverlappedSerialPort&) = delete;
  OverlappedSerialPort& operator=(const OverlappedSerialPort&) = delete;

  unsigned start_listening() override;
  long read_burst(std::uint8_t* buffer, std::size_t capacity) override;
  void stop_listening() override;
  bool write(const void* bytes, std::size_t count, unsigned timeout_ms) override;
  void purge() override;

 private:
  // Waits for `overlapped` or the end event. False when the end event came first; the
  // operation has then been ended and has finished with `overlapped`.
  bool wait_or_end(OVERLAPPED& overlapped);
  long read_once(std::uint8_t* buffer, std::size_t capacity);
  bool stopped() const;

  HANDLE port_;
  HANDLE end_event_;    // manual reset; set once by stop_listening()
  HANDLE read_event_;   // for the receive thread's OVERLAPPED
  HANDLE write_event_;  // for the writers' OVERLAPPED
  std::mutex write_mutex_;
};

class OverlappedSerialPortOpener : public SerialPortOpener {
 public:
  std::unique_ptr<SerialPort> open(const char* port_name) override;
  bool probe_port(const char* port_name) override;
};

}  // namespace kivo

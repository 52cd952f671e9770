#include "overlapped_serial_port.h"

#include <cstdio>

namespace kivo {
namespace {

HANDLE manual_reset_event() {
  return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

// 115200 8N1 with DTR and RTS on; every other field stays as the driver reports it.
bool configure(HANDLE port) {
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(port, &dcb)) return false;
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  if (!SetCommState(port, &dcb)) return false;
  // A read waits for its first byte without limit and ends at the first gap of more than
  // 1 ms: one read is one burst of the modem's output.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = 1;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  timeouts.WriteTotalTimeoutMultiplier = 1;
  timeouts.WriteTotalTimeoutConstant = 1000;
  return SetCommTimeouts(port, &timeouts) != FALSE;
}

// "\\.\" and the port name in 20 bytes, opened unshared for overlapped I/O; a name too long
// for the path is refused rather than cut into the name of some other port.
HANDLE open_device(const char* port_name) {
  char path[20];
  const int length = std::snprintf(path, sizeof(path), "\\\\.\\%s", port_name);
  if (length < 0 || length >= static_cast<int>(sizeof(path))) return INVALID_HANDLE_VALUE;
  return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OVERLAPPED, nullptr);
}

}  // namespace

OverlappedSerialPort::OverlappedSerialPort(HANDLE port)
    : port_(port),
      end_event_(manual_reset_event()),
      read_event_(manual_reset_event()),
      write_event_(manual_reset_event()) {}

OverlappedSerialPort::~OverlappedSerialPort() {
  purge();
  CloseHandle(port_);
  CloseHandle(write_event_);
  CloseHandle(read_event_);
  CloseHandle(end_event_);
}

// The mask is not waited on; setting it checks early that the port takes comm settings at all.
unsigned OverlappedSerialPort::start_listening() {
  return SetCommMask(port_, EV_RXCHAR) ? 0 : GetLastError();
}

bool OverlappedSerialPort::stopped() const {
  return WaitForSingleObject(end_event_, 0) == WAIT_OBJECT_0;
}

bool OverlappedSerialPort::wait_or_end(OVERLAPPED& overlapped) {
  HANDLE handles[] = {end_event_, overlapped.hEvent};  // an end request wins over input
  if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) return true;
  CancelIo(port_);
  DWORD ignored;
  GetOverlappedResult(port_, &overlapped, &ignored, TRUE);
  return false;
}

long OverlappedSerialPort::read_burst(std::uint8_t* buffer, std::size_t capacity) {
  // A single failed read is retried: a port that is still there may fail one now and then. A
  // port that keeps failing is gone (unplugged).
  constexpr int kFailuresBeforeGivingUp = 5;
  constexpr DWORD kRetryPauseMs = 20;
  for (int failures = 0;;) {
    const long result = read_once(buffer, capacity);
    if (result >= 0 || ++failures == kFailuresBeforeGivingUp) return result;
    Sleep(kRetryPauseMs);
  }
}

// The read itself is the wait: with a 1 ms interval and no total time-out it waits for the
// first byte without limit and ends at the first gap. Waiting for EV_RXCHAR first would cost
// several percent of a core under Wine, which polls the line for it every millisecond.
long OverlappedSerialPort::read_once(std::uint8_t* buffer, std::size_t capacity) {
  if (stopped()) return 0;
  OVERLAPPED overlapped{};
  overlapped.hEvent = read_event_;
  ResetEvent(read_event_);
  const DWORD wanted = capacity > MAXDWORD ? MAXDWORD : static_cast<DWORD>(capacity);
  if (!ReadFile(port_, buffer, wanted, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
    return stopped() ? 0 : -1;
  if (!wait_or_end(overlapped)) return 0;
  DWORD received = 0;
  if (!GetOverlappedResult(port_, &overlapped, &received, FALSE)) return stopped() ? 0 : -1;
  // Such a read never ends empty on a working port: an empty one is a port at its end.
  if (received == 0) return stopped() ? 0 : -1;
  return static_cast<long>(received);
}

void OverlappedSerialPort::stop_listening() {
  SetEvent(end_event_);
}

bool OverlappedSerialPort::write(const void* bytes, std::size_t count, unsigned timeout_ms) {
  std::lock_guard<std::mutex> lock(write_mutex_);
  OVERLAPPED overlapped{};
  overlapped.hEvent = write_event_;
  ResetEvent(write_event_);
  const DWORD length = static_cast<DWORD>(count);
  if (!WriteFile(port_, bytes, length, nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
    return false;
  DWORD written = 0;
  if (WaitForSingleObject(write_event_, timeout_ms) != WAIT_OBJECT_0) {
    // The OVERLAPPED lives on this stack: the write must be over before it goes away.
    CancelIo(port_);
    GetOverlappedResult(port_, &overlapped, &written, TRUE);
    return false;
  }
  return GetOverlappedResult(port_, &overlapped, &written, FALSE) && written == length;
}

void OverlappedSerialPort::purge() {
  PurgeComm(port_, PURGE_TXABORT | PURGE_RXABORT);
}

std::unique_ptr<SerialPort> OverlappedSerialPortOpener::open(const char* port_name) {
  HANDLE port = open_device(port_name);
  if (port == INVALID_HANDLE_VALUE) return nullptr;
  if (!configure(port)) {
    CloseHandle(port);
    return nullptr;
  }
  return std::make_unique<OverlappedSerialPort>(port);
}

bool OverlappedSerialPortOpener::probe_port(const char* port_name) {
  HANDLE port = open_device(port_name);
  if (port == INVALID_HANDLE_VALUE) return false;
  CloseHandle(port);
  return true;
}

}  // namespace kivo

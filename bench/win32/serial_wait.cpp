// Waits for serial input on a port in one of three ways and counts the reads, so the idle cost
// of each way (measured from outside, bench/measure-serial-wait) and whether it keeps one read
// per burst can be compared side by side.
//
//   serial_wait.exe PORT comm-event|interval-read|timed-read
//
// Prints one line "read N" for every read that returned bytes, and runs until it is killed.
//
// comm-event:    WaitCommEvent(EV_RXCHAR), then a ReadFile that ends at a gap of 1 ms.
// interval-read: only the ReadFile that waits for its first byte without limit and ends at a
//                gap of 1 ms (ReadIntervalTimeout=1, no total time-out).
// timed-read:    a ReadFile that returns what is there, or waits up to 1 s for a first byte
//                (ReadIntervalTimeout=ReadTotalTimeoutMultiplier=MAXDWORD), in a loop.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

enum class Mode { kCommEvent, kIntervalRead, kTimedRead };

bool configure(HANDLE port, Mode mode) {
  DCB dcb{};
  dcb.DCBlength = sizeof(dcb);
  if (!GetCommState(port, &dcb)) return false;
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  if (!SetCommState(port, &dcb)) return false;
  COMMTIMEOUTS timeouts{};
  if (mode == Mode::kTimedRead) {
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = 1000;
  } else {
    timeouts.ReadIntervalTimeout = 1;
  }
  if (!SetCommTimeouts(port, &timeouts)) return false;
  return mode != Mode::kCommEvent || SetCommMask(port, EV_RXCHAR);
}

// One overlapped call's result, waited for without limit.
bool finish(HANDLE port, OVERLAPPED& overlapped, BOOL started, DWORD& count) {
  if (!started && GetLastError() != ERROR_IO_PENDING) return false;
  return GetOverlappedResult(port, &overlapped, &count, TRUE) != FALSE;
}

// Returns the bytes of one read (0 for a timed read that found nothing), -1 on an error.
long wait_and_read(HANDLE port, Mode mode, HANDLE event, char* buffer, DWORD capacity) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = event;
  DWORD count = 0;
  if (mode == Mode::kCommEvent) {
    DWORD mask = 0;
    if (!finish(port, overlapped, WaitCommEvent(port, &mask, &overlapped), count)) return -1;
    ResetEvent(event);
  }
  if (!finish(port, overlapped, ReadFile(port, buffer, capacity, nullptr, &overlapped), count))
    return -1;
  return static_cast<long>(count);
}

bool parse_mode(const char* text, Mode& mode) {
  if (std::strcmp(text, "comm-event") == 0) {
    mode = Mode::kCommEvent;
  } else if (std::strcmp(text, "interval-read") == 0) {
    mode = Mode::kIntervalRead;
  } else if (std::strcmp(text, "timed-read") == 0) {
    mode = Mode::kTimedRead;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Mode mode;
  if (argc != 3 || !parse_mode(argv[2], mode)) {
    std::fprintf(stderr, "usage: serial_wait PORT comm-event|interval-read|timed-read\n");
    return 2;
  }
  char path[32];
  std::snprintf(path, sizeof(path), "\\\\.\\%s", argv[1]);
  HANDLE port = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE || !configure(port, mode)) {
    std::fprintf(stderr, "cannot open and configure %s: %lu\n", argv[1], GetLastError());
    return 1;
  }
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  char buffer[4096];
  for (;;) {
    const long count = wait_and_read(port, mode, event, buffer, sizeof(buffer));
    if (count < 0) {
      std::fprintf(stderr, "read failed: %lu\n", GetLastError());
      return 1;
    }
    if (count > 0) {
      std::printf("read %ld\n", count);
      std::fflush(stdout);
    }
  }
}

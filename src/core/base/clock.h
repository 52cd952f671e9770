#pragma once

#include <cstdint>

namespace kivo {

// A local time with the fields of the platform's SYSTEMTIME, in its order: the layout of the
// times in usage.bin.
struct LocalTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t day_of_week = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// The local wall-clock time (GetLocalTime in the program, a settable time in tests).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime local_time() = 0;
};

}  // namespace kivo

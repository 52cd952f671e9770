#pragma once

#include "base/clock.h"

namespace kivo::test {

// A wall clock that shows whatever the test sets.
class FakeClock : public Clock {
 public:
  LocalTime now;

  void set(int year, int month, int day, int hour, int minute, int second) {
    now = LocalTime{};
    now.year = static_cast<std::uint16_t>(year);
    now.month = static_cast<std::uint16_t>(month);
    now.day = static_cast<std::uint16_t>(day);
    now.hour = static_cast<std::uint16_t>(hour);
    now.minute = static_cast<std::uint16_t>(minute);
    now.second = static_cast<std::uint16_t>(second);
  }
  LocalTime local_time() override { return now; }
};

}  // namespace kivo::test

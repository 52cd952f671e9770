#include "system_clock.h"

#include <windows.h>

namespace kivo {

LocalTime SystemClock::local_time() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  LocalTime time;
  time.year = t.wYear;
  time.month = t.wMonth;
  time.day_of_week = t.wDayOfWeek;
  time.day = t.wDay;
  time.hour = t.wHour;
  time.minute = t.wMinute;
  time.second = t.wSecond;
  time.milliseconds = t.wMilliseconds;
  return time;
}

}  // namespace kivo

#include "usage/calendar_date.h"

#include <cstdio>

namespace kivo {
namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian), and back: the era-based
// conversion that needs no table and no loop.
long days_from_civil(int year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const long year_of_era = year - era * 400;
  const long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

CalendarDate civil_from_days(long days) {
  days += 719468;
  const long era = (days >= 0 ? days : days - 146096) / 146097;
  const long day_of_era = days - era * 146097;
  const long year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const long month_index = (5 * day_of_year + 2) / 153;
  CalendarDate date;
  date.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  date.month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  date.year = static_cast<int>(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
  return date;
}

long serial_of(const CalendarDate& date) {
  return days_from_civil(date.year, date.month, date.day);
}

int digits_value(const char* text, std::size_t count) {
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

bool operator==(const CalendarDate& a, const CalendarDate& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}
bool operator!=(const CalendarDate& a, const CalendarDate& b) {
  return !(a == b);
}
bool operator<(const CalendarDate& a, const CalendarDate& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
}
bool operator<=(const CalendarDate& a, const CalendarDate& b) {
  return !(b < a);
}

bool is_leap_year(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && is_leap_year(year) ? 29 : kDays[month - 1];
}

CalendarDate date_of(const LocalTime& time) {
  return CalendarDate{time.year, time.month, time.day};
}

CalendarDate add_days(const CalendarDate& date, int days) {
  return civil_from_days(serial_of(date) + days);
}

int days_between(const CalendarDate& from, const CalendarDate& to) {
  return static_cast<int>(serial_of(to) - serial_of(from));
}

const char* format_iso_date(const CalendarDate& date, char (&out)[kIsoDateSize]) {
  // Each field cut to its width, so a damaged date can never run past the 10 characters.
  std::snprintf(out, sizeof(out), "%04u-%02u-%02u", static_cast<unsigned>(date.year) % 10000u,
                static_cast<unsigned>(date.month) % 100u, static_cast<unsigned>(date.day) % 100u);
  return out;
}

bool parse_iso_date(const char* text, std::size_t length, CalendarDate& date) {
  if (length != 10 || text[4] != '-' || text[7] != '-') return false;
  const int year = digits_value(text, 4);
  const int month = digits_value(text + 5, 2);
  const int day = digits_value(text + 8, 2);
  if (year < 1900 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month))
    return false;
  date = CalendarDate{year, month, day};
  return true;
}

}  // namespace kivo

#pragma once

#include <cstddef>

#include "base/clock.h"

namespace kivo {

// A day of the Gregorian calendar, as the local clock names it.
struct CalendarDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..days_in_month
};

bool operator==(const CalendarDate& a, const CalendarDate& b);
bool operator!=(const CalendarDate& a, const CalendarDate& b);
bool operator<(const CalendarDate& a, const CalendarDate& b);
bool operator<=(const CalendarDate& a, const CalendarDate& b);

bool is_leap_year(int year);
int days_in_month(int year, int month);
CalendarDate date_of(const LocalTime& time);
// The date `days` days later (earlier for a negative count).
CalendarDate add_days(const CalendarDate& date, int days);
// Days from `from` to `to`: 1 from a day to the next, negative backwards.
int days_between(const CalendarDate& from, const CalendarDate& to);

constexpr std::size_t kIsoDateSize = 11;
// "yyyy-mm-dd" into `out`; returns `out`.
const char* format_iso_date(const CalendarDate& date, char (&out)[kIsoDateSize]);
// Reads exactly "yyyy-mm-dd" naming a real day (years 1900..9999); false for anything else.
bool parse_iso_date(const char* text, std::size_t length, CalendarDate& date);

}  // namespace kivo

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "usage/calendar_date.h"

namespace kivo {

// The bytes counted on one local day.
struct DailyUsage {
  CalendarDate date;
  std::uint64_t sent = 0;
  std::uint64_t received = 0;
};

// The text of usage-history.csv: the header line "date,sent,received", then one row per day in
// date order, every line ending in CR LF.
std::string format_usage_history_csv(const std::vector<DailyUsage>& days);
// Reads that text back in date order. A line that is not a whole row (a damaged or foreign line)
// is skipped; a date seen twice keeps the sum of its rows.
std::vector<DailyUsage> parse_usage_history_csv(const std::string& text);

}  // namespace kivo

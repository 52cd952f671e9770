#include "usage/daily_usage.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string_view>

#include "base/text_lines.h"

namespace kivo {
namespace {

// A whole decimal count that fits 64 bits, nothing else.
bool parse_count(std::string_view text, std::uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  std::uint64_t result = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
    if (result > (UINT64_MAX - digit) / 10) return false;
    result = result * 10 + digit;
  }
  value = result;
  return true;
}

bool parse_row(std::string_view line, DailyUsage& row) {
  const std::size_t first_comma = line.find(',');
  if (first_comma == std::string_view::npos) return false;
  const std::size_t second_comma = line.find(',', first_comma + 1);
  if (second_comma == std::string_view::npos) return false;
  return parse_iso_date(line.data(), first_comma, row.date) &&
         parse_count(line.substr(first_comma + 1, second_comma - first_comma - 1), row.sent) &&
         parse_count(line.substr(second_comma + 1), row.received);
}

}  // namespace

std::string format_usage_history_csv(const std::vector<DailyUsage>& days) {
  std::string text = "date,sent,received\r\n";
  char line[80];
  char date[kIsoDateSize];
  for (const DailyUsage& day : days) {
    std::snprintf(line, sizeof(line), "%s,%" PRIu64 ",%" PRIu64 "\r\n",
                  format_iso_date(day.date, date), day.sent, day.received);
    text += line;
  }
  return text;
}

std::vector<DailyUsage> parse_usage_history_csv(const std::string& text) {
  std::vector<DailyUsage> rows;
  for_each_line(text, [&rows](std::string_view line) {
    DailyUsage row;
    if (parse_row(line, row)) rows.push_back(row);
    return true;
  });
  std::stable_sort(rows.begin(), rows.end(),
                   [](const DailyUsage& a, const DailyUsage& b) { return a.date < b.date; });
  // A date seen twice keeps the sum of its rows.
  std::vector<DailyUsage> days;
  for (const DailyUsage& row : rows) {
    if (!days.empty() && days.back().date == row.date) {
      days.back().sent += row.sent;
      days.back().received += row.received;
    } else {
      days.push_back(row);
    }
  }
  return days;
}

}  // namespace kivo

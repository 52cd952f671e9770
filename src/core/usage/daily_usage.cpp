#include "usage/daily_usage.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

namespace kivo {
namespace {

// A whole decimal count that fits 64 bits, nothing else.
bool parse_count(const std::string& text, std::size_t begin, std::size_t end,
                 std::uint64_t& value) {
  if (begin >= end || end - begin > 20) return false;
  std::uint64_t result = 0;
  for (std::size_t i = begin; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
    if (result > (UINT64_MAX - digit) / 10) return false;
    result = result * 10 + digit;
  }
  value = result;
  return true;
}

bool parse_row(const std::string& text, std::size_t begin, std::size_t end, DailyUsage& row) {
  const std::size_t first_comma = text.find(',', begin);
  if (first_comma == std::string::npos || first_comma >= end) return false;
  const std::size_t second_comma = text.find(',', first_comma + 1);
  if (second_comma == std::string::npos || second_comma >= end) return false;
  return parse_iso_date(text.data() + begin, first_comma - begin, row.date) &&
         parse_count(text, first_comma + 1, second_comma, row.sent) &&
         parse_count(text, second_comma + 1, end, row.received);
}

void add_row(std::vector<DailyUsage>& days, const DailyUsage& row) {
  auto same_day = std::find_if(days.begin(), days.end(),
                               [&](const DailyUsage& day) { return day.date == row.date; });
  if (same_day == days.end()) {
    days.push_back(row);
    return;
  }
  same_day->sent += row.sent;
  same_day->received += row.received;
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
  std::vector<DailyUsage> days;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > begin && text[end - 1] == '\r') --end;
    DailyUsage row;
    if (parse_row(text, begin, end, row)) add_row(days, row);
    begin = next;
  }
  std::sort(days.begin(), days.end(),
            [](const DailyUsage& a, const DailyUsage& b) { return a.date < b.date; });
  return days;
}

}  // namespace kivo

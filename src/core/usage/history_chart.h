#pragma once

#include <cstdint>
#include <vector>

#include "usage/calendar_date.h"
#include "usage/daily_usage.h"
#include "view/history_chart_view.h"

namespace kivo {

// What the usage-history chart is made from.
struct HistoryChartInput {
  std::vector<DailyUsage> days;  // in date order
  CalendarDate today;
  int billing_day = 1;                // 1..31; day 1 gives calendar months
  std::uint64_t allowance_bytes = 0;  // 0: no data plan, so no pace line
};

// The chart of the previous and the current billing period around `input.today`.
HistoryChart make_history_chart(const HistoryChartInput& input);

// The y axis for bars up to `highest` bytes: about five steps of 1, 2 or 5 times a power of ten
// of bytes, KB, MB, GB or TB, so that the labels read round; at least one step above 0.
void scale_history_axis(std::uint64_t highest, HistoryChart& chart);

}  // namespace kivo

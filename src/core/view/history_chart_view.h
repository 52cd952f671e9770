#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kivo {

// One day of the usage-history chart: its bar is `sent` with `received` stacked on top.
struct HistoryChartBar {
  std::uint64_t sent = 0;
  std::uint64_t received = 0;
  int day_of_month = 0;
};

// A value on the chart's y axis and its label in the program's byte-count format.
struct HistoryChartTick {
  std::uint64_t bytes = 0;
  std::string label;
};

// What the usage-history dialog (template 111) draws, in bytes and days; the dialog only maps it
// to pixels.
struct HistoryChart {
  // The previous period's days, then the current period's, every day of both (empty days too).
  std::vector<HistoryChartBar> bars;
  // The first bar of the current period: the billing day.
  std::size_t billing_day_index = 0;
  // The day the chart was made; later bars of the current period are still to come.
  std::size_t today_index = 0;
  // The top of the y axis, and its ticks from 0 up to that top.
  std::uint64_t axis_top = 1;
  std::vector<HistoryChartTick> ticks;
  // The allowance spread evenly over the current period's days; 0 without a data plan.
  std::uint64_t pace_per_day = 0;
  std::string pace_label;
  // "yyyy-mm-dd to yyyy-mm-dd" of each period.
  std::string previous_period;
  std::string current_period;
  // The history rows of both periods as the text of usage-history.csv (for Copy).
  std::string csv;
};

}  // namespace kivo

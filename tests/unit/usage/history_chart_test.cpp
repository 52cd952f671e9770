#include "usage/history_chart.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kivo {
namespace {

constexpr std::uint64_t kMB = 1024 * 1024;
constexpr std::uint64_t kGB = 1024 * kMB;

CalendarDate date(const char* text) {
  CalendarDate parsed;
  EXPECT_TRUE(parse_iso_date(text, 10, parsed)) << text;
  return parsed;
}

std::string labels(const HistoryChart& chart) {
  std::string text;
  for (const HistoryChartTick& tick : chart.ticks) text += (text.empty() ? "" : " | ") + tick.label;
  return text;
}

TEST(HistoryChart, AxisStepsReadRoundInTheByteCountFormat) {
  struct Case {
    std::uint64_t highest;
    const char* labels;
  };
  const Case cases[] = {
      {0, "0 bytes | 256.0KB | 512.0KB | 768.0KB | 1024KB"},  // empty: still an axis
      {900, "0 bytes | 200 bytes | 400 bytes | 600 bytes | 800 bytes | 1000 bytes"},
      {117 * kMB + 5, "0 bytes | 50.00MB | 100.0MB | 150.0MB"},
      {1020 * kMB, "0 bytes | 256.0MB | 512.0MB | 768.0MB | 1024MB"},  // no "1.171GB"
      {1100 * kMB, "0 bytes | 256.0MB | 512.0MB | 768.0MB | 1024MB | 1.250GB"},
      {3 * kGB, "0 bytes | 1024MB | 2.000GB | 3.000GB"},           // the format's own 1 GB
      {UINT64_MAX, "0 bytes | 500000GB | 1000000GB | 1500000GB"},  // damaged counts: cut
  };
  for (const Case& c : cases) {
    HistoryChart chart;
    scale_history_axis(c.highest, chart);
    EXPECT_EQ(labels(chart), c.labels) << c.highest;
  }
}

TEST(HistoryChart, AxisCoversEveryValueInAtMostFiveEvenSteps) {
  for (std::uint64_t highest = 1; highest < (std::uint64_t{1} << 50); highest = highest * 3 + 7) {
    HistoryChart chart;
    scale_history_axis(highest, chart);
    ASSERT_GE(chart.ticks.size(), 2u) << highest;
    ASSERT_LE(chart.ticks.size(), 6u) << highest;
    const std::uint64_t step = chart.ticks[1].bytes;
    for (std::size_t i = 0; i < chart.ticks.size(); ++i)
      EXPECT_EQ(chart.ticks[i].bytes, i * step) << highest;
    EXPECT_EQ(chart.axis_top, chart.ticks.back().bytes);
    EXPECT_GE(chart.axis_top, highest);
    EXPECT_LT(chart.axis_top - step, highest) << "a whole empty step on top of " << highest;
  }
}

TEST(HistoryChart, SpansThePreviousAndTheCurrentPeriodDayByDay) {
  struct Case {
    const char* today;
    int billing_day;
    std::uint64_t allowance;
    std::size_t bars;
    std::size_t billing_day_index;
    std::size_t today_index;
    int first_day;
    std::uint64_t pace;
    const char* previous;
    const char* current;
  };
  const Case cases[] = {
      {"2026-12-07", 1, 0, 61, 30, 36, 1, 0, "2026-11-01 to 2026-11-30",
       "2026-12-01 to 2026-12-31"},
      {"2027-01-05", 28, 31 * kGB, 61, 30, 38, 28, kGB, "2026-11-28 to 2026-12-27",
       "2026-12-28 to 2027-01-27"},
      {"2028-03-10", 31, 0, 60, 29, 39, 31, 0, "2028-01-31 to 2028-02-28",
       "2028-02-29 to 2028-03-30"},
      {"2026-12-01", 0, 0, 61, 30, 30, 1, 0, "2026-11-01 to 2026-11-30",
       "2026-12-01 to 2026-12-31"},  // no such billing day: calendar months
      {"2026-12-31", 99, 10, 61, 30, 60, 1, 0, "2026-11-01 to 2026-11-30",
       "2026-12-01 to 2026-12-31"},  // an allowance under a byte a day: no pace
  };
  for (const Case& c : cases) {
    const HistoryChart chart = make_history_chart({{}, date(c.today), c.billing_day, c.allowance});
    EXPECT_EQ(chart.bars.size(), c.bars) << c.today;
    EXPECT_EQ(chart.billing_day_index, c.billing_day_index) << c.today;
    EXPECT_EQ(chart.today_index, c.today_index) << c.today;
    EXPECT_EQ(chart.bars.front().day_of_month, c.first_day) << c.today;
    EXPECT_EQ(chart.bars[c.billing_day_index].day_of_month, date(c.current).day) << c.today;
    EXPECT_EQ(chart.pace_per_day, c.pace) << c.today;
    EXPECT_EQ(chart.previous_period, c.previous);
    EXPECT_EQ(chart.current_period, c.current);
  }
}

TEST(HistoryChart, StacksTheRowsOfBothPeriodsAndCopiesOnlyThose) {
  HistoryChartInput input;
  input.today = date("2026-12-07");
  input.allowance_bytes = 31 * 400 * kMB;
  input.days = {
      {date("2026-10-31"), 9 * kGB, 9 * kGB},  // before the previous period
      {date("2026-11-01"), 100, 200},
      {date("2026-11-30"), 5 * kMB, 20 * kMB},
      {date("2026-12-07"), 1 * kMB, 2 * kMB},
      {date("2027-01-01"), 9 * kGB, 9 * kGB},  // after the current period
  };
  const HistoryChart chart = make_history_chart(input);
  ASSERT_EQ(chart.bars.size(), 61u);
  EXPECT_EQ(chart.bars[0].sent, 100u);
  EXPECT_EQ(chart.bars[0].received, 200u);
  EXPECT_EQ(chart.bars[29].received, 20 * kMB);
  EXPECT_EQ(chart.bars[36].sent, 1 * kMB);
  EXPECT_EQ(chart.bars[35].sent + chart.bars[35].received, 0u);
  EXPECT_EQ(chart.pace_per_day, 400 * kMB);
  EXPECT_EQ(chart.pace_label, "400.0MB a day");
  EXPECT_EQ(chart.axis_top, 400 * kMB);  // the pace line is on the chart, above the bars
  EXPECT_EQ(chart.csv,
            "date,sent,received\r\n2026-11-01,100,200\r\n2026-11-30,5242880,20971520\r\n"
            "2026-12-07,1048576,2097152\r\n");
}

TEST(HistoryChart, DamagedCountsSaturateInsteadOfWrapping) {
  HistoryChartInput input;
  input.today = date("2026-12-07");
  input.days = {{date("2026-12-02"), UINT64_MAX, UINT64_MAX}, {date("2026-12-02"), UINT64_MAX, 1}};
  const HistoryChart chart = make_history_chart(input);
  EXPECT_EQ(chart.bars[31].sent, UINT64_MAX);
  EXPECT_EQ(chart.bars[31].received, UINT64_MAX);
  EXPECT_EQ(labels(chart), "0 bytes | 500000GB | 1000000GB | 1500000GB");
}

}  // namespace
}  // namespace kivo

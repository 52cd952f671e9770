#include "usage/history_chart.h"

#include <algorithm>

#include "usage/billing_period.h"
#include "usage/formatters.h"

namespace kivo {
namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kGigabyte = kKilobyte * kKilobyte * kKilobyte;
// Counts beyond a petabyte a day only come from a damaged history; the axis stops there and
// such a bar is cut at the top instead of overflowing the arithmetic.
constexpr std::uint64_t kHighestAxis = kGigabyte * kKilobyte * kKilobyte;
// An empty chart still gets a readable axis.
constexpr std::uint64_t kEmptyAxis = kKilobyte * kKilobyte;
constexpr std::uint64_t kMostSteps = 5;

// Steps in bytes, KB and MB: round decimals that stay below the next unit, where the labels
// change unit, and quarters and halves of the next unit, which read round in both.
constexpr std::uint64_t kSmallUnitSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 256, 500, 512};
// The labels never go past GB, so GB steps grow in decimals alone.
constexpr std::uint64_t kGigabyteSteps[] = {1,     2,      5,      10,     20,     50,    100,
                                            200,   500,    1000,   2000,   5000,   10000, 20000,
                                            50000, 100000, 200000, 500000, 1000000};

std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
  return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}

std::uint64_t steps_to_cover(std::uint64_t top, std::uint64_t step) {
  return std::max<std::uint64_t>(1, (top + step - 1) / step);
}

// The smallest step that covers `top` in at most kMostSteps steps with labels that read round.
std::uint64_t axis_step(std::uint64_t top) {
  for (std::uint64_t unit = 1; unit < kGigabyte; unit *= kKilobyte) {
    for (const std::uint64_t multiple : kSmallUnitSteps) {
      const std::uint64_t count = steps_to_cover(top, multiple * unit);
      const bool quarter = multiple == 256 || multiple == 512;
      if (count <= kMostSteps && (quarter || count * multiple <= kKilobyte)) return multiple * unit;
    }
  }
  for (const std::uint64_t multiple : kGigabyteSteps) {
    if (steps_to_cover(top, multiple * kGigabyte) <= kMostSteps) return multiple * kGigabyte;
  }
  return kHighestAxis;
}

std::string period_text(const BillingPeriod& period) {
  char first[kIsoDateSize];
  char last[kIsoDateSize];
  return std::string(format_iso_date(period.first, first)) + " to " +
         format_iso_date(period.last, last);
}

void add_pace(const BillingPeriod& current, std::uint64_t allowance, HistoryChart& chart) {
  if (allowance == 0) return;
  const int period_days = days_between(current.first, current.last) + 1;
  chart.pace_per_day = allowance / static_cast<std::uint64_t>(period_days);
  FormattedText text;
  chart.pace_label =
      std::string(format_byte_count(
          static_cast<std::int64_t>(std::min(chart.pace_per_day, kHighestAxis)), text)) +
      " a day";
}

}  // namespace

void scale_history_axis(std::uint64_t highest, HistoryChart& chart) {
  const std::uint64_t top = highest == 0 ? kEmptyAxis : std::min(highest, kHighestAxis);
  const std::uint64_t step = axis_step(top);
  const std::uint64_t count = steps_to_cover(top, step);
  chart.axis_top = count * step;
  chart.ticks.clear();
  FormattedText label;
  for (std::uint64_t i = 0; i <= count; ++i) {
    const std::uint64_t bytes = i * step;
    chart.ticks.push_back({bytes, format_byte_count(static_cast<std::int64_t>(bytes), label)});
  }
}

HistoryChart make_history_chart(const HistoryChartInput& input) {
  // A billing day the plan cannot have counts as the first, as without a plan.
  const int billing_day = input.billing_day >= 1 && input.billing_day <= 31 ? input.billing_day : 1;
  const BillingPeriod current = billing_period_containing(input.today, billing_day);
  const BillingPeriod previous = previous_billing_period(current, billing_day);

  HistoryChart chart;
  const int day_count = days_between(previous.first, current.last) + 1;
  for (int i = 0; i < day_count; ++i) chart.bars.push_back({0, 0, add_days(previous.first, i).day});
  chart.billing_day_index = static_cast<std::size_t>(days_between(previous.first, current.first));
  chart.today_index = static_cast<std::size_t>(days_between(previous.first, input.today));

  std::vector<DailyUsage> rows;
  for (const DailyUsage& day : input.days) {
    if (day.date < previous.first || current.last < day.date) continue;
    HistoryChartBar& bar =
        chart.bars[static_cast<std::size_t>(days_between(previous.first, day.date))];
    bar.sent = saturating_add(bar.sent, day.sent);
    bar.received = saturating_add(bar.received, day.received);
    rows.push_back(day);
  }

  add_pace(current, input.allowance_bytes, chart);
  std::uint64_t highest = chart.pace_per_day;
  for (const HistoryChartBar& bar : chart.bars)
    highest = std::max(highest, saturating_add(bar.sent, bar.received));
  scale_history_axis(highest, chart);

  chart.previous_period = period_text(previous);
  chart.current_period = period_text(current);
  chart.csv = format_usage_history_csv(rows);
  return chart;
}

}  // namespace kivo

// plan.ini and usage-history.csv as a damaged disk or a hand edit may leave them: any text
// reads without fault, what was read writes back to a text that reads the same, and the history
// chart is made from whatever days were read.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "usage/daily_usage.h"
#include "usage/data_plan.h"
#include "usage/history_chart.h"

namespace {

bool same_plan(const kivo::DataPlan& a, const kivo::DataPlan& b) {
  return a.allowance_mb == b.allowance_mb && a.billing_day == b.billing_day &&
         a.warn_percent == b.warn_percent && a.warnings.period_start == b.warnings.period_start &&
         a.warnings.level_percent == b.warnings.level_percent &&
         a.warnings.used_up == b.warnings.used_up;
}

bool same_days(const std::vector<kivo::DailyUsage>& a, const std::vector<kivo::DailyUsage>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].date != b[i].date || a[i].sent != b[i].sent || a[i].received != b[i].received)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  const kivo::DataPlan plan = kivo::parse_plan_ini(text);
  KIVO_FUZZ_CHECK(same_plan(plan, kivo::parse_plan_ini(kivo::format_plan_ini(plan))));

  const std::vector<kivo::DailyUsage> days = kivo::parse_usage_history_csv(text);
  KIVO_FUZZ_CHECK(
      same_days(days, kivo::parse_usage_history_csv(kivo::format_usage_history_csv(days))));

  kivo::HistoryChartInput input;
  input.days = days;
  input.today = days.empty() ? kivo::CalendarDate{2026, 12, 7} : days.back().date;
  input.billing_day = plan.billing_day;
  input.allowance_bytes = kivo::allowance_bytes(plan);
  kivo::make_history_chart(input);
  return 0;
}

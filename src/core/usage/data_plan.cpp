#include "usage/data_plan.h"

#include <cstdio>
#include <string_view>

#include "base/text_lines.h"

namespace kivo {
namespace {

constexpr int kMaxBillingDay = 31;
constexpr int kMaxWarnPercent = 99;

// Digits only, no sign and no blanks, within [low, high].
bool parse_number(const std::string& text, std::uint32_t low, std::uint32_t high,
                  std::uint32_t& value) {
  if (text.empty() || text.size() > 7) return false;
  std::uint32_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (result < low || result > high) return false;
  value = result;
  return true;
}

bool parse_int(const std::string& text, int low, int high, int& value) {
  std::uint32_t number = 0;
  if (!parse_number(text, std::uint32_t(low), std::uint32_t(high), number)) return false;
  value = static_cast<int>(number);
  return true;
}

// Which of the keys that must be there were seen.
struct Seen {
  bool allowance = false;
  bool billing_day = false;
};

bool apply_line(const std::string& key, const std::string& value, DataPlan& plan, Seen& seen) {
  if (key == "allowance_mb") {
    seen.allowance = true;
    return parse_number(value, 0, kMaxAllowanceMb, plan.allowance_mb);
  }
  if (key == "billing_day") {
    seen.billing_day = true;
    return parse_int(value, 1, kMaxBillingDay, plan.billing_day);
  }
  if (key == "warn_percent") return parse_int(value, 1, kMaxWarnPercent, plan.warn_percent);
  if (key == "warned_period")
    return parse_iso_date(value.data(), value.size(), plan.warnings.period_start);
  if (key == "warned_percent")
    return parse_int(value, 0, kMaxWarnPercent, plan.warnings.level_percent);
  if (key == "warned_used_up") {
    int used_up = 0;
    const bool valid = parse_int(value, 0, 1, used_up);
    plan.warnings.used_up = used_up == 1;
    return valid;
  }
  return true;
}

}  // namespace

std::string format_plan_ini(const DataPlan& plan) {
  char text[256];
  char period[kIsoDateSize] = "";
  const PlanWarnings& warnings = plan.warnings;
  const bool warned = warnings.level_percent != 0 || warnings.used_up;
  if (warned) format_iso_date(warnings.period_start, period);
  int length =
      std::snprintf(text, sizeof text, "allowance_mb=%u\r\nbilling_day=%d\r\nwarn_percent=%d\r\n",
                    static_cast<unsigned>(plan.allowance_mb), plan.billing_day, plan.warn_percent);
  if (warned)
    length += std::snprintf(text + length, sizeof text - std::size_t(length),
                            "warned_period=%s\r\nwarned_percent=%d\r\nwarned_used_up=%d\r\n",
                            period, warnings.level_percent, warnings.used_up ? 1 : 0);
  return std::string(text, std::size_t(length));
}

DataPlan parse_plan_ini(const std::string& text) {
  DataPlan plan;
  Seen seen;
  const bool whole = for_each_line(text, [&](std::string_view line) {
    const std::size_t equals = line.find('=');
    return equals == std::string_view::npos ||
           apply_line(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)),
                      plan, seen);
  });
  if (!whole) return DataPlan{};
  if (!seen.allowance || !seen.billing_day) return DataPlan{};
  // Warnings without the period they were given in belong to no period: forgotten, rather than
  // written back as a period no later read accepts (which would lose the whole plan). A period
  // without a warning is nothing to remember either.
  const PlanWarnings& warnings = plan.warnings;
  if (warnings.period_start.year == 0 || (warnings.level_percent == 0 && !warnings.used_up))
    plan.warnings = PlanWarnings{};
  return plan;
}

PlanEntry plan_entry(const DataPlan& plan) {
  return PlanEntry{std::to_string(plan.allowance_mb), std::to_string(plan.billing_day),
                   std::to_string(plan.warn_percent)};
}

bool read_plan_entry(const PlanEntry& entry, DataPlan& plan) {
  DataPlan read = plan;
  if (!parse_number(entry.allowance_mb, 0, kMaxAllowanceMb, read.allowance_mb) ||
      !parse_int(entry.billing_day, 1, kMaxBillingDay, read.billing_day) ||
      !parse_int(entry.warn_percent, 1, kMaxWarnPercent, read.warn_percent))
    return false;
  plan = read;
  return true;
}

}  // namespace kivo

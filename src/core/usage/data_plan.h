#pragma once

#include <cstdint>
#include <string>

#include "usage/calendar_date.h"
#include "view/plan_entry.h"

namespace kivo {

constexpr std::uint64_t kBytesPerMegabyte = 1048576;
// Seven digits: ten terabytes, more than any monthly plan.
constexpr std::uint32_t kMaxAllowanceMb = 9999999;
constexpr int kDefaultWarnPercent = 80;

// The warnings already shown in the billing period that starts on `period_start`.
struct PlanWarnings {
  CalendarDate period_start;
  int level_percent = 0;  // the warning level it was given at; 0: none
  bool used_up = false;
};

// The content of plan.ini. An allowance of 0 is no plan.
struct DataPlan {
  std::uint32_t allowance_mb = 0;
  int billing_day = 1;  // 1..31
  int warn_percent = kDefaultWarnPercent;
  PlanWarnings warnings;
};

inline bool has_plan(const DataPlan& plan) {
  return plan.allowance_mb != 0;
}
inline std::uint64_t allowance_bytes(const DataPlan& plan) {
  return plan.allowance_mb * kBytesPerMegabyte;
}

// "key=value" lines ending in CR LF.
std::string format_plan_ini(const DataPlan& plan);
// A missing key, a value out of range or not a number: no plan at all (DataPlan{}). Lines with
// other keys are passed over.
DataPlan parse_plan_ini(const std::string& text);

// The dialog's fields for the plan, and back: false unless each holds a number in range.
PlanEntry plan_entry(const DataPlan& plan);
bool read_plan_entry(const PlanEntry& entry, DataPlan& plan);

}  // namespace kivo

#pragma once

#include <cstdint>
#include <string>

#include "usage/billing_period.h"
#include "usage/data_plan.h"

namespace kivo {

// Where the plan stands today.
struct PlanReading {
  BillingPeriod period;
  std::uint64_t used = 0;     // bytes of the period's days, the session's included
  std::uint64_t percent = 0;  // of the allowance, rounded down; past 100 when over
  int days_left = 0;          // to the next billing day
};

PlanReading read_plan(const DataPlan& plan, const CalendarDate& today, std::uint64_t used);

// "<used> of <allowance> (<p>%)" and "<n> days left" ("1 day left").
std::string plan_usage_text(const DataPlan& plan, const PlanReading& reading);
std::string days_left_text(int days);
// The bar's position (0..100) and colour (0x00BBGGRR): green, amber from the warning level,
// red from 100 %.
int plan_bar_position(const PlanReading& reading);
std::uint32_t plan_bar_colour(const DataPlan& plan, const PlanReading& reading);

enum class PlanWarning { None, Level, UsedUp };

// The warning due at this reading that was not yet given in its period, marked as given in
// `plan`. Used up passes over the level warning: one box says it all.
PlanWarning take_due_warning(DataPlan& plan, const PlanReading& reading);
std::string warning_text(PlanWarning warning, const DataPlan& plan, const PlanReading& reading);

}  // namespace kivo

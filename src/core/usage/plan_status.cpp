#include "usage/plan_status.h"

#include "usage/formatters.h"

namespace kivo {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kAmber = 0x00CCFF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint64_t kFull = 100;

std::string byte_count(std::uint64_t bytes) {
  FormattedText text;
  return format_byte_count(static_cast<std::int64_t>(bytes), text);
}

}  // namespace

PlanReading read_plan(const DataPlan& plan, const CalendarDate& today, std::uint64_t used) {
  PlanReading reading;
  reading.period = billing_period_containing(today, plan.billing_day);
  reading.used = used;
  reading.days_left = days_left_in_period(today, reading.period);
  const std::uint64_t allowance = allowance_bytes(plan);
  // In two steps, so that no product overflows.
  if (allowance != 0) reading.percent = used / allowance * 100 + used % allowance * 100 / allowance;
  return reading;
}

std::string plan_usage_text(const DataPlan& plan, const PlanReading& reading) {
  return byte_count(reading.used) + " of " + byte_count(allowance_bytes(plan)) + " (" +
         std::to_string(reading.percent) + "%)";
}

std::string days_left_text(int days) {
  return days == 1 ? "1 day left" : std::to_string(days) + " days left";
}

int plan_bar_position(const PlanReading& reading) {
  return static_cast<int>(reading.percent < kFull ? reading.percent : kFull);
}

std::uint32_t plan_bar_colour(const DataPlan& plan, const PlanReading& reading) {
  if (reading.percent >= kFull) return kRed;
  if (reading.percent >= std::uint64_t(plan.warn_percent)) return kAmber;
  return kGreen;
}

PlanWarning take_due_warning(DataPlan& plan, const PlanReading& reading) {
  PlanWarnings& given = plan.warnings;
  if (given.period_start != reading.period.first) given = PlanWarnings{reading.period.first};
  if (reading.percent >= kFull) {
    if (given.used_up) return PlanWarning::None;
    given.used_up = true;
    given.level_percent = plan.warn_percent;
    return PlanWarning::UsedUp;
  }
  // A level raised after its warning warns again at the new level.
  if (reading.percent < std::uint64_t(plan.warn_percent) ||
      given.level_percent >= plan.warn_percent)
    return PlanWarning::None;
  given.level_percent = plan.warn_percent;
  return PlanWarning::Level;
}

std::string warning_text(PlanWarning warning, const DataPlan& plan, const PlanReading& reading) {
  const std::string allowance = byte_count(allowance_bytes(plan));
  if (warning == PlanWarning::UsedUp)
    return "You have used all of your monthly data allowance of " + allowance + ".";
  return "You have used " + std::to_string(reading.percent) +
         "% of your monthly data allowance of " + allowance + ".";
}

}  // namespace kivo

#include "usage/billing_period.h"

namespace kivo {
namespace {

void step_month(int& year, int& month, int step) {
  month += step;
  if (month > 12) {
    month = 1;
    ++year;
  } else if (month < 1) {
    month = 12;
    --year;
  }
}

}  // namespace

CalendarDate billing_date_in(int year, int month, int billing_day) {
  const int last = days_in_month(year, month);
  return CalendarDate{year, month, billing_day < last ? billing_day : last};
}

BillingPeriod billing_period_containing(const CalendarDate& today, int billing_day) {
  int year = today.year;
  int month = today.month;
  CalendarDate first = billing_date_in(year, month, billing_day);
  if (today < first) {
    step_month(year, month, -1);
    first = billing_date_in(year, month, billing_day);
  }
  step_month(year, month, 1);
  const CalendarDate next = billing_date_in(year, month, billing_day);
  return BillingPeriod{first, add_days(next, -1)};
}

BillingPeriod previous_billing_period(const BillingPeriod& period, int billing_day) {
  return billing_period_containing(add_days(period.first, -1), billing_day);
}

int days_left_in_period(const CalendarDate& today, const BillingPeriod& period) {
  return days_between(today, period.last) + 1;
}

}  // namespace kivo

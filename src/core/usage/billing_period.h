#pragma once

#include "usage/calendar_date.h"

namespace kivo {

// One billing period of a data plan: from a billing day to the day before the next one, both
// days included.
struct BillingPeriod {
  CalendarDate first;
  CalendarDate last;
};

// The billing day `billing_day` (1..31) falls in every month; past the end of a short month it
// is that month's last day.
CalendarDate billing_date_in(int year, int month, int billing_day);
// The period that holds `today`: it starts on the most recent billing date (today included).
BillingPeriod billing_period_containing(const CalendarDate& today, int billing_day);
// The period that ends the day before `period` starts.
BillingPeriod previous_billing_period(const BillingPeriod& period, int billing_day);
// Days from `today` to the start of the next period: 1 on the period's last day.
int days_left_in_period(const CalendarDate& today, const BillingPeriod& period);

}  // namespace kivo

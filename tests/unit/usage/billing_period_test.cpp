#include "usage/billing_period.h"

#include <gtest/gtest.h>

#include <string>

#include "usage/daily_usage.h"

namespace kivo {
namespace {

std::string iso(const CalendarDate& date) {
  char text[kIsoDateSize];
  return format_iso_date(date, text);
}

CalendarDate date(const char* text) {
  CalendarDate parsed;
  EXPECT_TRUE(parse_iso_date(text, 10, parsed)) << text;
  return parsed;
}

TEST(BillingPeriod, RunsFromTheLatestBillingDateToTheDayBeforeTheNext) {
  struct Case {
    const char* today;
    int billing_day;
    const char* first;
    const char* last;
    int days_left;
  };
  const Case cases[] = {
      {"2026-12-07", 1, "2026-12-01", "2026-12-31", 25},
      {"2026-12-01", 1, "2026-12-01", "2026-12-31", 31},
      {"2026-12-31", 1, "2026-12-01", "2026-12-31", 1},
      {"2027-01-05", 28, "2026-12-28", "2027-01-27", 23},
      {"2027-02-28", 28, "2027-02-28", "2027-03-27", 28},
      {"2027-02-27", 29, "2027-01-29", "2027-02-27", 1},  // no 29th: the 28th starts it
      {"2027-02-28", 29, "2027-02-28", "2027-03-28", 29},
      {"2028-02-28", 29, "2028-01-29", "2028-02-28", 1},  // leap year: the 29th exists
      {"2028-02-29", 31, "2028-02-29", "2028-03-30", 31},
      {"2027-03-01", 30, "2027-02-28", "2027-03-29", 29},
      {"2027-04-30", 31, "2027-04-30", "2027-05-30", 31},
      {"2027-05-30", 31, "2027-04-30", "2027-05-30", 1},
      {"2027-05-31", 31, "2027-05-31", "2027-06-29", 30},
      {"2100-02-28", 29, "2100-02-28", "2100-03-28", 29},  // 2100 is no leap year
  };
  for (const Case& c : cases) {
    const BillingPeriod period = billing_period_containing(date(c.today), c.billing_day);
    EXPECT_EQ(iso(period.first), c.first) << c.today << " day " << c.billing_day;
    EXPECT_EQ(iso(period.last), c.last) << c.today << " day " << c.billing_day;
    EXPECT_EQ(days_left_in_period(date(c.today), period), c.days_left) << c.today;
  }
}

TEST(BillingPeriod, PreviousPeriodEndsTheDayBeforeAndPeriodsTileTheYears) {
  const BillingPeriod march = billing_period_containing(date("2028-03-10"), 31);
  const BillingPeriod february = previous_billing_period(march, 31);
  EXPECT_EQ(iso(february.first), "2028-01-31");
  EXPECT_EQ(iso(february.last), "2028-02-28");
  // Every day of four years lies in exactly one period, for every billing day.
  for (int billing_day = 1; billing_day <= 31; ++billing_day) {
    BillingPeriod period = billing_period_containing(date("2027-01-01"), billing_day);
    for (CalendarDate day = date("2027-01-01"); day < date("2031-01-01"); day = add_days(day, 1)) {
      if (period.last < day) {
        const BillingPeriod next = billing_period_containing(day, billing_day);
        ASSERT_EQ(next.first, add_days(period.last, 1)) << iso(day) << " day " << billing_day;
        period = next;
      }
      ASSERT_TRUE(period.first <= day && day <= period.last) << iso(day);
    }
  }
}

TEST(CalendarDate, IsoTextRoundTripsAndRejectsWhatIsNotADay) {
  EXPECT_EQ(iso(add_days(date("2028-02-28"), 1)), "2028-02-29");
  EXPECT_EQ(iso(add_days(date("2027-01-01"), -1)), "2026-12-31");
  EXPECT_EQ(days_between(date("2026-12-31"), date("2028-01-01")), 366);
  CalendarDate parsed;
  for (const char* bad : {"2027-02-29", "2027-13-01", "2027-00-10", "2027-1-010", "20270101xx",
                          "1899-12-31", "2027-04-31", "2027/01/01"}) {
    EXPECT_FALSE(parse_iso_date(bad, 10, parsed)) << bad;
  }
}

TEST(UsageHistoryCsv, RoundTripsAndSkipsDamagedLines) {
  const std::vector<DailyUsage> days = {{date("2026-12-06"), 10, 2000},
                                        {date("2026-12-07"), 18446744073709551615u, 0}};
  const std::string text = format_usage_history_csv(days);
  EXPECT_EQ(text,
            "date,sent,received\r\n2026-12-06,10,2000\r\n"
            "2026-12-07,18446744073709551615,0\r\n");
  const std::vector<DailyUsage> back = parse_usage_history_csv(
      "garbage\n2026-12-07,5,5\r\n2026-12-06,10,2000\n2026-12-05,1,\n2026-12-05,1,2,3\n"
      "2026-12-04,18446744073709551616,0\n2026-12-07,1,1\n2026-12-08,7,7");  // last row uncut
  ASSERT_EQ(back.size(), 3u);
  EXPECT_EQ(iso(back[0].date), "2026-12-06");
  EXPECT_EQ(back[1].sent, 6u);
  EXPECT_EQ(back[1].received, 6u);
  EXPECT_EQ(iso(back[2].date), "2026-12-08");
  EXPECT_TRUE(parse_usage_history_csv("").empty());
}

}  // namespace
}  // namespace kivo

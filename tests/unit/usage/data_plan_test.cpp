#include "usage/data_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace kivo {
namespace {

void expect_same(const DataPlan& a, const DataPlan& b, const std::string& where) {
  EXPECT_EQ(a.allowance_mb, b.allowance_mb) << where;
  EXPECT_EQ(a.billing_day, b.billing_day) << where;
  EXPECT_EQ(a.warn_percent, b.warn_percent) << where;
  EXPECT_EQ(a.warnings.period_start, b.warnings.period_start) << where;
  EXPECT_EQ(a.warnings.level_percent, b.warnings.level_percent) << where;
  EXPECT_EQ(a.warnings.used_up, b.warnings.used_up) << where;
}

TEST(DataPlan, PlanIniReadsBackWhatWasWritten) {
  DataPlan warned{2048, 31, 90, {{2026, 11, 30}, 90, true}};
  DataPlan level_only{kMaxAllowanceMb, 1, 1, {{2026, 12, 1}, 1, false}};
  for (const DataPlan& plan : {DataPlan{}, DataPlan{1, 15, 80, {}}, warned, level_only}) {
    const std::string text = format_plan_ini(plan);
    expect_same(parse_plan_ini(text), plan, text);
  }
  EXPECT_EQ(format_plan_ini(warned),
            "allowance_mb=2048\r\nbilling_day=31\r\nwarn_percent=90\r\n"
            "warned_period=2026-11-30\r\nwarned_percent=90\r\nwarned_used_up=1\r\n");
}

TEST(DataPlan, DamagedOrIncompleteFilesMeanNoPlan) {
  const char* damaged[] = {
      "",
      "allowance_mb=500\r\n",                        // no billing day
      "billing_day=3\r\n",                           // no allowance
      "allowance_mb=5x0\r\nbilling_day=3\r\n",       // not a number
      "allowance_mb=-5\r\nbilling_day=3\r\n",        // a sign
      "allowance_mb=10000000\r\nbilling_day=3\r\n",  // too many digits
      "allowance_mb=500\r\nbilling_day=0\r\n",       // no such day
      "allowance_mb=500\r\nbilling_day=32\r\n",      //
      "allowance_mb=500\r\nbilling_day=3\r\nwarn_percent=100\r\n",
      "allowance_mb=500\r\nbilling_day=3\r\nwarn_percent=\r\n",
      "allowance_mb=500\r\nbilling_day=3\r\nwarned_period=2026-02-30\r\n",
      "allowance_mb=500\r\nbilling_day=3\r\nwarned_used_up=2\r\n",
      "allowance_mb=500\r\nbilling_day=3\r\nwarned_percent=1x\r\n",
      "allowance_mb=50",  // cut short
      "\xff\xfe\x00garbage=\x01",
  };
  for (const char* text : damaged) expect_same(parse_plan_ini(text), DataPlan{}, text);
}

TEST(DataPlan, AWarningLevelNeverSetIsEightyAndOtherLinesArePassedOver) {
  const DataPlan plan = parse_plan_ini("# mine\nallowance_mb=500\nother=x\nbilling_day=3");
  expect_same(plan, DataPlan{500, 3, 80, {}}, "LF lines, no warning level");
  EXPECT_TRUE(has_plan(plan));
  EXPECT_EQ(allowance_bytes(plan), 500u * 1048576u);
  EXPECT_FALSE(has_plan(parse_plan_ini("allowance_mb=0\r\nbilling_day=3\r\n")));
  // Warnings whose period line is lost are forgotten; the plan itself survives a write and read.
  const DataPlan orphan = parse_plan_ini("allowance_mb=5\nbilling_day=3\nwarned_used_up=1\n");
  expect_same(orphan, DataPlan{5, 3, 80, {}}, "warnings without their period");
  expect_same(parse_plan_ini(format_plan_ini(orphan)), orphan, "written back");
}

TEST(DataPlan, TheDialogAcceptsOnlyNumbersInRange) {
  struct Case {
    PlanEntry entry;
    bool accepted;
  };
  const Case cases[] = {
      {{"0", "1", "80"}, true},  // no plan
      {{"1", "31", "99"}, true},        {{"9999999", "15", "1"}, true}, {{"", "1", "80"}, false},
      {{"10000000", "1", "80"}, false}, {{"1", "0", "80"}, false},      {{"1", "32", "80"}, false},
      {{"1", "1", "0"}, false},         {{"1", "1", "100"}, false},     {{" 1", "1", "80"}, false},
      {{"1", "1", "8O"}, false},
  };
  for (const Case& c : cases) {
    DataPlan plan{7, 2, 50, {{2026, 12, 2}, 50, false}};
    const std::string where =
        c.entry.allowance_mb + '|' + c.entry.billing_day + '|' + c.entry.warn_percent;
    ASSERT_EQ(read_plan_entry(c.entry, plan), c.accepted) << where;
    if (c.accepted) {
      EXPECT_EQ(std::to_string(plan.allowance_mb), c.entry.allowance_mb) << where;
      EXPECT_EQ(plan_entry(plan).billing_day, c.entry.billing_day) << where;
    } else {
      expect_same(plan, DataPlan{7, 2, 50, {{2026, 12, 2}, 50, false}}, where);
    }
  }
}

}  // namespace
}  // namespace kivo

#include "usage/plan_tracking.h"

#include <algorithm>
#include <memory>

#include "usage/usage_store.h"
#include "usage_fixture.h"
#include "view/control_ids.h"

namespace kivo::test {
namespace {

constexpr char kPlanPath[] = "C:\\ProgramData\\KIVO\\plan.ini";
constexpr char kHistoryPath[] = "C:\\ProgramData\\KIVO\\usage-history.csv";
constexpr std::int64_t kMegabyte = 1048576;
constexpr char kLevelBox[] = "You have used 80% of your monthly data allowance of 1024KB.";
constexpr char kUsedUpBox[] = "You have used all of your monthly data allowance of 1024KB.";

// A 1 MB plan billed on the 1st, warning at 80 %, on 2026-12-07.
struct PlanTrackingTest : UsageTest {
  PlanTrackingTest() {
    clock.set(2026, 12, 7, 23, 59, 0);
    files.files[kPlanPath] = "allowance_mb=1\r\nbilling_day=1\r\nwarn_percent=80\r\n";
  }

  // A flow report's session counts, with what the window then shows.
  void report(std::int64_t tx, std::int64_t rx) {
    state.session.tx_bytes = tx;
    state.session.rx_bytes = rx;
    follow_session(context);
  }
  // The program starting again over the same files, up to its window showing (and a warning
  // due then with it).
  void restart() {
    fresh = std::make_unique<UsageState>();
    fresh->data_paths = state.data_paths;
    restarted = std::make_unique<UsageContext>(
        UsageContext{modem, view, *fresh, files, clock, sleeper, trace});
    load_data_plan(*restarted);
    EXPECT_TRUE(boxes().empty()) << "no box before the window shows";
    check_data_plan(*restarted);
  }
  Entries boxes() {
    Entries shown;
    for (const std::string& entry : journal.take())
      if (entry.rfind("box ", 0) == 0) shown.push_back(entry.substr(4));
    return shown;
  }

  std::unique_ptr<UsageState> fresh;
  std::unique_ptr<UsageContext> restarted;
};

TEST_F(PlanTrackingTest, EachWarningShowsOnceAtItsLevelAndThePeriodRemembersIt) {
  struct Step {
    std::int64_t bytes;  // the session's, half sent and half received
    const char* usage;
    const char* colour;
    Entries boxes;
  };
  const Step steps[] = {
      {838860, "819.1KB of 1024KB (79%)", "00FF00", {}},  // 79.99 %
      {838862, "819.2KB of 1024KB (80%)", "00CCFF", {kLevelBox}},
      {1000000, "976.5KB of 1024KB (95%)", "00CCFF", {}},
      {kMegabyte, "1024KB of 1024KB (100%)", "0000FF", {kUsedUpBox}},
      {3 * kMegabyte, "3.000MB of 1024KB (300%)", "0000FF", {}},
  };
  load_data_plan(context);
  journal.take();
  for (const Step& step : steps) {
    report(step.bytes / 2, step.bytes - step.bytes / 2);
    const Entries entries = journal.take();
    EXPECT_EQ(text(IDC_PLAN_USAGE), step.usage);
    EXPECT_EQ(text(IDC_PLAN_DAYS_LEFT), "25 days left");
    Entries shown;
    for (const std::string& entry : entries)
      if (entry.rfind("box ", 0) == 0) shown.push_back(entry.substr(4));
    EXPECT_EQ(shown, step.boxes) << step.usage;
    EXPECT_NE(
        std::find(entries.begin(), entries.end(), std::string("bar colour 1096 ") + step.colour),
        entries.end())
        << step.usage;
    const std::string position = "bar position 1096 " + std::to_string(std::min<std::int64_t>(
                                                            step.bytes * 100 / kMegabyte, 100));
    EXPECT_NE(std::find(entries.begin(), entries.end(), position), entries.end()) << step.usage;
  }
  EXPECT_EQ(view.boxes.shown()[0].icon, BoxIcon::Warning);
  EXPECT_EQ(view.boxes.shown()[0].caption, "KIVO");

  // Both were remembered before their boxes showed: not again after a restart.
  update_totals(context);
  restart();
  EXPECT_EQ(text(IDC_PLAN_USAGE), "3.000MB of 1024KB (300%)");
  EXPECT_TRUE(boxes().empty());

  // The next period starts clean, and the file forgets the old warnings.
  clock.set(2027, 1, 1, 0, 0, 5);
  history_tick(*restarted);
  EXPECT_EQ(text(IDC_PLAN_USAGE), "0 bytes of 1024KB (0%)");
  EXPECT_EQ(text(IDC_PLAN_DAYS_LEFT), "31 days left");
  EXPECT_EQ(files.files[kPlanPath], "allowance_mb=1\r\nbilling_day=1\r\nwarn_percent=80\r\n");
}

TEST_F(PlanTrackingTest, AJumpPastTheWholeAllowanceShowsOnlyTheLastWarning) {
  load_data_plan(context);
  report(kMegabyte, kMegabyte);
  EXPECT_EQ(boxes(), Entries{kUsedUpBox});
  clock.set(2026, 12, 31, 12, 0, 0);
  report(kMegabyte + 10, kMegabyte);
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(text(IDC_PLAN_DAYS_LEFT), "1 day left");
}

TEST_F(PlanTrackingTest, ASessionAcrossMidnightCountsEachPartOnItsDayAndFoldsWriteTheRows) {
  clock.set(2026, 11, 30, 23, 59, 0);  // the last day of the previous period
  load_data_plan(context);
  report(300000, 300000);
  clock.set(2026, 12, 1, 0, 0, 2);
  report(400000, 500000);
  EXPECT_EQ(text(IDC_PLAN_USAGE), "292.9KB of 1024KB (28%)");
  EXPECT_FALSE(files.exists(kHistoryPath));  // before the minute is up
  update_totals(context);
  EXPECT_EQ(files.files[kHistoryPath],
            "date,sent,received\r\n2026-11-30,300000,300000\r\n2026-12-01,100000,200000\r\n");
  // The next session counts from zero.
  report(1000, 0);
  history_tick(context);
  EXPECT_EQ(files.files[kHistoryPath],
            "date,sent,received\r\n2026-11-30,300000,300000\r\n2026-12-01,101000,200000\r\n");
}

TEST_F(PlanTrackingTest, WithoutAPlanTheFieldsAreEmptyAndNothingWarns) {
  for (const char* plan_ini : {"", "allowance_mb=0\r\nbilling_day=1\r\n", "allowance_mb=1\r\n"}) {
    files.files[kPlanPath] = plan_ini;
    load_data_plan(context);
    report(5 * kMegabyte, 0);
    const Entries entries = journal.take();
    EXPECT_EQ(text(IDC_PLAN_USAGE), "") << plan_ini;
    EXPECT_EQ(text(IDC_PLAN_DAYS_LEFT), "") << plan_ini;
    EXPECT_EQ(entries.back(), "bar position 1096 0") << plan_ini;
    state.history.start_new_session();
  }
  EXPECT_TRUE(view.boxes.shown().empty());
}

TEST_F(PlanTrackingTest, TheDialogSavesANewPlanAndANewAllowanceWarnsAgain) {
  load_data_plan(context);
  report(900000, 0);
  EXPECT_EQ(boxes().size(), 1u);

  view.plan_typed = PlanEntry{"2", "1", "100"};  // out of range: OK stays disabled
  edit_data_plan(context);
  EXPECT_EQ(journal.take(), Entries{"plan dialog 1|1|80"});
  view.plan_typed.reset();  // Cancel
  edit_data_plan(context);
  journal.take();

  view.plan_typed = PlanEntry{"1", "1", "40"};  // a lower level: warned already
  edit_data_plan(context);
  EXPECT_TRUE(boxes().empty());
  view.plan_typed = PlanEntry{"2", "8", "40"};
  edit_data_plan(context);
  EXPECT_EQ(boxes(), Entries{"You have used 42% of your monthly data allowance of 2.000MB."});
  EXPECT_EQ(text(IDC_PLAN_DAYS_LEFT), "1 day left");
  EXPECT_EQ(files.files[kPlanPath],
            "allowance_mb=2\r\nbilling_day=8\r\nwarn_percent=40\r\n"
            "warned_period=2026-11-08\r\nwarned_percent=40\r\nwarned_used_up=0\r\n");

  view.plan_typed = PlanEntry{"0", "8", "40"};
  edit_data_plan(context);
  EXPECT_EQ(text(IDC_PLAN_USAGE), "");
}

}  // namespace
}  // namespace kivo::test

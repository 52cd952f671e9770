#include "usage/usage_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_file_system.h"

namespace kivo {
namespace {

constexpr char kPath[] = "C:\\ProgramData\\KIVO\\usage-history.csv";
constexpr char kTemporary[] = "C:\\ProgramData\\KIVO\\usage-history.tmp";
constexpr CalendarDate kDay1{2026, 12, 7};
constexpr CalendarDate kDay2{2026, 12, 8};

std::string rows(const UsageHistory& history) {
  std::string text = format_usage_history_csv(history.days());
  return text.substr(text.find('\n') + 1);
}

TEST(UsageHistory, BytesGoToTheDayTheyWereCountedOnAndSessionsCountFromZero) {
  struct Step {
    CalendarDate day;
    std::int64_t tx;
    std::int64_t rx;
    bool new_session_first;
    const char* rows;
  };
  const Step steps[] = {
      {kDay1, 1000, 2000, false, "2026-12-07,1000,2000\r\n"},
      {kDay1, 1000, 2000, false, "2026-12-07,1000,2000\r\n"},  // nothing new
      // The session goes on past midnight: only its growth belongs to the new day.
      {kDay2, 1500, 2600, false, "2026-12-07,1000,2000\r\n2026-12-08,500,600\r\n"},
      // Folded: the next session's counts are all new.
      {kDay2, 100, 100, true, "2026-12-07,1000,2000\r\n2026-12-08,600,700\r\n"},
      // The modem cleared its counters without a fold.
      {kDay2, 40, 60, false, "2026-12-07,1000,2000\r\n2026-12-08,640,760\r\n"},
      // A clock set back finds its day in date order.
      {{2026, 12, 1},
       50,
       70,
       false,
       "2026-12-01,10,10\r\n2026-12-07,1000,2000\r\n2026-12-08,640,760\r\n"},
  };
  UsageHistory history;
  for (const Step& step : steps) {
    if (step.new_session_first) history.start_new_session();
    history.count_session(step.day, step.tx, step.rx);
    EXPECT_EQ(rows(history), step.rows) << step.tx;
  }
  EXPECT_EQ(history.bytes_between(kDay1, kDay2), 1000u + 2000u + 640u + 760u);
  EXPECT_EQ(history.bytes_between(kDay2, kDay2), 640u + 760u);
}

TEST(UsageHistory, WritesThroughATemporaryFileAndReadsBack) {
  test::FakeFileSystem files;
  UsageHistory history;
  history.load(files, kPath);  // missing: empty
  history.count_session(kDay1, 10, 20);
  history.count_session(kDay2, 15, 27);
  ASSERT_TRUE(history.save(files, kPath));
  EXPECT_EQ(files.files[kPath], "date,sent,received\r\n2026-12-07,10,20\r\n2026-12-08,5,7\r\n");
  EXPECT_FALSE(files.exists(kTemporary));

  UsageHistory next_run;
  next_run.load(files, kPath);
  EXPECT_EQ(rows(next_run), rows(history));
  // Nothing counted: nothing written.
  files.unwritable.insert(kTemporary);
  EXPECT_TRUE(next_run.save(files, kPath));
}

TEST(UsageHistory, AWriteCutShortLeavesTheFileWholeAndIsTriedAgain) {
  test::FakeFileSystem files;
  files.files[kPath] = "date,sent,received\r\n2026-12-07,10,20\r\n";
  UsageHistory history;
  history.load(files, kPath);
  history.count_session(kDay2, 123456, 654321);
  files.write_limit = 30;
  EXPECT_FALSE(history.save(files, kPath));
  EXPECT_EQ(files.files[kPath], "date,sent,received\r\n2026-12-07,10,20\r\n");
  EXPECT_FALSE(files.exists(kTemporary));
  files.write_limit = std::string::npos;
  EXPECT_TRUE(history.save(files, kPath));
  EXPECT_EQ(files.files[kPath],
            "date,sent,received\r\n2026-12-07,10,20\r\n2026-12-08,123456,654321\r\n");
}

TEST(UsageHistory, DamagedRowsArePassedOverAndAFileHeldAtStartIsNeverWrittenOver) {
  test::FakeFileSystem files;
  files.files[kPath] = "date,sent,received\r\n2026-12-07,10,20\r\nrubbish\r\n2026-12-08,5";
  files.unreadable.insert(kPath);
  UsageHistory history;
  history.load(files, kPath);
  history.count_session(kDay2, 1, 2);
  EXPECT_FALSE(history.save(files, kPath));  // still held
  EXPECT_EQ(files.files[kPath].size(), 59u);
  files.unreadable.clear();
  EXPECT_TRUE(history.save(files, kPath));
  EXPECT_EQ(files.files[kPath], "date,sent,received\r\n2026-12-07,10,20\r\n2026-12-08,1,2\r\n");
}

}  // namespace
}  // namespace kivo

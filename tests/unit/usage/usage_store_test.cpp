#include "usage/usage_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "usage/session_log.h"
#include "usage/usage_fixture.h"
#include "usage/usage_totals.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

constexpr char kTemporaryPath[] = "C:\\ProgramData\\KIVO\\usage.tmp";

// Little-endian bytes of `value`, `size` of them, appended to `out`.
void put(std::string& out, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// One group of the file as another build would write it: duration, reserved, sent, received,
// then year, month, weekday, day, hour, minute, second, milliseconds.
std::string group(std::uint32_t duration, std::uint32_t reserved, std::uint64_t sent,
                  std::uint64_t received, std::uint16_t year, std::uint16_t day) {
  std::string out;
  put(out, duration, 4);
  put(out, reserved, 4);
  put(out, sent, 8);
  put(out, received, 8);
  for (std::uint16_t field : {year, std::uint16_t{12}, std::uint16_t{3}, day, std::uint16_t{23},
                              std::uint16_t{59}, std::uint16_t{58}, std::uint16_t{999}})
    put(out, field, 2);
  return out;
}

std::string stored_file() {
  return group(65, 0xDEADBEEF, 1000, 2000, 2008, 24) +
         group(3600, 0, 0x0000000100000000, 0xFFFFFFFFFFFFFFFF, 2008, 1) +
         group(0xFFFFFFFF, 7, 5, 6, 2007, 31);
}

struct UsageStoreTest : test::UsageTest {};

TEST_F(UsageStoreTest, AFileWrittenByAnotherBuildLoadsFieldByField) {
  files.files[test::kUsagePath] = stored_file();
  load_usage(context);
  const UsageTotals& u = state.totals;
  EXPECT_EQ(u.last_duration, 65u);
  EXPECT_EQ(u.last_tx_bytes, 1000);
  EXPECT_EQ(u.last_rx_bytes, 2000);
  EXPECT_EQ(u.last_session_end.year, 2008);
  EXPECT_EQ(u.last_session_end.day_of_week, 3);
  EXPECT_EQ(u.last_session_end.day, 24);
  EXPECT_EQ(u.last_session_end.milliseconds, 999);
  EXPECT_EQ(u.total_duration, 3600u);
  EXPECT_EQ(u.total_tx_bytes, 4294967296);
  EXPECT_EQ(u.total_rx_bytes, -1);
  EXPECT_EQ(u.totals_since.day, 1);
  EXPECT_EQ(u.previous_duration, 0xFFFFFFFFu);
  EXPECT_EQ(u.previous_since.year, 2007);
  EXPECT_EQ(text(IDC_LAST_END), "2008/12/24 23:59:58");
  EXPECT_EQ(text(IDC_LAST_TOTAL), "2.929KB");
  EXPECT_EQ(text(IDC_TOTALS_SENT), "4.000GB");
  EXPECT_EQ(text(IDC_PREVIOUS_DURATION), "1193046:28:15");

  // Written back byte for byte, the reserved words included.
  std::uint8_t bytes[kUsageFileSize];
  encode_usage(u, bytes);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), sizeof bytes), stored_file());
}

TEST_F(UsageStoreTest, AMissingOrShortStoreStartsANewRecordAndALongOneLoadsItsStart) {
  load_usage(context);
  EXPECT_EQ(state.totals.total_tx_bytes, 0);
  for (int control : {IDC_LAST_END, IDC_TOTALS_SINCE, IDC_PREVIOUS_SINCE})
    EXPECT_EQ(text(control), "2009/03/07 14:05:09");
  for (int control : {IDC_LAST_SENT, IDC_TOTALS_TOTAL, IDC_PREVIOUS_RECEIVED})
    EXPECT_EQ(text(control), "0 bytes");
  EXPECT_EQ(text(IDC_TOTALS_DURATION), "00:00:00");
  EXPECT_TRUE(files.files.empty());  // nothing written until a fold or reset

  files.files[test::kUsagePath] = stored_file().substr(0, 119);
  load_usage(context);
  EXPECT_EQ(state.totals.last_duration, 0u);
  EXPECT_EQ(state.totals.previous_since.year, 2009);

  files.files[test::kUsagePath] = stored_file() + "x";
  load_usage(context);
  EXPECT_EQ(state.totals.previous_duration, 0xFFFFFFFFu);

  files.unreadable.insert(test::kUsagePath);
  load_usage(context);
  EXPECT_EQ(state.totals.previous_duration, 0u);
}

TEST_F(UsageStoreTest, AFoldAddsTheSessionToTheTotalsAndSavesThem) {
  load_usage(context);
  state.totals.total_tx_bytes = 5000;
  state.totals.total_rx_bytes = 6000;
  state.totals.total_duration = 100;
  state.session = {65, 1000, 2000};
  clock.set(2009, 3, 8, 1, 2, 3);
  journal.take();
  update_totals(context);

  const UsageTotals& u = state.totals;
  EXPECT_EQ(u.total_tx_bytes, 6000);
  EXPECT_EQ(u.total_rx_bytes, 8000);
  EXPECT_EQ(u.total_duration, 165u);
  EXPECT_EQ(u.last_tx_bytes, 1000);
  EXPECT_EQ(u.last_rx_bytes, 2000);
  EXPECT_EQ(u.last_duration, 65u);
  EXPECT_EQ(text(IDC_TOTALS_TOTAL), "13.67KB");
  EXPECT_EQ(text(IDC_LAST_END), "2009/03/08 01:02:03");
  EXPECT_EQ(text(IDC_TOTALS_SINCE), "2009/03/07 14:05:09");
  EXPECT_EQ(state.session.duration, 0u);
  EXPECT_EQ(text(IDC_SESSION_DURATION), "00:00:00");
  for (const std::string& entry : journal.take())
    for (int control : {IDC_PREVIOUS_DURATION, IDC_PREVIOUS_SENT, IDC_PREVIOUS_RECEIVED,
                        IDC_PREVIOUS_TOTAL, IDC_PREVIOUS_SINCE})
      EXPECT_NE(entry.rfind("text " + std::to_string(control), 0), 0u) << entry;

  // What was saved loads back as the same record, and only the store is left.
  EXPECT_EQ(files.files.count(kTemporaryPath), 0u);
  state.totals = UsageTotals{};
  load_usage(context);
  EXPECT_EQ(state.totals.total_rx_bytes, 8000);
  EXPECT_EQ(state.totals.last_session_end.day, 8);

  // An empty session is folded too: the last session then shows zeros.
  update_totals(context);
  EXPECT_EQ(text(IDC_LAST_SENT), "0 bytes");
  EXPECT_EQ(state.totals.total_rx_bytes, 8000);
}

TEST_F(UsageStoreTest, TwoResetsInARowLeaveAnEmptyPreviousPeriodBetweenThem) {
  load_usage(context);
  state.totals.total_duration = 3600;
  state.totals.total_tx_bytes = 5000;
  state.totals.total_rx_bytes = 6000;
  clock.set(2009, 4, 1, 8, 0, 0);
  reset_totals(context);
  EXPECT_EQ(state.totals.previous_tx_bytes, 5000);
  EXPECT_EQ(state.totals.previous_duration, 3600u);
  EXPECT_EQ(text(IDC_PREVIOUS_SINCE), "2009/03/07 14:05:09");
  EXPECT_EQ(text(IDC_PREVIOUS_TOTAL), "10.74KB");
  EXPECT_EQ(text(IDC_TOTALS_SENT), "0 bytes");
  EXPECT_EQ(text(IDC_TOTALS_SINCE), "2009/04/01 08:00:00");

  clock.set(2009, 5, 1, 9, 0, 0);
  reset_totals(context);
  EXPECT_EQ(state.totals.previous_tx_bytes, 0);
  EXPECT_EQ(state.totals.previous_duration, 0u);
  EXPECT_EQ(text(IDC_PREVIOUS_SINCE), "2009/04/01 08:00:00");
  EXPECT_EQ(text(IDC_TOTALS_SINCE), "2009/05/01 09:00:00");
  EXPECT_EQ(text(IDC_PREVIOUS_DURATION), "00:00:00");
  EXPECT_TRUE(files.exists(test::kUsagePath));
}

// The store is never rewritten in place: whatever stops the save midway, the old totals stay.
TEST_F(UsageStoreTest, AFailedSaveWarnsAndLeavesTheOldStoreWhole) {
  const std::string old_store = stored_file();
  files.files[test::kUsagePath] = old_store;
  load_usage(context);
  state.session = {10, 10, 10};

  files.write_limit = 60;  // the disk fills up halfway
  update_totals(context);
  files.write_limit = std::string::npos;
  files.unwritable.insert(kTemporaryPath);
  EXPECT_FALSE(save_usage(context));
  files.unwritable.clear();
  files.unreplaceable.insert(test::kUsagePath);
  EXPECT_FALSE(save_usage(context));

  EXPECT_EQ(files.files[test::kUsagePath], old_store);
  const auto boxes = view.boxes.shown();
  ASSERT_EQ(boxes.size(), 3u);
  for (const auto& box : boxes) {
    EXPECT_EQ(box.text, "An error occured while saving the data counters.");
    EXPECT_EQ(box.caption, "KIVO");
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.owner, BoxOwner::MainWindow);
  }
  // The record in memory still holds the fold; the next save that works stores it.
  files.unreplaceable.clear();
  EXPECT_TRUE(save_usage(context));
  EXPECT_EQ(files.files[test::kUsagePath].size(), kUsageFileSize);
  state.totals = UsageTotals{};
  load_usage(context);
  EXPECT_EQ(state.totals.last_tx_bytes, 10);
}

// A usage.tmp left behind, by this account or another, must not stop the counters being saved.
TEST_F(UsageStoreTest, AFailedWriteOrReplaceRemovesTheTemporaryFile) {
  const std::string old_store = stored_file();
  files.files[test::kUsagePath] = old_store;
  load_usage(context);

  files.write_limit = 60;
  EXPECT_FALSE(save_usage(context));
  EXPECT_FALSE(files.exists(kTemporaryPath));
  files.write_limit = std::string::npos;
  files.unreplaceable.insert(test::kUsagePath);
  EXPECT_FALSE(save_usage(context));
  EXPECT_FALSE(files.exists(kTemporaryPath));
  EXPECT_EQ(files.files[test::kUsagePath], old_store);
  EXPECT_EQ(view.boxes.shown().size(), 2u);
}

TEST_F(UsageStoreTest, ATemporaryFileThatCannotBeCreatedGivesWayToASaveInPlace) {
  files.files[test::kUsagePath] = stored_file();
  load_usage(context);
  files.files[kTemporaryPath] = "another account's";
  files.uncreatable.insert(kTemporaryPath);
  files.unremovable.insert(kTemporaryPath);
  state.session = {10, 20, 30};
  update_totals(context);

  EXPECT_TRUE(view.boxes.shown().empty());
  EXPECT_EQ(files.files[kTemporaryPath], "another account's");
  state.totals = UsageTotals{};
  load_usage(context);
  EXPECT_EQ(state.totals.last_rx_bytes, 30);
  EXPECT_EQ(state.totals.total_duration, 3600u + 10u);

  // When the store cannot be written either, the warning is shown as before.
  files.unwritable.insert(test::kUsagePath);
  EXPECT_FALSE(save_usage(context));
  ASSERT_EQ(view.boxes.shown().size(), 1u);
  EXPECT_EQ(view.boxes.shown()[0].text, "An error occured while saving the data counters.");
}

// A backup or a virus scan holding usage.bin at start must not cost the user the stored totals.
TEST_F(UsageStoreTest, AStoreThatStaysUnreadableIsReportedOnceAndNeverSavedOver) {
  const std::string old_store = stored_file();
  files.files[test::kUsagePath] = old_store;
  files.unreadable.insert(test::kUsagePath);
  load_usage(context);

  EXPECT_EQ(files.reads.size(), 5u);
  EXPECT_EQ(sleeper.waits, (std::vector<unsigned>{100, 100, 100, 100}));
  EXPECT_EQ(state.totals.total_duration, 0u);
  EXPECT_EQ(text(IDC_TOTALS_SINCE), "2009/03/07 14:05:09");
  const auto boxes = view.boxes.shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "The stored data counters in C:\\ProgramData\\KIVO\\usage.bin could not be read. "
            "They will not be overwritten while Kivoscope runs.");
  EXPECT_EQ(boxes[0].caption, "KIVO");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Warning);
  EXPECT_EQ(boxes[0].buttons, BoxButtons::Ok);
  EXPECT_EQ(boxes[0].owner, BoxOwner::MainWindow);
  EXPECT_EQ(traces(),
            (std::vector<std::string>{"KIVO: C:\\ProgramData\\KIVO\\usage.bin could not be "
                                      "read, it will not be saved over"}));

  // Readable again later in the run, it is still not written over, and nothing more is shown.
  files.unreadable.clear();
  state.session = {10, 20, 30};
  update_totals(context);
  reset_totals(context);
  EXPECT_FALSE(save_usage(context));
  EXPECT_EQ(files.files[test::kUsagePath], old_store);
  EXPECT_FALSE(files.exists(kTemporaryPath));
  EXPECT_EQ(view.boxes.shown().size(), 1u);
}

TEST_F(UsageStoreTest, AStoreReleasedBetweenTriesLoadsWithoutABox) {
  files.files[test::kUsagePath] = stored_file();
  files.unreadable.insert(test::kUsagePath);
  sleeper.during_wait = [this] {
    if (sleeper.waits.size() == 2) files.unreadable.clear();
  };
  load_usage(context);
  EXPECT_EQ(files.reads.size(), 3u);
  EXPECT_EQ(state.totals.total_duration, 3600u);
  EXPECT_TRUE(view.boxes.shown().empty());
  EXPECT_TRUE(save_usage(context));
}

TEST_F(UsageStoreTest, AMissingOrShortStoreIsReadOnceWithoutABoxAndSavedOver) {
  load_usage(context);
  files.files[test::kUsagePath] = stored_file().substr(0, 119);
  load_usage(context);
  EXPECT_EQ(files.reads.size(), 2u);
  EXPECT_TRUE(sleeper.waits.empty());
  EXPECT_TRUE(view.boxes.shown().empty());
  EXPECT_TRUE(save_usage(context));
  EXPECT_EQ(files.files[test::kUsagePath].size(), kUsageFileSize);
}

TEST_F(UsageStoreTest, ASessionLogRowHoldsTheCountersBeforeTheEvent) {
  state.session = {65, 1000, 2000};
  state.totals.total_duration = 3600;
  state.totals.total_tx_bytes = 5000;
  state.totals.total_rx_bytes = 6000;
  EXPECT_TRUE(write_session_log(context, "DISCONNECTED"));
  state.session = {1, -1, 0};  // a 64-bit pattern beyond the signed range shows unsigned
  clock.set(12345, 1, 2, 3, 4, 5);
  EXPECT_TRUE(write_session_log(context, "RESET TOTALS"));
  EXPECT_EQ(session_log(),
            "\"2009/03/07\",\"14:05:09\",\"DISCONNECTED\",65,1000,2000,3600,5000,6000\r\n"
            "\"12345/01/02\",\"03:04:05\",\"RESET TOTALS\",1,18446744073709551615,0,3600,5000,"
            "6000\r\n");

  // Only with /SESSIONLOG, and only where there is a data folder.
  log_event(context, "RESET TOTALS");
  context.settings.session_log = true;
  files.unwritable.insert(test::kSessionLogPath);
  EXPECT_FALSE(write_session_log(context, "RESET TOTALS"));
  files.unwritable.clear();
  state.data_paths.session_log_path[0] = '\0';
  EXPECT_FALSE(write_session_log(context, "RESET TOTALS"));
  log_event(context, "RESET TOTALS");
  EXPECT_EQ(logged_events().size(), 2u);
}

TEST_F(UsageStoreTest, AResetLogsTheTotalsItResets) {
  context.settings.session_log = true;
  state.totals.total_tx_bytes = 5000;
  reset_totals(context);
  EXPECT_EQ(session_log(), "\"2009/03/07\",\"14:05:09\",\"RESET TOTALS\",0,0,0,0,5000,0\r\n");
}

}  // namespace
}  // namespace kivo

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/fake_clock.h"
#include "support/fake_main_view.h"
#include "support/fake_sleeper.h"
#include "support/journal.h"
#include "support/recording_trace.h"
#include "support/scripted_at_channel.h"
#include "system_file_system.h"
#include "usage/usage_context.h"
#include "usage/usage_store.h"

namespace kivo {
namespace {

using test::FakeClock;
using test::FakeMainView;
using test::Journal;
using test::RecordingSleeper;
using test::RecordingTraceSink;
using test::ScriptedAtChannel;

// usage.bin cut short or grown to every length up to two records, on the real file system: the
// program starts from zero or from the whole record in front, never from a part of one, leaves
// the damaged file alone until it saves, and then saves one whole record.
struct DamagedUsageStoreTest : ::testing::Test {
  SystemFileSystem files;
  std::string folder;
  std::string usage_path;

  DamagedUsageStoreTest() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "kivo-damaged-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    usage_path = folder + "\\usage.bin";
  }
  ~DamagedUsageStoreTest() override {
    DeleteFileA(usage_path.c_str());
    DeleteFileA((folder + "\\usage.tmp").c_str());
    RemoveDirectoryA(folder.c_str());
  }

  std::string read_all(const std::string& path) {
    char buffer[512];
    std::size_t length = 0;
    if (files.read_file(path.c_str(), buffer, sizeof buffer, length) != ReadResult::Read)
      return "-";
    return std::string(buffer, length);
  }
};

TEST_F(DamagedUsageStoreTest, EveryLengthUpToTwoRecordsStartsCleanAndSavesAWholeRecord) {
  UsageTotals stored;
  stored.total_duration = 3600;
  stored.total_tx_bytes = 5000000;
  stored.total_rx_bytes = 40000000;
  stored.last_duration = 60;
  stored.last_tx_bytes = 7000;
  stored.last_rx_bytes = 56000;
  stored.last_session_end = stored.totals_since =
      stored.previous_since = {2026, 1, 1, 5, 10, 20, 30};
  std::uint8_t record[kUsageFileSize];
  encode_usage(stored, record);
  std::string whole(reinterpret_cast<const char*>(record), kUsageFileSize);
  // Behind the record: bytes of no meaning, NUL and line ends among them.
  for (int i = 0; i < static_cast<int>(kUsageFileSize); ++i)
    whole.push_back(static_cast<char>(i * 37 % 256));

  for (std::size_t length = 0; length <= 2 * kUsageFileSize; ++length) {
    SCOPED_TRACE("usage.bin of " + std::to_string(length) + " bytes");
    const std::string damaged = whole.substr(0, length);
    ASSERT_TRUE(files.write_file(usage_path.c_str(), damaged.data(), damaged.size()) ==
                WriteResult::Written);
    Journal journal;
    FakeMainView view{journal};
    ScriptedAtChannel modem{journal};
    FakeClock clock;
    clock.set(2026, 2, 3, 4, 5, 6);
    RecordingTraceSink sink;
    Trace trace{sink};
    RecordingSleeper sleeper;
    UsageState state;
    std::snprintf(state.data_paths.usage_file_path, sizeof state.data_paths.usage_file_path, "%s",
                  usage_path.c_str());
    UsageContext context{modem, view, state, files, clock, sleeper, trace};

    load_usage(context);
    const bool whole_record = length >= kUsageFileSize;
    EXPECT_FALSE(state.store_unreadable);
    EXPECT_EQ(state.totals.total_duration, whole_record ? 3600u : 0u);
    EXPECT_EQ(state.totals.total_tx_bytes, whole_record ? 5000000 : 0);
    EXPECT_EQ(state.totals.total_rx_bytes, whole_record ? 40000000 : 0);
    EXPECT_EQ(state.totals.last_tx_bytes, whole_record ? 7000 : 0);
    EXPECT_EQ(read_all(usage_path), damaged) << "a start changed the file";

    state.session = {2, 3000, 24000};
    update_totals(context);
    const std::string saved = read_all(usage_path);
    ASSERT_EQ(saved.size(), kUsageFileSize);
    std::uint8_t bytes[kUsageFileSize];
    saved.copy(reinterpret_cast<char*>(bytes), kUsageFileSize);
    const UsageTotals after = decode_usage(bytes);
    EXPECT_EQ(after.total_duration, (whole_record ? 3600u : 0u) + 2);
    EXPECT_EQ(after.total_tx_bytes, (whole_record ? 5000000 : 0) + 3000);
    EXPECT_EQ(after.total_rx_bytes, (whole_record ? 40000000 : 0) + 24000);
    EXPECT_EQ(after.last_rx_bytes, 24000);
    EXPECT_EQ(read_all(folder + "\\usage.tmp"), "-");
    EXPECT_TRUE(view.boxes.shown().empty());
  }
}

}  // namespace
}  // namespace kivo

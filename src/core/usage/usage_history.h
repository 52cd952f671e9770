#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "base/file_system.h"
#include "usage/daily_usage.h"

namespace kivo {

// The bytes moved per local day, kept in usage-history.csv. The window's thread counts and
// writes; any thread may take a snapshot.
class UsageHistory {
 public:
  // Reads the file. A missing file is an empty history; damaged rows are passed over. A file
  // that is there but cannot be read is read again before it is first written, so that a
  // backup holding it at start never costs its rows.
  void load(FileSystem& files, const char* path);
  // The current session's running counts: what they grew by since the last call is counted on
  // `today`, so a session across midnight is split at midnight.
  void count_session(const CalendarDate& today, std::int64_t tx_bytes, std::int64_t rx_bytes);
  // The session was folded into the totals; the next session counts from zero.
  void start_new_session();
  // Writes the whole history through a temporary file when anything was counted since the last
  // write. False when that failed (it is tried again next time).
  bool save(FileSystem& files, const char* path);

  // Every day, bytes counted but not yet written included, in date order.
  std::vector<DailyUsage> days() const;
  // Sent and received bytes of the days from `first` to `last`, both included.
  std::uint64_t bytes_between(const CalendarDate& first, const CalendarDate& last) const;

 private:
  // False when the file could not be read; `days_` is then left as it is.
  bool read_file(FileSystem& files, const char* path);
  DailyUsage& day(const CalendarDate& date);

  mutable std::mutex mutex_;
  std::vector<DailyUsage> days_;
  std::int64_t session_tx_ = 0;  // of the current session, already counted
  std::int64_t session_rx_ = 0;
  bool unsaved_ = false;
  bool read_ = false;  // the file's rows are in `days_`
};

}  // namespace kivo

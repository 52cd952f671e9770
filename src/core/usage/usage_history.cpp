#include "usage/usage_history.h"

#include <algorithm>
#include <memory>

#include "base/atomic_write.h"

namespace kivo {
namespace {

// Thirty bytes a day: decades of rows. A bigger file is not one this program wrote.
constexpr std::size_t kMaxHistoryFileSize = 1 << 20;

// Counters restarted from zero (the modem cleared them) count from zero.
std::uint64_t growth(std::int64_t now, std::int64_t& counted) {
  const std::int64_t from = now >= counted ? counted : 0;
  counted = now;
  return now > from ? static_cast<std::uint64_t>(now - from) : 0;
}

}  // namespace

void UsageHistory::load(FileSystem& files, const char* path) {
  std::lock_guard<std::mutex> lock(mutex_);
  days_.clear();
  read_ = read_file(files, path);
}

bool UsageHistory::read_file(FileSystem& files, const char* path) {
  std::unique_ptr<char[]> buffer(new char[kMaxHistoryFileSize]);
  std::size_t length = 0;
  const ReadResult result = files.read_file(path, buffer.get(), kMaxHistoryFileSize, length);
  if (result == ReadResult::Unreadable) return false;
  if (result == ReadResult::Missing) return true;
  // Rows counted meanwhile are added to the file's.
  for (const DailyUsage& row : parse_usage_history_csv(std::string(buffer.get(), length))) {
    DailyUsage& counted = day(row.date);
    counted.sent += row.sent;
    counted.received += row.received;
  }
  return true;
}

DailyUsage& UsageHistory::day(const CalendarDate& date) {
  auto at =
      std::lower_bound(days_.begin(), days_.end(), date,
                       [](const DailyUsage& row, const CalendarDate& d) { return row.date < d; });
  if (at == days_.end() || at->date != date) at = days_.insert(at, DailyUsage{date, 0, 0});
  return *at;
}

void UsageHistory::count_session(const CalendarDate& today, std::int64_t tx_bytes,
                                 std::int64_t rx_bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::uint64_t sent = growth(tx_bytes, session_tx_);
  const std::uint64_t received = growth(rx_bytes, session_rx_);
  if (sent == 0 && received == 0) return;
  DailyUsage& row = day(today);
  row.sent += sent;
  row.received += received;
  unsaved_ = true;
}

void UsageHistory::start_new_session() {
  std::lock_guard<std::mutex> lock(mutex_);
  session_tx_ = 0;
  session_rx_ = 0;
}

bool UsageHistory::save(FileSystem& files, const char* path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!unsaved_) return true;
  if (!read_ && !(read_ = read_file(files, path))) return false;
  const std::string text = format_usage_history_csv(days_);
  if (write_through_temporary(files, path, text.data(), text.size()) != WriteResult::Written)
    return false;
  unsaved_ = false;
  return true;
}

std::vector<DailyUsage> UsageHistory::days() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return days_;
}

std::uint64_t UsageHistory::bytes_between(const CalendarDate& first,
                                          const CalendarDate& last) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::uint64_t sum = 0;
  for (const DailyUsage& row : days_)
    if (first <= row.date && row.date <= last) sum += row.sent + row.received;
  return sum;
}

}  // namespace kivo

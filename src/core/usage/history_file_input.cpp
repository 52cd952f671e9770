#include "usage/history_file_input.h"

#include <cstring>
#include <string>

namespace kivo {
namespace {

constexpr char kHistoryFileName[] = "usage-history.csv";
// Rows take about 30 bytes: this is centuries of days, and a file that fills it is damaged.
constexpr std::size_t kLargestHistory = std::size_t{16} << 20;

// The history lives in the folder of usage.bin (the current directory when that has none).
std::string history_file_path(const DataPaths& paths) {
  const char* folder_end = std::strrchr(paths.usage_file_path, '\\');
  if (folder_end == nullptr) return kHistoryFileName;
  return std::string(paths.usage_file_path, folder_end + 1) + kHistoryFileName;
}

// The whole file: a read that fills the buffer is repeated with a larger one, so the newest
// rows at the end are never cut off.
std::string read_whole_file(FileSystem& files, const std::string& path) {
  std::string text;
  for (std::size_t capacity = 64 * 1024; capacity <= kLargestHistory; capacity *= 2) {
    text.resize(capacity);
    std::size_t length = 0;
    if (files.read_file(path.c_str(), text.data(), capacity, length) != ReadResult::Read) return {};
    text.resize(length);
    if (length < capacity) return text;
  }
  return text;
}

}  // namespace

HistoryChartInput history_chart_input_from_file(FileSystem& files, const DataPaths& paths,
                                                const CalendarDate& today) {
  HistoryChartInput input;
  input.days = parse_usage_history_csv(read_whole_file(files, history_file_path(paths)));
  input.today = today;
  return input;
}

}  // namespace kivo

#pragma once

#include <string_view>

namespace kivo {

// Calls `take(line)` for each line of `text` without its line end (LF or CR LF); a last line
// without a line end counts too. Stops at the first line `take` answers false for, and returns
// false then; true when every line was taken.
template <typename TakeLine>
bool for_each_line(std::string_view text, TakeLine take) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!take(line)) return false;
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return true;
}

}  // namespace kivo

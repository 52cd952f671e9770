#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace kivo::test {

// One ordered record shared by several fakes, so a test can check the order of events across
// them (a timer killed before the link closes, a status text before a command). Thread-safe.
class Journal {
 public:
  void add(std::string entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back(std::move(entry));
  }
  // Everything recorded since the last call.
  std::vector<std::string> take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> taken;
    taken.swap(entries_);
    return taken;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> entries_;
};

// Bytes as the journals of the fakes write them: "29 01 00 31 40 7E".
inline std::string hex_bytes(const void* bytes, std::size_t count) {
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(byte, sizeof(byte), i ? " %02X" : "%02X",
                  static_cast<const std::uint8_t*>(bytes)[i]);
    text += byte;
  }
  return text;
}

}  // namespace kivo::test

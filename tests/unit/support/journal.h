#pragma once

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

}  // namespace kivo::test

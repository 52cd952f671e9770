#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "base/trace.h"

namespace kivo::test {

// Keeps every trace line (prefix included) for assertions; safe across threads.
class RecordingTraceSink : public TraceSink {
 public:
  void write_line(const char* line) override {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.emplace_back(line);
  }
  std::vector<std::string> lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  bool contains(const std::string& line) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& l : lines_)
      if (l == line) return true;
    return false;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace kivo::test

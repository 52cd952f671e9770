#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

#include "link/notices.h"

namespace kivo::test {

// Keeps every posted notice (with its own report copy); safe across threads.
class RecordingNoticeSink : public NoticeSink {
 public:
  void post(const Notice& notice) override {
    std::lock_guard<std::mutex> lock(mutex_);
    notices_.push_back(notice);
    changed_.notify_all();
  }
  std::vector<Notice> notices() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return notices_;
  }
  std::size_t size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return notices_.size();
  }
  std::size_t count(NoticeId id) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t n = 0;
    for (const Notice& notice : notices_) n += notice.id == id;
    return n;
  }
  // Waits (at most `timeout`) until at least `n` notices have been posted.
  bool wait_for_size(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return notices_.size() >= n; });
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    notices_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Notice> notices_;
};

}  // namespace kivo::test

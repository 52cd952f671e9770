#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace kivo {

// A text that one thread writes while another reads it: each read takes a whole copy, so a
// reader never sees half of an old text and half of a new one.
class SharedText {
 public:
  explicit SharedText(std::size_t capacity) : capacity_(capacity) {}

  // Keeps at most `capacity` bytes of `text`; the caller cuts it where it should end.
  void set(std::string_view text) {
    const std::lock_guard<std::mutex> lock(mutex_);
    text_.assign(text.substr(0, capacity_));
  }
  std::string get() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return text_;
  }
  std::size_t capacity() const { return capacity_; }

 private:
  mutable std::mutex mutex_;
  std::string text_;
  const std::size_t capacity_;
};

}  // namespace kivo

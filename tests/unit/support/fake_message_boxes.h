#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "base/message_boxes.h"

namespace kivo::test {

struct ShownBox {
  BoxOwner owner;
  std::string text;
  std::string caption;
  BoxIcon icon;
  BoxButtons buttons;
  int default_button;
};

// Records every box and answers from a queue (the first button when the queue is empty).
class FakeMessageBoxes : public MessageBoxes {
 public:
  BoxAnswer show(const BoxRequest& r) override {
    std::lock_guard<std::mutex> lock(mutex_);
    shown_.push_back({r.owner, r.text, r.caption, r.icon, r.buttons, r.default_button});
    if (!answers_.empty()) {
      BoxAnswer a = answers_.front();
      answers_.pop_front();
      return a;
    }
    switch (r.buttons) {
      case BoxButtons::YesNo:
      case BoxButtons::YesNoCancel:
        return BoxAnswer::Yes;
      case BoxButtons::RetryCancel:
        return BoxAnswer::Retry;
      default:
        return BoxAnswer::Ok;
    }
  }
  void queue_answer(BoxAnswer a) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(a);
  }
  std::vector<ShownBox> shown() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }

 private:
  mutable std::mutex mutex_;
  std::deque<BoxAnswer> answers_;
  std::vector<ShownBox> shown_;
};

}  // namespace kivo::test

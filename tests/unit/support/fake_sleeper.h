#pragma once

#include <functional>
#include <vector>

#include "base/sleeper.h"

namespace kivo::test {

// Returns at once and keeps every wait asked for, in order; `during_wait` stands for what
// happens elsewhere meanwhile.
class RecordingSleeper : public Sleeper {
 public:
  std::vector<unsigned> waits;
  std::function<void()> during_wait;
  void sleep_ms(unsigned milliseconds) override {
    waits.push_back(milliseconds);
    if (during_wait) during_wait();
  }
};

}  // namespace kivo::test

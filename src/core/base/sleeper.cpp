#include "base/sleeper.h"

#include <chrono>
#include <thread>

namespace kivo {

void SystemSleeper::sleep_ms(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Sleeper& system_sleeper() {
  static SystemSleeper sleeper;
  return sleeper;
}

}  // namespace kivo

#pragma once

namespace kivo {

// Blocks the calling thread. The real wait in the program, a recorder in tests.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void sleep_ms(unsigned milliseconds) = 0;
};

class SystemSleeper : public Sleeper {
 public:
  void sleep_ms(unsigned milliseconds) override;
};

// One stateless instance for the whole program.
Sleeper& system_sleeper();

}  // namespace kivo

#pragma once

#include <functional>

namespace kivo {

// Starts and joins the short-lived threads of the main window (OS threads in the program,
// recorded and run on demand in tests).
class WorkerThreads {
 public:
  using Id = unsigned long;  // never 0
  virtual ~WorkerThreads() = default;
  virtual Id start(std::function<void()> body) = 0;
  // Waits without limit for the thread to end and forgets it.
  virtual void join(Id thread) = 0;
};

}  // namespace kivo

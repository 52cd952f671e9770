#pragma once

#include <windows.h>

#include <map>
#include <mutex>

#include "base/worker_threads.h"

namespace kivo {

// Worker threads as OS threads (CreateThread), identified by their thread id.
class SystemWorkerThreads : public WorkerThreads {
 public:
  Id start(std::function<void()> body) override;
  // Called on the window's thread: while it waits, messages that the worker sends to the
  // window (the status text) are still delivered, so the worker can finish.
  void join(Id thread) override;

 private:
  std::mutex mutex_;
  std::map<Id, HANDLE> running_;
};

}  // namespace kivo

#include "system_worker_threads.h"

#include <memory>
#include <utility>

namespace kivo {
namespace {

DWORD WINAPI run_body(void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  (*body)();
  return 0;
}

}  // namespace

WorkerThreads::Id SystemWorkerThreads::start(std::function<void()> body) {
  auto owned = std::make_unique<std::function<void()>>(std::move(body));
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, run_body, owned.get(), 0, &id);
  if (thread == nullptr) return 0;
  owned.release();  // the thread owns its body now
  std::lock_guard<std::mutex> lock(mutex_);
  running_[id] = thread;
  return id;
}

void SystemWorkerThreads::join(Id id) {
  HANDLE thread = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = running_.find(id);
    if (found == running_.end()) return;
    thread = found->second;
    running_.erase(found);
  }
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(thread);
}

}  // namespace kivo

#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include "base/worker_threads.h"

namespace kivo {

// The kinds of short-lived thread the main window runs, one slot each.
enum class Worker : std::size_t {
  discovery,
  sms,
  signal_log,
  connect,
  apn,
  ussd_send,
  ussd_help,
};

// One thread per kind of worker at most. Used on the main thread only: a worker posts its notice
// as its last action and the main window joins it from there.
class WorkerSlots {
 public:
  explicit WorkerSlots(WorkerThreads& threads) : threads_(threads) {}

  // Starts `body` only when no worker of its kind runs; true when it was started.
  bool start(Worker kind, std::function<void()> body);
  // Waits for the slot's thread without limit and frees the slot; nothing when it is free.
  void join_worker(Worker kind);
  bool is_free(Worker kind) const { return ids_[index(kind)] == 0; }

 private:
  static constexpr std::size_t index(Worker kind) { return static_cast<std::size_t>(kind); }
  static constexpr std::size_t kKinds = static_cast<std::size_t>(Worker::ussd_help) + 1;

  WorkerThreads& threads_;
  std::array<WorkerThreads::Id, kKinds> ids_{};  // 0: no thread in the slot
};

}  // namespace kivo

#include "base/worker_slots.h"

#include <utility>

namespace kivo {

bool WorkerSlots::start(Worker kind, std::function<void()> body) {
  WorkerThreads::Id& slot = ids_[index(kind)];
  if (slot != 0) return false;
  slot = threads_.start(std::move(body));
  return slot != 0;
}

void WorkerSlots::join_worker(Worker kind) {
  WorkerThreads::Id& slot = ids_[index(kind)];
  if (slot == 0) return;
  threads_.join(slot);
  slot = 0;
}

}  // namespace kivo

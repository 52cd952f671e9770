#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "link/notices.h"

namespace kivo {

// The copies that travel with posted notifications. Slots are preallocated, so posting from
// the receive thread never allocates; the main window hands each copy back once handled.
class NoticePool {
 public:
  static constexpr std::size_t kCapacity = 64;

  NoticePool();
  NoticePool(const NoticePool&) = delete;
  NoticePool& operator=(const NoticePool&) = delete;

  // A slot holding a copy of `notice`; null when every slot is still waiting to be handled.
  Notice* acquire(const Notice& notice);
  // Returns a slot from acquire(); anything else is ignored.
  void release(Notice* notice);
  // The slot at `address` when it is one acquire() handed out and not yet released; null for
  // any other number, which is never dereferenced.
  Notice* acquired_slot_at(std::uintptr_t address);
  std::size_t in_use() const;

 private:
  mutable std::mutex mutex_;
  Notice slots_[kCapacity];
  Notice* free_[kCapacity];
  std::size_t free_count_ = 0;
};

}  // namespace kivo

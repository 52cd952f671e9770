#include "app/notice_pool.h"

namespace kivo {

NoticePool::NoticePool() {
  for (Notice& slot : slots_) free_[free_count_++] = &slot;
}

Notice* NoticePool::acquire(const Notice& notice) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (free_count_ == 0) return nullptr;
  Notice* slot = free_[--free_count_];
  *slot = notice;
  return slot;
}

void NoticePool::release(Notice* notice) {
  if (notice < slots_ || notice >= slots_ + kCapacity) return;
  std::lock_guard<std::mutex> lock(mutex_);
  // A slot handed back twice would later be given to two notices at once.
  for (std::size_t i = 0; i < free_count_; ++i)
    if (free_[i] == notice) return;
  free_[free_count_++] = notice;
}

Notice* NoticePool::acquired_slot_at(std::uintptr_t address) {
  std::lock_guard<std::mutex> lock(mutex_);
  Notice* slot = nullptr;
  for (Notice& candidate : slots_)
    if (reinterpret_cast<std::uintptr_t>(&candidate) == address) slot = &candidate;
  if (slot == nullptr) return nullptr;
  for (std::size_t i = 0; i < free_count_; ++i)
    if (free_[i] == slot) return nullptr;
  return slot;
}

std::size_t NoticePool::in_use() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return kCapacity - free_count_;
}

}  // namespace kivo

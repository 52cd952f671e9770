#include "output_queue.h"

#include <algorithm>

namespace modemsim {

void OutputQueue::push_bytewise(const Outgoing& item) {
  for (std::size_t i = 0; i < item.bytes.size(); ++i) {
    push({item.bytes.substr(i, 1), item.due, i == 0 ? item.gap_ms : kMinGapMs});
  }
}

void OutputQueue::push(Outgoing item) {
  if (item.bytes.empty()) return;
  auto later = std::upper_bound(items_.begin(), items_.end(), item.due,
                                [](Millis due, const Outgoing& o) { return due < o.due; });
  items_.insert(later, std::move(item));
}

std::optional<std::string> OutputQueue::pop(Millis now, bool host_drained) {
  if (items_.empty() || now < items_.front().due) return std::nullopt;
  const Outgoing& head = items_.front();
  if (head.gap_ms > 0) {
    if (!host_drained) {
      drained_since_.reset();
      return std::nullopt;
    }
    if (!drained_since_) drained_since_ = now;
    if (now < *drained_since_ + head.gap_ms) return std::nullopt;
  }
  std::string bytes = std::move(items_.front().bytes);
  items_.pop_front();
  drained_since_.reset();
  return bytes;
}

std::optional<Millis> OutputQueue::wakeup(Millis now) const {
  if (items_.empty()) return std::nullopt;
  const Outgoing& head = items_.front();
  if (now < head.due) return head.due;
  if (head.gap_ms > 0 && drained_since_) return std::max(now, *drained_since_ + head.gap_ms);
  // Waiting for the host to read: look again in a millisecond.
  return head.gap_ms > 0 ? now + 1 : now;
}

}  // namespace modemsim

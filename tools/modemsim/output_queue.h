#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace modemsim {

using Millis = std::int64_t;

// The pause that makes a write a burst of its own: the host's read ends at the first gap of
// more than a millisecond, so 20 ms after it has read everything is well clear of it.
constexpr unsigned kBurstGapMs = 20;
// Enough to part two writes into two reads, for bursts that need not stand out any more than that.
constexpr unsigned kMinGapMs = 2;

struct Outgoing {
  std::string bytes;
  Millis due = 0;       // not before this time
  unsigned gap_ms = 0;  // > 0: a burst of its own (see pop)
};

// What the modem is about to send, in order of time (items due at the same time keep the
// order they were queued in).
class OutputQueue {
 public:
  void push(Outgoing item);

  // The bytes to write now, if any. An item with a gap goes out only once the host has read
  // everything sent before it (`host_drained`) and then `gap_ms` have passed, so that it
  // arrives as a burst of its own however late the host reads.
  std::optional<std::string> pop(Millis now, bool host_drained);

  // When pop() should be asked again; nothing while the queue is empty.
  std::optional<Millis> wakeup(Millis now) const;

  // Queues the item's bytes each as a burst of its own (the first with the item's gap), so the
  // host reads them one at a time.
  void push_bytewise(const Outgoing& item);

  bool empty() const { return items_.empty(); }
  void clear() { items_.clear(); }

 private:
  std::deque<Outgoing> items_;
  std::optional<Millis> drained_since_;
};

}  // namespace modemsim

#pragma once

#include <cstdint>
#include <mutex>

#include "app/notice_pool.h"
#include "link/notices.h"

namespace kivo {

// What pack() made of a notice.
enum class Packed {
  Post,    // post the message
  Merged,  // a newer flow report, taken into the one already on its way: nothing to post
  NoSlot,  // a report, but every pool slot is waiting to be handled: dropped
};

// A notice as it travels in a window message: WM_APP + offset, wParam and lParam.
struct NoticeMessage {
  unsigned offset = 0;
  std::uintptr_t first = 0;   // wParam
  std::uintptr_t second = 0;  // lParam
};

// Packs notices into window messages and back. A notice with a report travels as the address
// of its copy in the pool; every other one as its value alone, so a worker's completion never
// waits for a slot and is never dropped for want of one. lParam carries a token only this
// process knows: a WM_APP message another program posts to the window is recognised as foreign
// and ignored, and its wParam is never taken for a pointer.
// Flow reports carry running counters, so the newest holds all an older one did: they wait in a
// box of their own, the newest replacing one not yet handled. A flood of them then neither fills
// the pool nor loses the last counters, which the totals are made of.
class NoticeCourier {
 public:
  NoticeCourier(NoticePool& pool, std::uintptr_t token) : pool_(pool), token_(token) {}

  Packed pack(const Notice& notice, NoticeMessage& message);
  // Gives back what pack() took, for a message that could not be posted.
  void discard(const NoticeMessage& message);
  // The notice a received message carries, or null when the message is not one this process
  // posted. A notice without a report is copied into `scratch`.
  Notice* unpack(const NoticeMessage& message, Notice& scratch);
  // Gives back the slot of a notice from unpack() once it has been handled.
  void done(Notice* notice);

 private:
  NoticePool& pool_;
  const std::uintptr_t token_;
  std::mutex flow_mutex_;  // guards what follows
  Notice latest_flow_;     // the newest flow report not yet handled
  bool flow_posted_ = false;
};

}  // namespace kivo

#pragma once

#include <windows.h>

#include <atomic>

#include "app/notice_courier.h"
#include "base/trace.h"
#include "link/notices.h"

namespace kivo {

// Posts each notice to the main window as the courier packs it; the window unpacks it and hands
// a report's copy back when it has handled the message.
class WindowNoticeSink : public NoticeSink {
 public:
  WindowNoticeSink(NoticeCourier& courier, const std::atomic<HWND>& window, const Trace& trace)
      : courier_(courier), window_(window), trace_(trace) {}
  void post(const Notice& notice) override;

 private:
  NoticeCourier& courier_;
  const std::atomic<HWND>& window_;
  const Trace& trace_;
};

}  // namespace kivo

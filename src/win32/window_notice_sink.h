#pragma once

#include <windows.h>

#include <atomic>

#include "app/notice_pool.h"
#include "base/trace.h"
#include "link/notices.h"

namespace kivo {

// Posts each notice to the main window with a pointer to its own copy from the pool; the
// window hands the copy back when it has handled the message.
class WindowNoticeSink : public NoticeSink {
 public:
  WindowNoticeSink(NoticePool& pool, const std::atomic<HWND>& window, const Trace& trace)
      : pool_(pool), window_(window), trace_(trace) {}
  void post(const Notice& notice) override;

 private:
  NoticePool& pool_;
  const std::atomic<HWND>& window_;
  const Trace& trace_;
};

}  // namespace kivo

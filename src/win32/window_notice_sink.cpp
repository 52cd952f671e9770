#include "window_notice_sink.h"

#include "app_messages.h"

namespace kivo {

void WindowNoticeSink::post(const Notice& notice) {
  Notice* copy = pool_.acquire(notice);
  if (copy == nullptr) {
    // Only when the main window has stopped taking its messages; the sender must not wait.
    trace_("notice %u dropped, main window not responding", static_cast<unsigned>(notice.id));
    return;
  }
  // Without a window a post would land in the calling thread's own queue and never come back.
  HWND window = window_.load();
  if (window == nullptr ||
      !PostMessageA(window, notice_message(notice.id), reinterpret_cast<WPARAM>(copy), 0))
    pool_.release(copy);
}

}  // namespace kivo

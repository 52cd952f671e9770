#include "window_notice_sink.h"

#include "app_messages.h"

namespace kivo {

void WindowNoticeSink::post(const Notice& notice) {
  NoticeMessage message;
  const Packed packed = courier_.pack(notice, message);
  if (packed == Packed::Merged) return;
  if (packed == Packed::NoSlot) {
    // Only when the main window has stopped taking its messages; the sender must not wait.
    trace_("notice %u dropped, main window not responding", static_cast<unsigned>(notice.id));
    return;
  }
  // Without a window a post would land in the calling thread's own queue and never come back.
  HWND window = window_.load();
  if (window == nullptr ||
      !PostMessageA(window, WM_APP + message.offset, static_cast<WPARAM>(message.first),
                    static_cast<LPARAM>(message.second)))
    courier_.discard(message);
}

}  // namespace kivo

#pragma once

#include <windows.h>

#include "link/notices.h"

namespace kivo {

// Every WM_APP message of the program: the main window's notices, numbered WM_APP + NoticeId.
// Their wParam points to the notice's own copy, taken from the NoticePool.
constexpr UINT kFirstNoticeMessage = WM_APP + static_cast<UINT>(NoticeId::SmsWorkerDone);
constexpr UINT kLastNoticeMessage = WM_APP + static_cast<UINT>(NoticeId::Boot);

constexpr UINT notice_message(NoticeId id) {
  return WM_APP + static_cast<UINT>(id);
}
constexpr bool is_notice_message(UINT message) {
  return message >= kFirstNoticeMessage && message <= kLastNoticeMessage;
}

}  // namespace kivo

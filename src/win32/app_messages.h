#pragma once

#include <windows.h>

#include "link/notices.h"

namespace kivo {

// Every WM_APP message of the program: the main window's notices, numbered WM_APP + NoticeId,
// packed by the NoticeCourier (wParam: the value, or the address of a report's copy; lParam:
// the process's token).
constexpr UINT kFirstNoticeMessage = WM_APP + static_cast<UINT>(NoticeId::SmsWorkerDone);
constexpr UINT kLastNoticeMessage = WM_APP + static_cast<UINT>(NoticeId::DataPlanCheck);

constexpr bool is_notice_message(UINT message) {
  return message >= kFirstNoticeMessage && message <= kLastNoticeMessage;
}

}  // namespace kivo

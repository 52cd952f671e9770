#pragma once

#include <cstdint>
#include <variant>

#include "link/reports.h"

namespace kivo {

// Notifications to the main window, numbered as offsets from WM_APP.
enum class NoticeId : unsigned {
  SmsWorkerDone = 0,
  SignalLogWorkerDone = 1,
  DialerWorkerDone = 2,
  DiscoveryDone = 3,
  ApnWorkerDone = 4,
  UssdSendWorkerDone = 5,
  UssdHelpWorkerDone = 6,
  SmsReceived = 8,
  SmsSent = 9,
  SmsFailed = 10,
  FlowReport = 11,
  Signal = 12,
  Mode = 13,
  CellBroadcast = 14,
  Ussd = 15,
  UssdSessionEnded = 16,
  Registration = 17,
  Boot = 18,
  // Posted at start, so a data-plan warning due then shows over the window, not before it.
  DataPlanCheck = 19,
};

// Whether a notice of this kind carries a report record (the others carry at most a value).
constexpr bool carries_report(NoticeId id) {
  switch (id) {
    case NoticeId::FlowReport:
    case NoticeId::Mode:
    case NoticeId::CellBroadcast:
    case NoticeId::Ussd:
    case NoticeId::Registration:
    case NoticeId::Boot:
      return true;
    default:
      return false;
  }
}

// A notification carries its own copy of the report it announces, so a later report of the
// same kind cannot change it while the main window reads it.
struct Notice {
  NoticeId id = NoticeId::SmsReceived;
  std::uint32_t value = 0;  // the signal value of NoticeId::Signal
  std::variant<std::monostate, BootReport, ModeReport, RegistrationReport, UssdResponse,
               CellBroadcastPage, FlowReport>
      report;
};

// Posts to the main window (PostMessage in the program): never waits for it.
class NoticeSink {
 public:
  virtual ~NoticeSink() = default;
  virtual void post(const Notice& notice) = 0;
};

}  // namespace kivo

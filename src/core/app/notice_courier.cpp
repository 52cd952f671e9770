#include "app/notice_courier.h"

namespace kivo {

namespace {

constexpr unsigned kLastNotice = static_cast<unsigned>(NoticeId::DataPlanCheck);
constexpr unsigned kUnusedNotice = 7;  // no notice has this number

}  // namespace

bool NoticeCourier::pack(const Notice& notice, NoticeMessage& message) {
  message.offset = static_cast<unsigned>(notice.id);
  message.second = token_;
  if (!carries_report(notice.id)) {
    message.first = notice.value;
    return true;
  }
  Notice* copy = pool_.acquire(notice);
  if (copy == nullptr) return false;
  message.first = reinterpret_cast<std::uintptr_t>(copy);
  return true;
}

void NoticeCourier::discard(const NoticeMessage& message) {
  if (carries_report(static_cast<NoticeId>(message.offset)))
    pool_.release(pool_.acquired_slot_at(message.first));
}

Notice* NoticeCourier::unpack(const NoticeMessage& message, Notice& scratch) {
  if (message.second != token_ || message.offset > kLastNotice || message.offset == kUnusedNotice)
    return nullptr;
  const auto id = static_cast<NoticeId>(message.offset);
  if (!carries_report(id)) {
    scratch = Notice{};
    scratch.id = id;
    scratch.value = static_cast<std::uint32_t>(message.first);
    return &scratch;
  }
  Notice* copy = pool_.acquired_slot_at(message.first);
  return copy != nullptr && copy->id == id ? copy : nullptr;
}

void NoticeCourier::done(Notice* notice) {
  if (notice != nullptr && carries_report(notice->id)) pool_.release(notice);
}

}  // namespace kivo

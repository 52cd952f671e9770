#include "app/notice_courier.h"

namespace kivo {

namespace {

constexpr unsigned kLastNotice = static_cast<unsigned>(NoticeId::DataPlanCheck);
constexpr unsigned kUnusedNotice = 7;  // no notice has this number

}  // namespace

Packed NoticeCourier::pack(const Notice& notice, NoticeMessage& message) {
  message.offset = static_cast<unsigned>(notice.id);
  message.second = token_;
  message.first = 0;
  if (notice.id == NoticeId::FlowReport) {
    std::lock_guard<std::mutex> lock(flow_mutex_);
    latest_flow_ = notice;
    if (flow_posted_) return Packed::Merged;
    flow_posted_ = true;
    return Packed::Post;
  }
  if (!carries_report(notice.id)) {
    message.first = notice.value;
    return Packed::Post;
  }
  Notice* copy = pool_.acquire(notice);
  if (copy == nullptr) return Packed::NoSlot;
  message.first = reinterpret_cast<std::uintptr_t>(copy);
  return Packed::Post;
}

void NoticeCourier::discard(const NoticeMessage& message) {
  if (message.offset == static_cast<unsigned>(NoticeId::FlowReport)) {
    std::lock_guard<std::mutex> lock(flow_mutex_);
    flow_posted_ = false;
  } else if (carries_report(static_cast<NoticeId>(message.offset))) {
    pool_.release(pool_.acquired_slot_at(message.first));
  }
}

Notice* NoticeCourier::unpack(const NoticeMessage& message, Notice& scratch) {
  if (message.second != token_ || message.offset > kLastNotice || message.offset == kUnusedNotice)
    return nullptr;
  const auto id = static_cast<NoticeId>(message.offset);
  if (id == NoticeId::FlowReport) {
    std::lock_guard<std::mutex> lock(flow_mutex_);
    if (!flow_posted_) return nullptr;
    flow_posted_ = false;
    scratch = latest_flow_;
    return &scratch;
  }
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
  if (notice != nullptr && notice->id != NoticeId::FlowReport && carries_report(notice->id))
    pool_.release(notice);
}

}  // namespace kivo

#include "app/notice_courier.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

constexpr std::uintptr_t kToken = 0x5EC12E7;

Notice plain(NoticeId id, std::uint32_t value = 0) {
  Notice notice;
  notice.id = id;
  notice.value = value;
  return notice;
}

Notice boot(std::uint32_t first) {
  Notice notice;
  notice.id = NoticeId::Boot;
  BootReport report;
  report.values[0] = first;
  notice.report = report;
  return notice;
}

struct NoticeCourierTest : ::testing::Test {
  NoticePool pool;
  NoticeCourier courier{pool, kToken};
  Notice scratch;
};

TEST_F(NoticeCourierTest, CompletionsAndValuesTravelWithoutASlotEvenWhenThePoolIsFull) {
  NoticeMessage message;
  for (std::size_t i = 0; i < NoticePool::kCapacity; ++i)
    ASSERT_EQ(courier.pack(boot(1), message), Packed::Post);
  EXPECT_EQ(courier.pack(boot(2), message), Packed::NoSlot);  // reports wait for the window

  for (const NoticeId id :
       {NoticeId::SmsWorkerDone, NoticeId::DiscoveryDone, NoticeId::UssdHelpWorkerDone,
        NoticeId::SmsFailed, NoticeId::Signal, NoticeId::UssdSessionEnded}) {
    ASSERT_EQ(courier.pack(plain(id, 17), message), Packed::Post) << static_cast<unsigned>(id);
    Notice* notice = courier.unpack(message, scratch);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->id, id);
    EXPECT_EQ(notice->value, 17u);
    courier.done(notice);
  }
  EXPECT_EQ(pool.in_use(), NoticePool::kCapacity);
}

TEST_F(NoticeCourierTest, AReportArrivesAsItsOwnCopyAndItsSlotComesBackOnceHandled) {
  NoticeMessage message;
  ASSERT_EQ(courier.pack(boot(3), message), Packed::Post);
  EXPECT_EQ(message.offset, 18u);
  EXPECT_EQ(pool.in_use(), 1u);
  Notice* notice = courier.unpack(message, scratch);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(std::get<BootReport>(notice->report).values[0], 3u);
  courier.done(notice);
  EXPECT_EQ(pool.in_use(), 0u);
  // The same message again (a stale copy) no longer points at a notice of ours.
  EXPECT_EQ(courier.unpack(message, scratch), nullptr);

  ASSERT_EQ(courier.pack(boot(4), message), Packed::Post);
  courier.discard(message);  // the post failed
  EXPECT_EQ(pool.in_use(), 0u);
}

Notice flow(std::int64_t rx_bytes) {
  Notice notice;
  notice.id = NoticeId::FlowReport;
  FlowReport report;
  report.rx_bytes = rx_bytes;
  notice.report = report;
  return notice;
}

TEST_F(NoticeCourierTest, AFloodOfFlowReportsNeverLosesTheNewestAndNeedsNoSlot) {
  NoticeMessage message;
  for (std::size_t i = 0; i < NoticePool::kCapacity; ++i)
    ASSERT_EQ(courier.pack(boot(1), message), Packed::Post);
  NoticeMessage first;
  ASSERT_EQ(courier.pack(flow(100), first), Packed::Post);
  // While the window is busy, newer reports replace the one on its way.
  for (std::int64_t rx = 200; rx <= 5000; rx += 100)
    EXPECT_EQ(courier.pack(flow(rx), message), Packed::Merged);
  Notice* notice = courier.unpack(first, scratch);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(std::get<FlowReport>(notice->report).rx_bytes, 5000);
  courier.done(notice);
  EXPECT_EQ(courier.unpack(first, scratch), nullptr);  // handled once
  EXPECT_EQ(pool.in_use(), NoticePool::kCapacity);

  // Once handled, the next report is posted again; a failed post lets the one after through.
  ASSERT_EQ(courier.pack(flow(5100), message), Packed::Post);
  courier.discard(message);
  ASSERT_EQ(courier.pack(flow(5200), message), Packed::Post);
  notice = courier.unpack(message, scratch);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(std::get<FlowReport>(notice->report).rx_bytes, 5200);
}

TEST_F(NoticeCourierTest, MessagesThisProcessDidNotPostAreIgnoredWithoutReadingWParam) {
  NoticeMessage ours;
  ASSERT_EQ(courier.pack(boot(5), ours), Packed::Post);
  Notice outside = boot(6);
  const std::uintptr_t outside_address = reinterpret_cast<std::uintptr_t>(&outside);
  const std::vector<NoticeMessage> foreign = {
      {18, ours.first, 0},            // our slot, but no token
      {18, ours.first, kToken + 1},   // a wrong token
      {13, ours.first, kToken},       // our slot under another notice's number
      {18, outside_address, kToken},  // an address outside the pool
      {18, 0x1234, kToken},           // any number at all
      {15, 0, kToken},                // a report notice without its copy
      {7, 0, kToken},                 // the unused number
      {20, 0, kToken},                // past the last notice
      {3, 0, 0},                      // a completion without the token
  };
  for (const NoticeMessage& message : foreign)
    EXPECT_EQ(courier.unpack(message, scratch), nullptr)
        << message.offset << " " << message.first << " " << message.second;
  EXPECT_EQ(pool.in_use(), 1u);
}

}  // namespace
}  // namespace kivo

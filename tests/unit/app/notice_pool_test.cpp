#include "app/notice_pool.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

namespace kivo {
namespace {

Notice flow_notice(std::int64_t rx_bytes) {
  Notice notice;
  notice.id = NoticeId::FlowReport;
  FlowReport report;
  report.rx_bytes = rx_bytes;
  notice.report = report;
  return notice;
}

TEST(NoticePool, CopyStaysUnchangedWhileTheNextReportIsPosted) {
  NoticePool pool;
  Notice report = flow_notice(100);
  Notice* first = pool.acquire(report);
  report = flow_notice(200);
  Notice* second = pool.acquire(report);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(std::get<FlowReport>(first->report).rx_bytes, 100);
  EXPECT_EQ(std::get<FlowReport>(second->report).rx_bytes, 200);
}

TEST(NoticePool, FullPoolRefusesUntilASlotComesBack) {
  NoticePool pool;
  std::vector<Notice*> taken;
  for (std::size_t i = 0; i < NoticePool::kCapacity; ++i) taken.push_back(pool.acquire(Notice{}));
  EXPECT_EQ(std::set<Notice*>(taken.begin(), taken.end()).size(), NoticePool::kCapacity);
  EXPECT_EQ(pool.acquire(Notice{}), nullptr);

  pool.release(taken[7]);
  EXPECT_EQ(pool.acquire(flow_notice(5)), taken[7]);
  EXPECT_EQ(pool.in_use(), NoticePool::kCapacity);
}

TEST(NoticePool, ForeignAndRepeatedReleasesAreIgnored) {
  NoticePool pool;
  Notice outside;
  Notice* slot = pool.acquire(Notice{});
  pool.release(&outside);
  pool.release(nullptr);
  EXPECT_EQ(pool.in_use(), 1u);

  pool.release(slot);
  pool.release(slot);
  EXPECT_EQ(pool.in_use(), 0u);
  Notice* a = pool.acquire(Notice{});
  Notice* b = pool.acquire(Notice{});
  EXPECT_NE(a, b);
}

TEST(NoticePool, PostingAndHandlingFromTwoThreadsLosesNoSlot) {
  NoticePool pool;
  std::thread poster([&] {
    for (int i = 0; i < 20000; ++i) {
      Notice* slot = pool.acquire(flow_notice(i));
      if (slot) pool.release(slot);
    }
  });
  for (int i = 0; i < 20000; ++i) {
    Notice* slot = pool.acquire(flow_notice(-i));
    if (slot) pool.release(slot);
  }
  poster.join();
  EXPECT_EQ(pool.in_use(), 0u);
}

}  // namespace
}  // namespace kivo

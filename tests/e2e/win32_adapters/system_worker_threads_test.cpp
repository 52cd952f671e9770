#include "system_worker_threads.h"

#include <gtest/gtest.h>

#include <atomic>

namespace kivo {
namespace {

TEST(SystemWorkerThreadsTest, RunsEachBodyOnItsOwnThreadAndJoinWaitsForIt) {
  SystemWorkerThreads workers;
  std::atomic<DWORD> first_thread{0};
  std::atomic<bool> second_done{false};
  const WorkerThreads::Id first = workers.start([&] { first_thread = GetCurrentThreadId(); });
  const WorkerThreads::Id second = workers.start([&] {
    Sleep(100);
    second_done = true;
  });
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);

  workers.join(second);
  EXPECT_TRUE(second_done);
  workers.join(first);
  EXPECT_NE(first_thread.load(), 0u);
  EXPECT_NE(first_thread.load(), GetCurrentThreadId());
}

TEST(SystemWorkerThreadsTest, JoiningAnUnknownOrJoinedThreadReturnsAtOnce) {
  SystemWorkerThreads workers;
  const WorkerThreads::Id id = workers.start([] {});
  workers.join(id);
  workers.join(id);
  workers.join(12345);
}

}  // namespace
}  // namespace kivo

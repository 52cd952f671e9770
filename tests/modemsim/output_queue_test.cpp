#include "output_queue.h"

#include <gtest/gtest.h>

namespace modemsim {
namespace {

TEST(OutputQueue, ItemsLeaveByTimeAndInQueueOrderAtTheSameTime) {
  OutputQueue queue;
  queue.push({"late", 50, 0});
  queue.push({"first", 10, 0});
  queue.push({"second", 10, 0});
  EXPECT_EQ(queue.wakeup(0), 10);
  EXPECT_FALSE(queue.pop(9, true));
  EXPECT_EQ(queue.pop(10, true), "first");
  EXPECT_EQ(queue.pop(10, true), "second");
  EXPECT_FALSE(queue.pop(10, true));
  EXPECT_EQ(queue.pop(50, true), "late");
  EXPECT_TRUE(queue.empty());
}

TEST(OutputQueue, ABurstOfItsOwnWaitsUntilTheHostHasReadAndThenTheGap) {
  OutputQueue queue;
  queue.push({"report", 0, 20});
  EXPECT_FALSE(queue.pop(5, false));
  EXPECT_EQ(queue.wakeup(5), 6);
  EXPECT_FALSE(queue.pop(100, true));  // drained from now on
  EXPECT_EQ(queue.wakeup(100), 120);
  EXPECT_FALSE(queue.pop(110, false));  // the host got something new: start again
  EXPECT_FALSE(queue.pop(111, true));
  EXPECT_FALSE(queue.pop(130, true));
  EXPECT_EQ(queue.pop(131, true), "report");
}

TEST(OutputQueue, EmptyWritesAreDropped) {
  OutputQueue queue;
  queue.push({"", 0, 0});
  EXPECT_TRUE(queue.empty());
  EXPECT_FALSE(queue.wakeup(0));
}

}  // namespace
}  // namespace modemsim

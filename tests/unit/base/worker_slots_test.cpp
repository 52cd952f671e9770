#include "base/worker_slots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_worker_threads.h"
#include "support/journal.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

TEST(WorkerSlotsTest, OneWorkerOfEachKindAndAJoinFreesOnlyItsOwnSlot) {
  test::Journal journal;
  test::FakeWorkerThreads threads{journal};
  WorkerSlots slots{threads};
  int runs = 0;
  EXPECT_TRUE(slots.start(Worker::ussd_send, [&] { ++runs; }));
  EXPECT_FALSE(slots.start(Worker::ussd_send, [&] { ++runs; }));
  EXPECT_TRUE(slots.start(Worker::ussd_help, [] {}));
  threads.run(1);
  EXPECT_EQ(runs, 1);

  slots.join_worker(Worker::ussd_help);
  slots.join_worker(Worker::ussd_help);  // already free
  slots.join_worker(Worker::sms);        // never used
  EXPECT_TRUE(slots.is_free(Worker::ussd_help));
  EXPECT_FALSE(slots.is_free(Worker::ussd_send));
  slots.join_worker(Worker::ussd_send);
  EXPECT_TRUE(slots.start(Worker::ussd_send, [] {}));
  EXPECT_EQ(journal.take(), (Entries{"start thread 1", "start thread 2", "join thread 2",
                                     "join thread 1", "start thread 3"}));
}

}  // namespace
}  // namespace kivo

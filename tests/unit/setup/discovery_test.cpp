#include "setup/discovery.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "support/fake_link_control.h"
#include "support/fake_main_view.h"
#include "support/fake_serial_port.h"
#include "support/fake_sleeper.h"
#include "support/journal.h"
#include "support/modem_registry.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

const std::string kDetecting = "status Detecting mobile data device...";
const std::string kOpening = "status Opening communications port...";
const std::string kInitializing = "status Initializing mobile data device...";
const std::string kResetting = "status Resetting mobile data device...";
const std::string kReady = "status Ready";
const std::string kPortBusy =
    "box Unable to open COM port, mobile data device possibly in use by another application.";
const std::string kInitError = "box An error occured while initalizing the mobile data device.";
const std::string kNotResponding = "box Mobile data device not responding.";

// The thread with every seam faked; the initialization answers from `results`.
struct DiscoveryRig {
  test::Journal journal;
  test::FakeMainView view{journal};
  test::FakeLinkControl link{journal};
  test::FakeRegistry registry;
  test::FakeSerialPortOpener ports;
  test::RecordingSleeper sleeper;
  DeviceState device;
  char port_name[kMaxPortNameLength + 1] = {};
  bool port_given = false;
  std::deque<InitResult> results;

  DiscoveryRig() {
    sleeper.during_wait = [this] { journal.add("wait " + std::to_string(sleeper.waits.back())); };
    // Left over from an earlier run: each attempt must start without it.
    device.device_ready = true;
  }

  int run(std::deque<InitResult> init_results, unsigned wait_first_ms = 0) {
    results = std::move(init_results);
    const ModemDiscoveryContext discovery{
        link, view, registry, ports, sleeper, device, port_name, port_given, [this] {
          journal.add("init");
          EXPECT_FALSE(device.device_ready);
          if (results.empty()) return InitResult::Ready;
          const InitResult result = results.front();
          results.pop_front();
          return result;
        }};
    return discovery_thread(discovery, wait_first_ms);
  }
};

struct DiscoveryTest : ::testing::Test, DiscoveryRig {};

struct Reaction {
  const char* name;
  std::deque<InitResult> results;
  std::vector<int> opens;  // the results of open_modem_link, in order
  std::vector<BoxAnswer> answers;
  int exit;
  Entries journal;
};

const Reaction kReactions[] = {
    {"ready",
     {InitResult::Ready},
     {1},
     {},
     0,
     {kDetecting, kOpening, "open COM7", kInitializing, "init", kReady, "post 3"}},
    {"port busy, retry",
     {InitResult::Ready},
     {0, 1},
     {BoxAnswer::Retry},
     0,
     {kDetecting, kOpening, "open COM7", kPortBusy, "open COM7", kInitializing, "init", kReady,
      "post 3"}},
    {"port busy, cancel",
     {},
     {0},
     {BoxAnswer::Cancel},
     1,
     {kDetecting, kOpening, "open COM7", kPortBusy, "post 3", "post close"}},
    {"reset",
     {InitResult::ResetByDiag, InitResult::Ready},
     {1, 1},
     {},
     0,
     {kDetecting, kOpening, "open COM7", kInitializing, "init", kResetting, "close", "wait 15000",
      kDetecting, kOpening, "open COM7", kInitializing, "init", kReady, "post 3"}},
    {"init error, retry on the same link",
     {InitResult::InitError, InitResult::Ready},
     {1},
     {BoxAnswer::Retry},
     0,
     {kDetecting, kOpening, "open COM7", kInitializing, "init", kInitError, kDetecting, kOpening,
      kInitializing, "init", kReady, "post 3"}},
    {"init error, cancel",
     {InitResult::InitError},
     {1},
     {BoxAnswer::Cancel},
     1,
     {kDetecting, kOpening, "open COM7", kInitializing, "init", kInitError, "post 3",
      "post close"}},
    {"not responding, retry on a new link",
     {InitResult::NotResponding, InitResult::Ready},
     {1, 1},
     {BoxAnswer::Retry},
     0,
     {kDetecting, kOpening, "open COM7", kInitializing, "init", kNotResponding, "close", kDetecting,
      kOpening, "open COM7", kInitializing, "init", kReady, "post 3"}},
    {"not responding, cancel",
     {InitResult::NotResponding},
     {1},
     {BoxAnswer::Cancel},
     1,
     {kDetecting, kOpening, "open COM7", kInitializing, "init", kNotResponding, "post 3",
      "post close"}},
};

TEST(DiscoveryReactionTest, EachResultAndAnswerLeadsOnAsExpected) {
  for (const Reaction& reaction : kReactions) {
    SCOPED_TRACE(reaction.name);
    DiscoveryRig t;
    add_huawei_stick(t.registry, "0000", "COM7");
    t.link.open_results.assign(reaction.opens.begin(), reaction.opens.end());
    for (BoxAnswer answer : reaction.answers) t.view.boxes.queue_answer(answer);
    EXPECT_EQ(t.run(reaction.results), reaction.exit);
    EXPECT_EQ(t.journal.take(), reaction.journal);
    // Left as it was when no attempt ran.
    EXPECT_EQ(t.device.device_ready, reaction.exit == 0 || reaction.results.empty());
    EXPECT_EQ(t.device.command_set, CommandSet::Huawei);
    EXPECT_STREQ(t.port_name, "COM7");
    EXPECT_TRUE(t.registry.all_closed_once());
    for (const test::ShownBox& box : t.view.boxes.shown()) {
      EXPECT_EQ(box.caption, "KIVO");
      EXPECT_EQ(box.icon, BoxIcon::Warning);
      EXPECT_EQ(box.buttons, BoxButtons::RetryCancel);
    }
  }
}

TEST_F(DiscoveryTest, AGivenPortIsUsedWithoutReadingTheRegistry) {
  add_huawei_stick(registry, "0000", "COM7");
  std::strcpy(port_name, "COM5");
  port_given = true;
  device.command_set = CommandSet::Sierra;
  EXPECT_EQ(run({InitResult::NotResponding, InitResult::Ready}), 0);
  EXPECT_EQ(journal.take(),
            (Entries{kOpening, "open COM5", kInitializing, "init", kNotResponding, "close",
                     kOpening, "open COM5", kInitializing, "init", kReady, "post 3"}));
  EXPECT_EQ(registry.total_opens(), 0);
  EXPECT_TRUE(ports.probed_names().empty());
  EXPECT_EQ(device.command_set, CommandSet::Sierra);
}

TEST_F(DiscoveryTest, SearchesEvery100MsUntilAModemIsPluggedIn) {
  sleeper.during_wait = [this] {
    journal.add("wait " + std::to_string(sleeper.waits.back()));
    if (sleeper.waits.size() == 4) add_huawei_stick(registry, "0000", "COM7");
  };
  EXPECT_EQ(run({InitResult::Ready}, 15000), 0);
  EXPECT_EQ(journal.take(),
            (Entries{"wait 15000", kDetecting, "wait 100", "wait 100", "wait 100", kOpening,
                     "open COM7", kInitializing, "init", kReady, "post 3"}));
  EXPECT_EQ(ports.probed_names(), Entries{"COM7"});
  EXPECT_EQ(device.command_set, CommandSet::Huawei);
}

// The whole search is costly on a well-used machine: between two of them only the device map of
// active ports is read, unless it changes.
TEST_F(DiscoveryTest, WhileNoPortComesOrGoesOnlyTheDeviceMapIsRead) {
  test::add_active_port(registry, "\\Device\\Serial0", "COM1");
  test::add_port_entry(registry, "0009", "Communications Port", "ACPI\\PNP0501");
  sleeper.during_wait = [this] {
    if (sleeper.waits.size() == 320) test::add_active_port(registry, "\\Device\\Serial1", "COM2");
    if (sleeper.waits.size() == 330) add_huawei_stick(registry, "0000", "COM7");
  };
  EXPECT_EQ(run({InitResult::Ready}), 0);
  // Rounds 0 and 300, the new COM2 at 320 and the stick at 330 (twice: probe, then again);
  // each whole search reads the device map once more.
  EXPECT_EQ(registry.opens(test::kPortsClassKey), 5);
  EXPECT_EQ(registry.opens(test::kActivePortsKey), 331 + 5);
  EXPECT_STREQ(port_name, "COM7");
}

TEST_F(DiscoveryTest, TheSearchAfterTheProbeDecides) {
  add_huawei_stick(registry, "0000", "COM7");
  ports.during_probe = [this] {
    registry.remove_value(test::kHklm, test::kActivePortsKey, "\\Device\\HwPcUi0000");
    add_option_card(registry, "0001", "COM8");
  };
  EXPECT_EQ(run({InitResult::Ready}), 0);
  EXPECT_EQ(ports.probed_names(), Entries{"COM7"});
  EXPECT_STREQ(port_name, "COM8");
  EXPECT_EQ(device.command_set, CommandSet::Option);
  EXPECT_TRUE(registry.all_closed_once());
}

}  // namespace
}  // namespace kivo

#include "usage/connection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/fake_message_boxes.h"
#include "support/fake_process_starter.h"
#include "support/fake_registry.h"
#include "support/fake_worker_threads.h"
#include "usage/usage_fixture.h"
#include "usage/watchdog.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::uint32_t kLogoff = 0x80000000;
const Entries kHangUp{"at AT+CGACT=0,1\r\n", "at ATH\r\n"};

struct ConnectionTest : test::UsageTest {
  test::FakeWorkerThreads threads{journal};
  WorkerSlots slots{threads};
  test::FakeProcessStarter processes{journal};
  test::FakeMessageBoxes boxes;
  DialerContext dialer{processes, boxes, view};
  test::FakeRegistry registry;

  ConnectionTest() {
    context.settings.session_log = true;
    state.session = {65, 1000, 2000};
  }
};

TEST_F(ConnectionTest, ConnectStartsOneDialerWhileOfflineAndHangsUpWhileOnline) {
  on_connect_button(context, slots, dialer);
  on_connect_button(context, slots, dialer);  // the dialer is still open
  EXPECT_EQ(journal.take(), Entries{"start thread 1"});
  EXPECT_EQ(logged_events(), Entries{"CONNECTION ATTEMPTED"});

  threads.run(1);
  EXPECT_EQ(journal.take(), (Entries{"run rasphone.exe", "post 2"}));
  EXPECT_TRUE(boxes.shown().empty());
  slots.join_worker(Worker::connect);

  state.online = true;
  journal.take();
  on_connect_button(context, slots, dialer);
  EXPECT_EQ(journal.take(), kHangUp);  // the caption waits for the watchdog
  EXPECT_TRUE(state.online);
  EXPECT_EQ(logged_events().size(), 1u);
}

TEST_F(ConnectionTest, ADialerThatCannotStartIsReportedAndStillPostsItsNotice) {
  processes.can_start = false;
  dialer_thread(dialer);
  EXPECT_EQ(journal.take(), (Entries{"run rasphone.exe", "post 2"}));
  const auto shown = boxes.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Unable to execute rasphone.exe.");
  EXPECT_EQ(shown[0].caption, "KIVO");
  EXPECT_EQ(shown[0].icon, BoxIcon::Error);
}

TEST(ParseCgact, ReadsTheFirstActiveContextElseTheFirstLine) {
  const struct {
    const char* text;
    std::uint32_t cid, state;
  } rows[] = {
      {"+CGACT: 1,1\r\n+CGACT: 2,0\r\n\r\nOK\r\n", 1, 1},
      {"+CGACT: 3,0\r\nOK", 3, 0},
      {"+CGACT: ,\r\n1", 0, 0},  // numbers without digits read 0
      // A modem whose dial-up runs on context 4.
      {"+CGACT: 1,0\r\n+CGACT: 4,1\r\n\r\nOK", 4, 1},
      {"+CGACT: 1,0\r\n+CGACT: 2,0\r\n+CGACT: 4,1\r\n\r\nOK\r\n", 4, 1},
      {"+CGACT: 1,0\r\n+CGACT: 4,0\r\n\r\nOK\r\n", 1, 0},
      {"+CGACT: 1,2\r\n+CGACT: 4,2\r\n", 1, 2},
      {"+CGACT: 1,0\r\nOK\r\n+CGACT:4,1", 1, 0},  // the prefix wants its blank on every line
  };
  for (const auto& row : rows) {
    PdpContextStatus s;
    ASSERT_TRUE(parse_cgact(row.text, s)) << row.text;
    EXPECT_EQ(s.cid, row.cid) << row.text;
    EXPECT_EQ(s.state, row.state) << row.text;
  }
  PdpContextStatus s;
  s.state = 9;
  EXPECT_FALSE(parse_cgact("+CGACT:1,1", s));
  EXPECT_FALSE(parse_cgact("+cgact: 1,1", s));
  EXPECT_FALSE(parse_cgact("ERROR", s));
  EXPECT_EQ(s.state, 9u);
}

TEST_F(ConnectionTest, ADeactivatedContextEndsTheSessionAtTheFirstCheck) {
  state.online = true;
  modem.answer("AT+CGACT?", "+CGACT: 1,0\r\n\r\nOK\r\n");
  EXPECT_TRUE(connection_watchdog(context));
  const Entries entries = journal.take();
  EXPECT_EQ(entries.front(), "at AT+CGACT?\r\n");
  EXPECT_EQ(entries.back(), "text 1052 \"Connect\"");
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "timer 1201 2500"), 0);  // no more checks
  EXPECT_EQ(text(IDC_TOTALS_TOTAL), "2.929KB");
  EXPECT_EQ(text(IDC_SESSION_TOTAL), "0 bytes");
  EXPECT_FALSE(state.online);
  EXPECT_EQ(
      sink.lines(),
      (Entries{"KIVO: timeout waiting for ^DSFLOWRPT response, checking PDP context status...",
               "KIVO: PDP context status is deactivated, assuming connection lost",
               "KIVO: updating data counter totals and resetting current connection "
               "counters"}));
  EXPECT_EQ(session_log(), "\"2009/03/07\",\"14:05:09\",\"DISCONNECTED\",65,1000,2000,0,0,0\r\n");
  EXPECT_TRUE(files.exists(test::kUsagePath));
}

TEST_F(ConnectionTest, AnActiveContextRearmsTheCheckWithoutCountingAMiss) {
  state.online = true;
  state.watchdog_miss_count = 3;
  modem.answer("AT+CGACT?", "+CGACT: 1,1\r\nOK\r\n");
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(connection_watchdog(context));
    EXPECT_EQ(journal.take(), (Entries{"at AT+CGACT?\r\n", "timer 1201 2500"}));
    EXPECT_EQ(state.watchdog_miss_count, 0u);
  }
  EXPECT_TRUE(sink.contains("KIVO: PDP context status is activated, resetting connection timeout"));
  EXPECT_TRUE(state.online);
}

TEST_F(ConnectionTest, ASessionLivesWhileAnyListedContextIsActive) {
  const struct {
    const char* answer;
    bool lost;
  } rows[] = {
      {"+CGACT: 1,0\r\n+CGACT: 4,1\r\n\r\nOK\r\n", false},
      {"+CGACT: 1,1\r\n+CGACT: 4,0\r\n\r\nOK\r\n", false},
      {"+CGACT: 1,0\r\n+CGACT: 4,0\r\n\r\nOK\r\n", true},
  };
  for (const auto& row : rows) {
    state.online = true;
    state.watchdog_miss_count = 2;
    modem.clear_script();
    modem.answer("AT+CGACT?", row.answer);
    EXPECT_EQ(connection_watchdog(context), row.lost) << row.answer;
    EXPECT_EQ(state.online, !row.lost) << row.answer;
    EXPECT_EQ(state.watchdog_miss_count, 0u) << row.answer;
  }
}

TEST_F(ConnectionTest, FiveUnusableAnswersInARowEndTheSessionOnTheFifth) {
  state.online = true;
  modem.answer("AT+CGACT?", "ERROR\r\n");
  for (int i = 1; i <= 4; ++i) {
    EXPECT_FALSE(connection_watchdog(context)) << i;
    EXPECT_EQ(journal.take().back(), "timer 1201 2500");
  }
  // A report in between starts the count again.
  state.watchdog_miss_count = 0;
  for (int i = 1; i <= 4; ++i) EXPECT_FALSE(connection_watchdog(context)) << i;
  EXPECT_TRUE(sink.contains("KIVO: unexpected response to AT+CGACT?: ERROR\r\n"));
  EXPECT_TRUE(sink.contains("KIVO: resetting connection timeout"));

  // Silence counts the same: the fifth miss in a row ends it.
  modem.clear_script();
  journal.take();
  EXPECT_TRUE(connection_watchdog(context));
  EXPECT_EQ(journal.take().back(), "text 1052 \"Connect\"");
  EXPECT_TRUE(sink.contains("KIVO: no response received to PDP context status query"));
  EXPECT_EQ(logged_events(), Entries{"DISCONNECTED"});
  EXPECT_FALSE(state.online);
}

TEST_F(ConnectionTest, ClosingWhileOnlineAsksAndOnlyYesHangsUpAndSaves) {
  state.online = true;
  view.boxes.queue_answer(BoxAnswer::Cancel);
  EXPECT_FALSE(on_close_while_online(context));
  view.boxes.queue_answer(BoxAnswer::No);
  EXPECT_TRUE(on_close_while_online(context));
  EXPECT_EQ(commands(), Entries{});
  EXPECT_TRUE(state.online);
  EXPECT_EQ(state.totals.total_tx_bytes, 0);

  view.boxes.queue_answer(BoxAnswer::Yes);
  EXPECT_TRUE(on_close_while_online(context));
  EXPECT_EQ(commands(), kHangUp);
  EXPECT_FALSE(state.online);
  EXPECT_EQ(state.totals.total_tx_bytes, 1000);
  EXPECT_EQ(logged_events(), Entries{"DISCONNECT & EXIT"});
  const auto shown = view.boxes.shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text,
            "You are currently online.  Proceding will exit KIVO.\n"
            "Do you wish to disconnect and save the data counters?");
  EXPECT_EQ(shown[0].icon, BoxIcon::Question);
  EXPECT_EQ(shown[0].buttons, BoxButtons::YesNoCancel);
  EXPECT_EQ(shown[0].default_button, 3);
  EXPECT_EQ(shown[0].owner, BoxOwner::MainWindow);
}

TEST_F(ConnectionTest, TheEndOfTheWindowsSessionDropsTheConnectionUnlessItIsKept) {
  registry.set(RegistryRoot::LocalMachine, kWinlogon, "KeepRasConnections", "1");
  on_end_session(context, registry, false, 0);
  on_end_session(context, registry, true, kLogoff);
  EXPECT_TRUE(journal.take().empty());
  EXPECT_EQ(state.session.tx_bytes, 1000);

  // Shutting down drops it even so, and offline as well.
  on_end_session(context, registry, true, 0);
  const Entries entries = journal.take();
  EXPECT_EQ(Entries(entries.begin(), entries.begin() + 2), kHangUp);
  EXPECT_EQ(entries.back(), "post close");
  EXPECT_EQ(state.totals.total_tx_bytes, 1000);
  EXPECT_FALSE(state.online);
  EXPECT_EQ(logged_events(), Entries{"DISCONNECT & EXIT (WM_ENDSESSION)"});

  // A log-off drops it unless the value is the text "1".
  for (const std::string& value :
       {std::string("0"), std::string("\x01\0\0\0", 4), std::string("11")}) {
    registry.set(RegistryRoot::LocalMachine, kWinlogon, "KeepRasConnections", value);
    EXPECT_FALSE(keep_ras_connections(registry));
    state.online = true;
    on_end_session(context, registry, true, kLogoff);
    EXPECT_FALSE(state.online);
  }
  test::FakeRegistry empty;
  EXPECT_FALSE(keep_ras_connections(empty));
}

}  // namespace
}  // namespace kivo

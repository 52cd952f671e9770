#include "app/main_window_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_file_system.h"
#include "support/fake_link_control.h"
#include "support/fake_main_view.h"
#include "support/fake_message_boxes.h"
#include "support/fake_pin_prompt.h"
#include "support/fake_process_starter.h"
#include "support/fake_registry.h"
#include "support/fake_serial_port.h"
#include "support/fake_worker_threads.h"
#include "support/journal.h"
#include "support/recording_trace.h"
#include "usage/calendar_date.h"
#include "usage/usage_totals.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

class JournalSleeper : public Sleeper {
 public:
  explicit JournalSleeper(test::Journal& journal) : journal_(journal) {}
  void sleep_ms(unsigned milliseconds) override {
    journal_.add("sleep " + std::to_string(milliseconds));
  }

 private:
  test::Journal& journal_;
};

Notice notice(NoticeId id) {
  Notice n;
  n.id = id;
  return n;
}

Notice boot(std::uint32_t first) {
  Notice n = notice(NoticeId::Boot);
  BootReport report;
  report.values[0] = first;
  n.report = report;
  return n;
}

// What discovery does with a standard modem between opening the port and "Ready" (the sequence
// itself: the setup tests).
const Entries kInitialization{"status Initializing mobile data device...",
                              "data 1B 0D 0A",
                              "at AT\r\n",
                              "at AT&F0\r\n",
                              "at ATE0\r\n",
                              "at AT+CMEE=1\r\n",
                              "at AT+CFUN?\r\n",
                              "at AT+CPIN?\r\n",
                              "at AT+CMGF=0\r\n",
                              "at AT+CNMI=1,1,2,1,0\r\n",
                              "at AT+CSCB=1\r\n",
                              "at AT+CSCB=0,\"0-65535\",\"\"\r\n",
                              "at AT+CREG=0\r\n",
                              "at AT+CGREG=2\r\n",
                              "at AT+CUSD=1\r\n",
                              "text 1012 \"Unknown\"",
                              "at AT+CGDCONT?\r\n",
                              "enable 1034 0",
                              "at AT+CSQ\r\n",
                              "at AT+COPS=3,2\r\n",
                              "at AT+COPS?\r\n",
                              "at AT+CGREG?\r\n"};

Entries opened_then(Entries before, const Entries& after) {
  before.insert(before.end(), kInitialization.begin(), kInitialization.end());
  before.insert(before.end(), after.begin(), after.end());
  return before;
}

struct MainWindowTest : ::testing::Test {
  test::Journal journal;
  test::FakeMainView view{journal};
  test::FakeWorkerThreads workers{journal};
  test::FakeLinkControl link{journal};
  JournalSleeper sleeper{journal};
  test::FakeRegistry registry;
  test::FakeClock clock;
  test::FakeProcessStarter processes{journal};
  test::FakeMessageBoxes boxes;
  test::FakeSerialPortOpener ports;
  test::FakePinPrompt pin_prompt{journal};
  test::FakeFileSystem files;
  test::RecordingTraceSink sink;
  Trace trace{sink};
  AppState state;
  // A modem whose radio is on, whose SIM is ready and which is not network locked; it answers
  // "OK" to the rest.
  MainWindowTest() {
    answer("AT+CFUN?", "+CFUN: 1");
    answer("AT+CPIN?", "+CPIN: READY");
    answer("AT^CPIN?", "^CPIN: READY,,10,3,10,3");
    answer("AT^HS=0,0", "^HS:24117505,0,0,0,0");
    answer("AT^CARDLOCK?", "^CARDLOCK: 2,10,0");
    answer("AT^SYSINFO", "^SYSINFO:2,3,0,5,1,,4");
  }
  void answer(const std::string& command, const std::string& line) {
    link.answers[command + "\r\n"] = line + "\r\n\r\nOK\r\n";
  }

  MainWindowController controller{{state, view, workers, link, registry, files, trace, clock,
                                   processes, boxes, ports, pin_prompt, sleeper}};

  // Creation with /PORT:COM7, its discovery run and joined: the link open and ready.
  void start_ready(CommandSet command_set = CommandSet::Standard) {
    state.device.command_set = command_set;
    set_port_name(state.options, "COM7");
    state.options.port_given = true;
    controller.on_init_dialog();
    workers.run(workers.last());
    controller.on_notice(notice(NoticeId::DiscoveryDone));
    journal.take();
  }
};

TEST_F(MainWindowTest, CreationSetsUpTheControlsThenStartsDiscoveryWithoutPolling) {
  state.device.device_ready = true;
  registry.set(RegistryRoot::LocalMachine,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               "Common AppData", "C:\\ProgramData");
  controller.on_init_dialog();
  // The counter fields between are the usage's own (CreationStartsOfflineWithTheStoredCounters).
  Entries entries = journal.take();
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [](const std::string& e) { return e.rfind("text ", 0) == 0; }),
                entries.end());
  EXPECT_EQ(entries, (Entries{"icons", "bar range 1011 0 31", "bar position 1011 0",
                              "bar background 1011 FFFFFF", "limit 1032 80", "status bar",
                              "enable 1051 0", "enable 1050 0", "bar position 1096 0", "post 19",
                              "timer 1204 60000", "start thread 1"}));
  EXPECT_FALSE(state.device.device_ready);
  EXPECT_STREQ(state.usage.data_paths.usage_file_path, "C:\\ProgramData\\KIVO\\usage.bin");
}

TEST_F(MainWindowTest, DiscoveryWithAGivenPortOpensItAndThePollStartsWhenItIsJoined) {
  set_port_name(state.options, "COM7");
  state.options.port_given = true;
  controller.on_init_dialog();
  journal.take();
  workers.run(1);
  EXPECT_EQ(journal.take(), opened_then({"status Opening communications port...", "open COM7"},
                                        {"status Ready", "post 3"}));
  EXPECT_TRUE(state.device.device_ready);
  controller.on_notice(notice(NoticeId::DiscoveryDone));
  EXPECT_EQ(journal.take(), (Entries{"join thread 1", "timer 1203 2000", "default 1052"}));
  // A second notice finds the slot empty.
  controller.on_notice(notice(NoticeId::DiscoveryDone));
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(MainWindowTest, APortThatWillNotOpenOffersRetryAndCancelClosesTheWindow) {
  link.open_result = 0;
  view.boxes.queue_answer(BoxAnswer::Retry);
  view.boxes.queue_answer(BoxAnswer::Cancel);
  set_port_name(state.options, "COM7");
  state.options.port_given = true;
  controller.on_init_dialog();
  journal.take();
  workers.run(1);
  const std::string busy =
      "box Unable to open COM port, mobile data device possibly in use by another application.";
  EXPECT_EQ(journal.take(), (Entries{"status Opening communications port...", "open COM7", busy,
                                     "open COM7", busy, "post 3", "post close"}));
  EXPECT_FALSE(state.device.device_ready);
}

TEST_F(MainWindowTest, WhileDiscoveryRunsResetDetectAndBootDoNothing) {
  controller.on_init_dialog();  // no modem plugged in: the search goes on, the slot stays taken
  journal.take();
  controller.on_command(IDC_RESET_MODEM, 0);
  controller.on_command(IDC_DETECT_MODEM, 0);
  controller.on_notice(boot(1));
  // A worker's notice joins its own slot, never the discovery thread.
  for (NoticeId id :
       {NoticeId::SmsWorkerDone, NoticeId::SignalLogWorkerDone, NoticeId::DialerWorkerDone,
        NoticeId::ApnWorkerDone, NoticeId::UssdSendWorkerDone, NoticeId::UssdHelpWorkerDone})
    controller.on_notice(notice(id));
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(MainWindowTest, OnlyClicksOnTheWindowsOwnButtonsAndKnownTimersAct) {
  start_ready();
  for (int control : {1 /* OK */, 2 /* Cancel */, IDC_BROADCAST_TEXT, IDC_USSD_REPLY})
    controller.on_command(control, 0);
  controller.on_command(IDC_DETECT_MODEM, 1);
  controller.on_command(IDC_BROADCAST_CLEAR, 0x400);
  controller.on_command(IDC_NETWORK_MODE_LIST, 0);
  controller.on_timer(4242);
  controller.on_notice(boot(0));
  controller.on_notice(notice(NoticeId::Boot));  // no report with it
  EXPECT_TRUE(journal.take().empty());

  controller.on_timer(TIMER_POLL);
  EXPECT_EQ(journal.take().back(), "timer 1203 2000");  // after the poll's commands
  controller.on_command(IDC_BROADCAST_CLEAR, 0);
  controller.on_command(IDC_BROADCAST_COPY, 0);
  EXPECT_EQ(journal.take(),
            (Entries{"text 1021 \"\"", "enable 1023 0", "enable 1022 0", "copy 1021"}));
}

TEST_F(MainWindowTest, TheLoggingButtonRunsOneWorkerAndBroadcastPagesReachTheBox) {
  start_ready();
  journal.take();
  controller.on_command(IDC_SIGNAL_LOG, 0);
  const auto worker = workers.last();
  controller.on_command(IDC_SIGNAL_LOG, 0);  // ignored while the worker runs
  EXPECT_EQ(journal.take(), Entries{"start thread " + std::to_string(worker)});
  workers.run(worker);  // the user cancels the dialog
  controller.on_notice(notice(NoticeId::SignalLogWorkerDone));
  EXPECT_EQ(journal.take().back(), "join thread " + std::to_string(worker));

  Notice page = notice(NoticeId::CellBroadcast);
  page.report = CellBroadcastPage{};
  controller.on_notice(page);
  controller.on_command(IDC_BROADCAST_CLEAR, 0);
  controller.on_notice(page);
  const Entries shown = journal.take();
  ASSERT_EQ(shown.size(), 9u);
  // The box is empty again after Clear: no blank line before the next page.
  EXPECT_EQ(shown[0].substr(0, 12), "append 1021 ");
  EXPECT_EQ(shown[6].substr(0, 14), shown[0].substr(0, 14));
}

TEST_F(MainWindowTest, TypingMakesTheInputsButtonTheDefaultAndClearingGivesItBackToConnect) {
  for (auto [input, button] :
       {std::pair{IDC_USSD_INPUT, IDC_USSD_SEND}, std::pair{IDC_APN_INPUT, IDC_APN_SET}}) {
    const std::string b = std::to_string(button);
    view.texts[input] = "*100#";
    controller.on_command(input, 0x400);
    EXPECT_EQ(journal.take(), (Entries{"enable " + b + " 1", "default " + b}));
    view.texts[input] = "";
    controller.on_command(input, 0x400);
    EXPECT_EQ(journal.take(), (Entries{"enable " + b + " 0", "default 1052"}));
  }
  controller.on_command(IDC_NETWORK_MODE_LIST, 9);
  EXPECT_EQ(journal.take(), (Entries{"enable 1050 1", "default 1050"}));
}

TEST_F(MainWindowTest, SmsNoticesShowOwnedBoxes) {
  controller.on_notice(notice(NoticeId::SmsReceived));
  controller.on_notice(notice(NoticeId::SmsSent));
  controller.on_notice(notice(NoticeId::SmsFailed));
  const auto shown = view.boxes.shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "SMS message received.");
  EXPECT_EQ(shown[1].text, "SMS message sent successfully.");
  EXPECT_EQ(shown[2].text, "SMS message sending failed.");
  for (const auto& box : shown) {
    EXPECT_EQ(box.owner, BoxOwner::MainWindow);
    EXPECT_EQ(box.caption, "KIVO");
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
  }
  EXPECT_EQ(shown[1].icon, BoxIcon::Information);
  EXPECT_EQ(shown[2].icon, BoxIcon::Error);
}

TEST_F(MainWindowTest, ClosingSaysGoodbyeOnlyToAReadyModem) {
  start_ready(CommandSet::Novatel);
  controller.on_close();
  EXPECT_EQ(journal.take(),
            (Entries{"kill 1203", "at AT$NWPDN=0\r\n", "at ATE1\r\n", "close", "end 1"}));
  EXPECT_FALSE(state.device.device_ready);

  link.open = true;  // open, but its initialization never succeeded
  controller.on_close();
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "close", "end 1"}));
  EXPECT_EQ(controller.close_modem_link(true), 1);  // nothing open
  EXPECT_EQ(journal.take(), Entries{"kill 1203"});
}

TEST_F(MainWindowTest, ClosingAStandardModemSendsOnlyTheEcho) {
  start_ready();
  controller.on_close();
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "at ATE1\r\n", "close", "end 1"}));
}

TEST_F(MainWindowTest, BootReportRedetectsWithoutFarewell) {
  start_ready();
  controller.on_notice(boot(1));
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "kill 1203", "close", "start thread 2"}));
  EXPECT_FALSE(state.device.device_ready);
  workers.run(2);
  EXPECT_EQ(journal.take().front(), "status Opening communications port...");  // no wait
}

TEST_F(MainWindowTest, ResetRestartsTheModemAndWaitsForItOnTheDiscoveryThread) {
  start_ready();
  controller.on_command(IDC_RESET_MODEM, 0);
  EXPECT_EQ(journal.take(),
            (Entries{"kill 1203", "status Resetting mobile data device...", "at AT+CFUN=4\r\n",
                     "at AT+CFUN=6\r\n", "kill 1203", "close", "start thread 2"}));
  controller.on_command(IDC_RESET_MODEM, 0);  // still waiting for the modem
  EXPECT_TRUE(journal.take().empty());
  workers.run(2);
  EXPECT_EQ(journal.take(),
            opened_then({"sleep 15000", "status Opening communications port...", "open COM7"},
                        {"status Ready", "post 3"}));
}

TEST_F(MainWindowTest, NovatelIsResetThroughTheDiagnosticChannel) {
  start_ready(CommandSet::Novatel);
  controller.reset_modem();
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "status Resetting mobile data device...",
                                     "exchange 29 01 00 31 40 7E", "exchange 29 02 00 59 6A 7E",
                                     "kill 1203", "close", "start thread 2"}));
}

TEST_F(MainWindowTest, EachPollTickAsksForWhatTheCommandSetDoesNotReport) {
  const Entries signal_and_operator{"at AT+CSQ\r\n", "at AT+COPS=3,2\r\n", "at AT+COPS?\r\n"};
  const auto then = [](Entries first, Entries more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
  };
  const Entries registration{"at AT+CGREG?\r\n"};
  const Entries rearm{"timer 1203 2000"};
  const struct {
    CommandSet command_set;
    Entries sent;
  } cases[] = {
      {CommandSet::Huawei, then(registration, rearm)},
      {CommandSet::Option, then({"at AT_OCTI?\r\n", "at AT_OWCTI?\r\n", "text 1012 \"Unknown\""},
                                then(registration, rearm))},
      {CommandSet::Standard, then(signal_and_operator, then(registration, rearm))},
      {CommandSet::Nokia, then(signal_and_operator, rearm)},
      {CommandSet::Novatel,
       then(signal_and_operator, then({"at AT$NWRAT?\r\n"}, then(registration, rearm)))},
      {CommandSet::Sierra,
       then(signal_and_operator,
            then({"at AT*CNTI=0\r\n", "text 1012 \"Unknown\""}, then(registration, rearm)))},
  };
  state.network.location_reports_enabled = true;
  for (const auto& c : cases) {
    state.device.command_set = c.command_set;
    controller.on_timer(TIMER_POLL);
    EXPECT_EQ(journal.take(), c.sent) << static_cast<int>(c.command_set);
  }
}

TEST_F(MainWindowTest, TheRegistrationIsPolledOnlyWithLocationReportsAndCellPolling) {
  start_ready(CommandSet::Huawei);
  state.network.location_reports_enabled = false;
  controller.poll_tick();
  EXPECT_TRUE(journal.take().empty());
  state.network.location_reports_enabled = true;
  state.options.no_poll_cell_id = true;
  controller.poll_tick();
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(MainWindowTest, SignalModeAndRegistrationNoticesAreShownForEveryCommandSet) {
  start_ready(CommandSet::Nokia);
  Notice signal = notice(NoticeId::Signal);
  signal.value = 17;
  controller.on_notice(signal);
  Notice mode = notice(NoticeId::Mode);
  mode.report = ModeReport{5, 7};
  controller.on_notice(mode);
  Notice registration = notice(NoticeId::Registration);
  registration.report = RegistrationReport{2, 0, 0};
  controller.on_notice(registration);
  registration.report = RegistrationReport{1, 0xA1, 0x01B2C3D4};
  controller.on_notice(registration);
  EXPECT_EQ(view.text(IDC_SIGNAL_VALUE), "-79dBm");
  EXPECT_EQ(state.network.snapshot.rat_text.get(), "HSD+UPA");
  EXPECT_EQ(view.text(IDC_TECHNOLOGY), "");  // emptied by the search, the text kept
  EXPECT_EQ(view.text(IDC_CELL_ID), "50132");
  EXPECT_EQ(state.network.snapshot.reg_status, 1);

  // Notices without their report change nothing.
  journal.take();
  controller.on_notice(notice(NoticeId::Mode));
  controller.on_notice(notice(NoticeId::Registration));
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(MainWindowTest, ApplyWritesTheNetworkModeOfTheCommandSet) {
  start_ready(CommandSet::Option);
  view.lists[IDC_NETWORK_MODE_LIST] = test::FakeList{{0, 1, 2, 3}, 1};
  controller.on_command(IDC_NETWORK_MODE_APPLY, 0);
  EXPECT_EQ(journal.take(), (Entries{"at AT_OPSYS=3,2\r\n", "enable 1050 0", "default 1052"}));
  for (CommandSet without : {CommandSet::Standard, CommandSet::Nokia}) {
    state.device.command_set = without;
    controller.on_command(IDC_NETWORK_MODE_APPLY, 0);
    EXPECT_TRUE(journal.take().empty());
  }
}

TEST_F(MainWindowTest, EachWindowStartsWithoutReadings) {
  state.network.snapshot.rssi = 17;
  state.network.snapshot.operator_code = 65501;
  state.network.snapshot.reg_status = 5;
  state.network.snapshot.lac = 0xA1;
  state.network.snapshot.cell_id = 0x01B2C3D4;
  state.network.snapshot.rat_text.set("HSDPA");
  controller.on_init_dialog();
  EXPECT_EQ(state.network.snapshot.rssi, 99);
  EXPECT_EQ(state.network.snapshot.operator_code, 0u);
  EXPECT_EQ(state.network.snapshot.reg_status, 0);
  EXPECT_EQ(state.network.snapshot.lac, 0u);
  EXPECT_EQ(state.network.snapshot.cell_id, 0u);
  EXPECT_EQ(state.network.snapshot.rat_text.get(), "");
}

constexpr char kShellFolders[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kUsageFile[] = "C:\\ProgramData\\KIVO\\usage.bin";
constexpr char kSessionLog[] = "C:\\ProgramData\\KIVO\\sessionlog.csv";

Notice flow_report(std::uint32_t duration, std::int64_t tx_bytes) {
  Notice n = notice(NoticeId::FlowReport);
  FlowReport report;
  report.duration = duration;
  report.tx_bytes = tx_bytes;
  n.report = report;
  return n;
}

TEST_F(MainWindowTest, CreationStartsOfflineWithTheStoredCountersAndLogsTheStart) {
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", "C:\\ProgramData");
  UsageTotals stored;
  stored.total_tx_bytes = 5000;
  std::uint8_t bytes[kUsageFileSize];
  encode_usage(stored, bytes);
  files.files[kUsageFile].assign(reinterpret_cast<const char*>(bytes), sizeof bytes);
  clock.set(2009, 3, 7, 14, 5, 9);
  state.options.session_log = true;
  state.usage.online = true;
  state.usage.watchdog_miss_count = 4;
  state.usage.session.tx_bytes = 77;

  controller.on_init_dialog();
  EXPECT_FALSE(state.usage.online);
  EXPECT_EQ(state.usage.watchdog_miss_count, 0u);
  EXPECT_EQ(state.usage.session.tx_bytes, 0);
  EXPECT_EQ(view.text(IDC_TOTALS_SENT), "4.882KB");
  EXPECT_EQ(view.text(IDC_RATE_UP_MAX_AVERAGE), "0.000");
  EXPECT_EQ(files.files[kSessionLog],
            "\"2009/03/07\",\"14:05:09\",\"APPLICATION STARTED\",0,0,0,0,5000,0\r\n");
}

TEST_F(MainWindowTest, ThePlanButtonReportsAndTheMinuteTimerKeepThePlanAndItsHistory) {
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", "C:\\ProgramData");
  clock.set(2026, 12, 7, 10, 0, 0);
  controller.on_init_dialog();
  view.plan_typed = PlanEntry{"1", "1", "80"};
  controller.on_command(IDC_DATA_PLAN, 0);
  EXPECT_EQ(files.files["C:\\ProgramData\\KIVO\\plan.ini"],
            "allowance_mb=1\r\nbilling_day=1\r\nwarn_percent=80\r\n");
  controller.on_notice(flow_report(10, 2000));
  EXPECT_EQ(view.text(IDC_PLAN_USAGE), "1.953KB of 1024KB (0%)");
  const std::string history = "C:\\ProgramData\\KIVO\\usage-history.csv";
  EXPECT_FALSE(files.exists(history));
  controller.on_timer(TIMER_HISTORY);
  EXPECT_EQ(files.files[history], "date,sent,received\r\n2026-12-07,2000,0\r\n");
}

TEST_F(MainWindowTest, FlowReportsArmTheOneShotWatchdogThatChecksTheContext) {
  start_ready(CommandSet::Huawei);
  controller.on_notice(flow_report(10, 2000));
  EXPECT_EQ(view.text(IDC_CONNECT), "Disconnect");
  EXPECT_EQ(view.text(IDC_SESSION_SENT), "1.953KB");
  journal.take();
  controller.on_timer(TIMER_WATCHDOG);
  // The fake modem answers "OK": no status, so a miss and another check.
  EXPECT_EQ(journal.take(), (Entries{"kill 1201", "at AT+CGACT?\r\n", "timer 1201 2500"}));
  EXPECT_EQ(state.usage.watchdog_miss_count, 1u);

  // Online, connect hangs up; the counter buttons act on the session and the rates.
  controller.on_command(IDC_CONNECT, 0);
  EXPECT_EQ(journal.take(), (Entries{"at AT+CGACT=0,1\r\n", "at ATH\r\n"}));
  controller.on_command(IDC_RESET_MAX_RATES, 0);
  controller.on_command(IDC_RESET_MAX_AVERAGE_RATES, 0);
  EXPECT_EQ(journal.take().size(), 4u);
  controller.on_command(IDC_RESET_SESSION, 0);
  EXPECT_EQ(journal.take().back(), "at AT^DSFLOWCLR\r\n");
  EXPECT_EQ(state.usage.totals.total_tx_bytes, 2000);
  EXPECT_TRUE(files.exists("usage.bin"));
}

TEST_F(MainWindowTest, TotalsAreResetOnlyAfterTheUserSaysYes) {
  start_ready();
  state.usage.totals.total_tx_bytes = 5000;
  view.boxes.queue_answer(BoxAnswer::No);
  controller.on_command(IDC_RESET_TOTALS, 0);
  EXPECT_EQ(state.usage.totals.total_tx_bytes, 5000);
  view.boxes.queue_answer(BoxAnswer::Yes);
  controller.on_command(IDC_RESET_TOTALS, 0);
  EXPECT_EQ(state.usage.totals.total_tx_bytes, 0);
  EXPECT_EQ(state.usage.totals.previous_tx_bytes, 5000);
  const auto shown = view.boxes.shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Are you sure you want to reset the totals?");
  EXPECT_EQ(shown[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(shown[0].icon, BoxIcon::Question);
}

TEST_F(MainWindowTest, ConnectRunsTheDialerInItsSlotUntilItsNoticeJoinsIt) {
  start_ready();
  controller.on_command(IDC_CONNECT, 0);
  controller.on_command(IDC_CONNECT, 0);
  EXPECT_EQ(journal.take(), Entries{"start thread 2"});
  workers.run(2);
  controller.on_notice(notice(NoticeId::DialerWorkerDone));
  EXPECT_EQ(journal.take(), (Entries{"run rasphone.exe", "post 2", "join thread 2"}));
  controller.on_command(IDC_CONNECT, 0);
  EXPECT_EQ(journal.take(), Entries{"start thread 3"});
}

TEST_F(MainWindowTest, ClosingWhileOnlineAsksFirstAndCancelKeepsTheWindow) {
  start_ready();
  controller.on_notice(flow_report(10, 2000));
  journal.take();
  view.boxes.queue_answer(BoxAnswer::Cancel);
  controller.on_close();
  EXPECT_EQ(journal.take().size(), 1u);  // the question alone
  view.boxes.queue_answer(BoxAnswer::Yes);
  controller.on_close();
  const Entries entries = journal.take();
  EXPECT_EQ(Entries(entries.begin() + 1, entries.begin() + 3),
            (Entries{"at AT+CGACT=0,1\r\n", "at ATH\r\n"}));
  EXPECT_EQ(Entries(entries.end() - 4, entries.end()),
            (Entries{"kill 1203", "at ATE1\r\n", "close", "end 1"}));
  EXPECT_EQ(state.usage.totals.total_tx_bytes, 2000);
  EXPECT_FALSE(state.usage.online);
}

TEST_F(MainWindowTest, TheEndOfTheWindowsSessionSavesAndClosesWithoutAsking) {
  start_ready();
  controller.on_notice(flow_report(10, 2000));
  controller.on_end_session(true, 0);
  EXPECT_EQ(journal.take().back(), "post close");
  EXPECT_FALSE(state.usage.online);
  EXPECT_EQ(state.usage.totals.total_tx_bytes, 2000);
  controller.on_close();
  EXPECT_TRUE(view.boxes.shown().empty());
}

// The window waits between tries at a held store, and no way of ending saves over it.
TEST_F(MainWindowTest, AStoreHeldAtCreationIsKeptThroughTheSessionsEnd) {
  files.files["usage.bin"] = "held by a backup";
  files.unreadable.insert("usage.bin");
  controller.on_init_dialog();
  const Entries entries = journal.take();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "sleep 100"), 4);
  ASSERT_EQ(view.boxes.shown().size(), 1u);
  EXPECT_EQ(view.boxes.shown()[0].icon, BoxIcon::Warning);
  files.unreadable.clear();
  controller.on_notice(flow_report(10, 2000));
  controller.on_end_session(true, 0);
  controller.on_close();
  EXPECT_EQ(files.files["usage.bin"], "held by a backup");
  EXPECT_EQ(view.boxes.shown().size(), 1u);
}

TEST_F(MainWindowTest, ResettingTheModemWhileOnlineHangsUpFirst) {
  start_ready();
  controller.on_notice(flow_report(10, 0));
  journal.take();
  controller.on_command(IDC_RESET_MODEM, 0);
  const Entries entries = journal.take();
  EXPECT_EQ(Entries(entries.begin(), entries.begin() + 3),
            (Entries{"kill 1203", "at AT+CGACT=0,1\r\n", "at ATH\r\n"}));
}

TEST_F(MainWindowTest, DeviceInformationDoesNothingUntilTheModemIsReady) {
  controller.on_init_dialog();
  journal.take();
  controller.on_command(IDC_DEVICE_INFO, 0);  // no modem found yet
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(MainWindowTest, DeviceInformationAsksTheModemWithThePollStopped) {
  start_ready();
  link.answers["AT+CGMI\r\n"] = "Modemsim\r\n\r\nOK\r\n";
  controller.on_command(IDC_DEVICE_INFO, 0);
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "device info", "field 1017 \"COM7\"",
                                     "field 1033 \"Not Available\"", "at AT+CGMI\r\n",
                                     "field 1021 \"Modemsim\"", "at AT+CGMR\r\n", "at AT+CIMI\r\n",
                                     "at AT+CGMM\r\n", "at AT+CRSM=176,12258,0,0,10\r\n",
                                     "at AT+CGSN\r\n", "device info closed", "timer 1203 2000"}));
}

// The dialog's loop still delivers reports: a restart found meanwhile leaves the poll to the
// new discovery.
TEST_F(MainWindowTest, ARestartWhileDeviceInformationIsOpenLeavesThePollStopped) {
  start_ready();
  view.while_device_info_open = [this] { controller.on_notice(boot(1)); };
  controller.on_command(IDC_DEVICE_INFO, 0);
  EXPECT_EQ(journal.take().back(), "device info closed");
}

// The history beside usage.bin, read whole: the newest rows lie past the first 64 KB.
TEST_F(MainWindowTest, HistoryButtonChartsTheCountedDaysOfBothPeriodsWithThePlansPace) {
  registry.set(RegistryRoot::LocalMachine, kShellFolders, "Common AppData", "C:\\ProgramData");
  clock.set(2026, 12, 7, 10, 0, 0);
  std::string csv = "date,sent,received\r\n";
  char row[64];
  for (CalendarDate day{2010, 1, 1}; day < CalendarDate{2026, 12, 7}; day = add_days(day, 1)) {
    std::snprintf(row, sizeof row, "%04d-%02d-%02d,1000,2000\r\n", day.year, day.month, day.day);
    csv += row;
  }
  csv += "2026-12-07,5,6\r\n";
  files.files["C:\\ProgramData\\KIVO\\usage-history.csv"] = csv;
  controller.on_init_dialog();
  journal.take();

  controller.on_command(IDC_HISTORY, 0);
  EXPECT_EQ(journal.take(), Entries{"history dialog"});
  ASSERT_EQ(view.history_charts.size(), 1u);
  const HistoryChart& months = view.history_charts[0];
  ASSERT_EQ(months.bars.size(), 61u);  // no plan: November and December
  EXPECT_EQ(months.bars[0].sent, 1000u);
  EXPECT_EQ(months.bars[36].sent, 5u);
  EXPECT_EQ(months.bars[36].received, 6u);
  EXPECT_EQ(months.bars[37].sent, 0u);
  EXPECT_EQ(months.pace_per_day, 0u);

  files.files["C:\\ProgramData\\KIVO\\plan.ini"] =
      "allowance_mb=3100\r\nbilling_day=15\r\nwarn_percent=80\r\n";
  controller.on_init_dialog();
  controller.on_command(IDC_HISTORY, 0);
  ASSERT_EQ(view.history_charts.size(), 2u);
  const HistoryChart& periods = view.history_charts[1];
  ASSERT_EQ(periods.bars.size(), 61u);                      // October 15th to December 14th
  EXPECT_EQ(periods.pace_per_day, 3100u * 1048576u / 30u);  // over November 15th to December 14th
}

}  // namespace
}  // namespace kivo

#include "app/main_window_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "support/fake_link_control.h"
#include "support/fake_main_view.h"
#include "support/fake_registry.h"
#include "support/fake_worker_threads.h"
#include "support/journal.h"
#include "support/recording_trace.h"

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

class NoFileSystem : public FileSystem {
 public:
  bool create_directory(const char*) override { return true; }
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

struct MainWindowTest : ::testing::Test {
  test::Journal journal;
  test::FakeMainView view{journal};
  test::FakeWorkerThreads workers{journal};
  test::FakeLinkControl link{journal};
  JournalSleeper sleeper{journal};
  test::FakeRegistry registry;
  NoFileSystem files;
  test::RecordingTraceSink sink;
  Trace trace{sink};
  AppState state;
  MainWindowController controller{{state, view, workers, link, registry, files, trace, sleeper}};

  // Creation with /PORT:COM7, its discovery run and joined: the link open and ready.
  void start_ready(CommandSet command_set = CommandSet::Standard) {
    state.command_set = command_set;
    set_port_name(state.options, "COM7");
    state.options.port_given = true;
    controller.on_init_dialog();
    workers.run(workers.last());
    controller.on_notice(notice(NoticeId::DiscoveryDone));
    journal.take();
  }
};

TEST_F(MainWindowTest, CreationSetsUpTheControlsThenStartsDiscoveryWithoutPolling) {
  state.device_ready = true;
  registry.set(RegistryRoot::LocalMachine,
               "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               "Common AppData", "C:\\ProgramData");
  controller.on_init_dialog();
  EXPECT_EQ(journal.take(), (Entries{"icons", "bar range 1011 0 31", "bar position 1011 0",
                                     "bar background 1011 FFFFFF", "limit 1032 80", "status bar",
                                     "enable 1051 0", "enable 1050 0", "start thread 1"}));
  EXPECT_FALSE(state.device_ready);
  EXPECT_STREQ(state.data_paths.usage_file_path, "C:\\ProgramData\\KIVO\\usage.bin");
}

TEST_F(MainWindowTest, DiscoveryWithAGivenPortOpensItAndThePollStartsWhenItIsJoined) {
  set_port_name(state.options, "COM7");
  state.options.port_given = true;
  controller.on_init_dialog();
  journal.take();
  workers.run(1);
  EXPECT_EQ(journal.take(), (Entries{"status Opening communications port...", "open COM7",
                                     "status Ready", "post 3"}));
  EXPECT_TRUE(state.device_ready);
  controller.on_notice(notice(NoticeId::DiscoveryDone));
  EXPECT_EQ(journal.take(), (Entries{"join thread 1", "timer 1203 2000", "default 1052"}));
  // A second notice finds the slot empty.
  controller.on_notice(notice(NoticeId::DiscoveryDone));
  EXPECT_TRUE(journal.take().empty());
}

TEST_F(MainWindowTest, APortThatWillNotOpenIsReportedAndDetectCanTryAgain) {
  link.open_result = 0;
  start_ready();
  EXPECT_FALSE(state.device_ready);
  controller.on_command(IDC_DETECT_MODEM, 0);
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "kill 1203", "start thread 2"}));
  workers.run(2);
  EXPECT_EQ(journal.take(), (Entries{"status Opening communications port...", "open COM7",
                                     "status Unable to open COM port.", "post 3"}));
}

TEST_F(MainWindowTest, WhileDiscoveryRunsResetDetectAndBootDoNothing) {
  controller.on_init_dialog();
  workers.run(1);  // no port given: it never posts, so the slot stays taken
  EXPECT_EQ(journal.take().back(), "status Detecting mobile data device...");
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
  for (int control : {1 /* OK */, 2 /* Cancel */, IDC_BROADCAST_TEXT, IDC_USSD_SEND})
    controller.on_command(control, 0);
  controller.on_command(IDC_DETECT_MODEM, 1);
  controller.on_command(IDC_BROADCAST_CLEAR, 0x400);
  controller.on_command(IDC_NETWORK_MODE_LIST, 0);
  controller.on_timer(TIMER_WATCHDOG);
  controller.on_timer(TIMER_USSD_SESSION);
  controller.on_timer(4242);
  controller.on_notice(boot(0));
  controller.on_notice(notice(NoticeId::Boot));  // no report with it
  EXPECT_TRUE(journal.take().empty());

  controller.on_timer(TIMER_POLL);
  EXPECT_EQ(journal.take(), Entries{"timer 1203 2000"});
  controller.on_command(IDC_BROADCAST_CLEAR, 0);
  controller.on_command(IDC_BROADCAST_COPY, 0);
  EXPECT_EQ(journal.take(),
            (Entries{"text 1021 \"\"", "enable 1023 0", "enable 1022 0", "copy 1021"}));
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
  EXPECT_FALSE(state.device_ready);

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
  EXPECT_FALSE(state.device_ready);
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
  EXPECT_EQ(journal.take(), (Entries{"sleep 15000", "status Opening communications port...",
                                     "open COM7", "status Ready", "post 3"}));
}

TEST_F(MainWindowTest, NovatelIsResetThroughTheDiagnosticChannel) {
  start_ready(CommandSet::Novatel);
  controller.reset_modem();
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "status Resetting mobile data device...",
                                     "exchange 29 01 00 31 40 7E", "exchange 29 02 00 59 6A 7E",
                                     "kill 1203", "close", "start thread 2"}));
}

}  // namespace
}  // namespace kivo

#include "link/modem_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "link/novatel.h"
#include "support/fake_message_boxes.h"
#include "support/fake_serial_port.h"
#include "support/novatel_frames.h"
#include "support/recording_notices.h"
#include "support/recording_trace.h"

namespace kivo {
namespace {

using namespace std::chrono_literals;
using test::FakeModem;

// Time-out tests use short waits; tests whose answers arrive keep the program's 2000 ms, which
// they never wait out.
constexpr ModemLinkTimings kShortWaits{50, 50};

struct LinkFixture {
  explicit LinkFixture(ModemLinkTimings timings = {}, CommandSet set = CommandSet::Huawei)
      : command_set(set), link({opener, notices, trace, boxes, command_set}, timings) {}

  std::shared_ptr<FakeModem> modem() { return opener.modem(); }
  // Answers every write with `answer` at once.
  void answer_with(const std::string& answer) {
    modem()->set_responder(
        [answer](const std::string&) { return std::vector<std::string>{answer}; });
  }

  test::FakeSerialPortOpener opener;
  test::RecordingNoticeSink notices;
  test::RecordingTraceSink trace_sink;
  Trace trace{trace_sink};
  test::FakeMessageBoxes boxes;
  std::atomic<CommandSet> command_set;
  ModemLink link;
};

// --- opening and closing ---

TEST(ModemLinkOpen, OpensThePortAndListens) {
  LinkFixture f;
  EXPECT_FALSE(f.link.is_open());
  EXPECT_EQ(f.link.open_modem_link("COM7"), 1);
  EXPECT_TRUE(f.link.is_open());
  EXPECT_EQ(f.opener.opened_names(), std::vector<std::string>{"COM7"});
  EXPECT_TRUE(f.modem()->listening());
  EXPECT_TRUE(f.trace_sink.contains("KIVO: opened port COM7"));
}

TEST(ModemLinkOpen, APortNameOfMoreThan15CharactersIsRefused) {
  LinkFixture f;
  EXPECT_EQ(f.link.open_modem_link("COM123456789012"), 1);  // 15 characters
  f.link.close();
  EXPECT_EQ(f.link.open_modem_link("COM1234567890123"), 0);  // 16
  EXPECT_EQ(f.opener.opened_names().size(), 1u);
  EXPECT_FALSE(f.link.is_open());
}

TEST(ModemLinkOpen, APortThatDoesNotOpenGivesZero) {
  LinkFixture f;
  f.opener.set_fail(true);
  EXPECT_EQ(f.link.open_modem_link("COM3"), 0);
  EXPECT_FALSE(f.link.is_open());
  EXPECT_TRUE(f.boxes.shown().empty());
  EXPECT_FALSE(f.trace_sink.contains("KIVO: opened port COM3"));
}

TEST(ModemLinkOpen, SetCommMaskFailureShowsTheBoxAndGivesZero) {
  LinkFixture f;
  f.modem()->set_start_listening_error(5);
  EXPECT_EQ(f.link.open_modem_link("COM4"), 0);
  const auto boxes = f.boxes.shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "SetCommMask failed with error 5.\n");
  EXPECT_EQ(boxes[0].caption, "KIVO");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
  EXPECT_EQ(boxes[0].owner, BoxOwner::None);
  EXPECT_FALSE(f.link.is_open());
  EXPECT_TRUE(f.modem()->port_closed());
  EXPECT_FALSE(f.trace_sink.contains("KIVO: opened port COM4"));
  // The link can be opened again afterwards.
  f.opener.replace_modem();
  EXPECT_EQ(f.link.open_modem_link("COM4"), 1);
}

TEST(ModemLinkOpen, OpenClearsSmsSendPending) {
  LinkFixture f;
  f.link.set_sms_send_pending(true);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  EXPECT_FALSE(f.link.sms_send_pending());
}

TEST(ModemLinkClose, EndsTheThreadPurgesAndClosesThePort) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  const auto modem = f.modem();
  f.link.close();
  EXPECT_FALSE(f.link.is_open());
  EXPECT_EQ(modem->purges(), 1);
  EXPECT_TRUE(modem->port_closed());
  EXPECT_FALSE(
      f.trace_sink.contains("KIVO: rx_thread not exiting within 1000 ms, left to end by itself"));
  f.link.close();  // safe when nothing is open
}

TEST(ModemLinkClose, SafeWhenNeverOpened) {
  LinkFixture f;
  f.link.close();
  EXPECT_FALSE(f.link.is_open());
}

TEST(ModemLinkClose, AThreadThatDoesNotEndIsLeftBehindSafely) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  const auto modem = f.modem();
  ASSERT_TRUE(modem->wait_until_idle());  // the receive thread waits in its read
  modem->set_reads_stuck(true);
  f.link.close();
  EXPECT_TRUE(
      f.trace_sink.contains("KIVO: rx_thread not exiting within 50 ms, left to end by itself"));
  EXPECT_FALSE(f.link.is_open());
  EXPECT_EQ(modem->purges(), 1);
  EXPECT_FALSE(modem->port_closed());  // the stuck thread still holds it
  // When the read finally returns, the thread sees the end request and lets the port go.
  modem->set_reads_stuck(false);
  for (int i = 0; i < 500 && !modem->port_closed(); ++i) std::this_thread::sleep_for(2ms);
  EXPECT_TRUE(modem->port_closed());
}

TEST(ModemLinkClose, WhatAReadReturnsAfterTheCloseIsNotDispatched) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  const auto modem = f.modem();
  ASSERT_TRUE(modem->wait_until_idle());
  modem->set_reads_stuck(true);
  f.link.close();  // the thread is left in its read
  modem->push_burst("\r\n^BOOT:12345678,0,0,0,70\r\n");
  for (int i = 0; i < 500 && !modem->port_closed(); ++i) std::this_thread::sleep_for(2ms);
  ASSERT_TRUE(modem->port_closed());  // the thread has ended
  EXPECT_EQ(f.notices.size(), 0u);
  EXPECT_FALSE(f.trace_sink.contains("KIVO: received data: \r\n^BOOT:12345678,0,0,0,70\r\n"));
}

TEST(ModemLinkClose, TheDestructorCloses) {
  std::shared_ptr<FakeModem> modem;
  {
    LinkFixture f;
    ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
    modem = f.modem();
  }
  EXPECT_TRUE(modem->port_closed());
}

TEST(ModemLinkReceive, AnUnpluggedModemEndsTheReceiveThread) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.modem()->unplug();
  for (int i = 0; i < 500; ++i) {
    if (f.trace_sink.contains("KIVO: port read failed, receive thread ending (modem unplugged?)"))
      break;
    std::this_thread::sleep_for(2ms);
  }
  EXPECT_TRUE(
      f.trace_sink.contains("KIVO: port read failed, receive thread ending (modem unplugged?)"));
  f.link.close();
  EXPECT_FALSE(
      f.trace_sink.contains("KIVO: rx_thread not exiting within 50 ms, left to end by itself"));
}

TEST(ModemLinkReceive, UnsolicitedReportsArePosted) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.modem()->push_burst("\r\n^RSSI:15\r\n");
  f.modem()->push_burst("\r\n^MODE:5,7\r\n");
  ASSERT_TRUE(f.notices.wait_for_size(2));
  const auto notices = f.notices.notices();
  EXPECT_EQ(notices[0].id, NoticeId::Signal);
  EXPECT_EQ(notices[0].value, 15u);
  EXPECT_EQ(notices[1].id, NoticeId::Mode);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: received data: \r\n^RSSI:15\r\n"));
}

TEST(ModemLinkReceive, SmsPendingIsSeenByTheReceiveThread) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.link.set_sms_send_pending(true);
  f.modem()->push_burst("\r\n+CMS ERROR: 500\r\n");
  ASSERT_TRUE(f.notices.wait_for_size(1));
  EXPECT_EQ(f.notices.notices()[0].id, NoticeId::SmsFailed);
  EXPECT_FALSE(f.link.sms_send_pending());
}

// --- sending ---

TEST(ModemLinkSend, CommandAndItsResponse) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.answer_with("\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  const Reply r = f.link.tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(f.modem()->written(), std::vector<std::string>{"AT+CSQ\r\n"});
  EXPECT_TRUE(f.trace_sink.contains("KIVO: sent data: AT+CSQ\r\n"));
}

TEST(ModemLinkSend, ThePinGoesOnTheWireButNotIntoTheTrace) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.answer_with("AT+CPIN=4711\r\r\nOK\r\n");  // a modem that still echoes
  f.link.tx_at_command("AT+CPIN=4711\r\n");
  EXPECT_EQ(f.modem()->written(), std::vector<std::string>{"AT+CPIN=4711\r\n"});
  EXPECT_TRUE(f.trace_sink.contains("KIVO: sent data: AT+CPIN=********\r\n"));
  for (const std::string& line : f.trace_sink.lines())
    EXPECT_EQ(line.find("4711"), std::string::npos) << line;
}

TEST(ModemLinkSend, NoResponseTimesOutAndKeepsThePreviousText) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.answer_with("\r\nOK\r\n");
  ASSERT_EQ(f.link.tx_at_command("AT\r\n").result, 1);
  f.modem()->set_responder(nullptr);
  const Reply r = f.link.tx_at_command("AT+CFUN?\r\n");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.text, "OK\r\n");
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for command response"));
}

TEST(ModemLinkSend, AWriteThatDoesNotCompleteTimesOutAndIsCancelled) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.modem()->set_writes_hang(true);
  const Reply r = f.link.tx_at_command("AT\r\n");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(f.modem()->cancelled_writes(), 1);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for data to be sent"));
  EXPECT_FALSE(f.trace_sink.contains("KIVO: timeout waiting for command response"));
}

TEST(ModemLinkSend, OnlyUnsolicitedReportsDuringTheWaitIsATimeOut) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.modem()->set_responder([](const std::string&) {
    return std::vector<std::string>{"\r\n^RSSI:17\r\n", "\r\n^DSFLOWRPT:00000002\r\n"};
  });
  const Reply r = f.link.tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for command response"));
  ASSERT_TRUE(f.notices.wait_for_size(2));
  EXPECT_EQ(f.notices.notices()[0].id, NoticeId::Signal);
  EXPECT_EQ(f.notices.notices()[1].id, NoticeId::FlowReport);
}

TEST(ModemLinkSend, AStrayLineEndsTheWaitAndBecomesTheResponse) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.answer_with("\r\nRING\r\n");
  const Reply r = f.link.tx_at_command("AT+CGMR\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "RING\r\n");
}

TEST(ModemLinkSend, ALateAnswerIsCapturedButDoesNotEndTheNextWait) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  EXPECT_EQ(f.link.tx_at_command("AT+COPS?\r\n").result, 0);
  // The answer arrives after the wait has expired: it is captured and sets the event...
  f.modem()->push_burst("\r\n+COPS: 0,2,\"65501\",2\r\n\r\nOK\r\n");
  ASSERT_TRUE(f.modem()->wait_until_idle());
  // ...which the next command resets before its write.
  const Reply r = f.link.tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(r.result, 0);
  EXPECT_EQ(r.text, "+COPS: 0,2,\"65501\",2\r\n\r\nOK\r\n");
}

TEST(ModemLinkSend, ALateAnswerArrivingAfterTheResetEndsTheNextWait) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  EXPECT_EQ(f.link.tx_at_command("AT+COPS?\r\n").result, 0);
  // The earlier command's answer comes in just after the next command's write.
  f.modem()->set_responder([](const std::string&) {
    return std::vector<std::string>{"\r\n+COPS: 0,2,\"65501\",2\r\n\r\nOK\r\n"};
  });
  const Reply r = f.link.tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "+COPS: 0,2,\"65501\",2\r\n\r\nOK\r\n");
}

TEST(ModemLinkSend, NotOpenMeansTheWriteFails) {
  LinkFixture f(kShortWaits);
  EXPECT_EQ(f.link.tx_at_command("AT\r\n").result, 0);
  EXPECT_EQ(f.link.tx_data("x", 1), 0);
  EXPECT_EQ(f.link.tx_data_and_get_response("x", 1).result, 0);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for data to be sent"));
}

TEST(ModemLinkSend, TxDataWritesExactlyTheBytesAndWaitsOnlyForTheWrite) {
  LinkFixture f(kShortWaits, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  const char bytes[] = {'0', '1', '\0', '\x1A'};
  EXPECT_EQ(f.link.tx_data(bytes, sizeof bytes), 1);  // no response needed, never framed
  EXPECT_EQ(f.modem()->written(), std::vector<std::string>{std::string(bytes, 4)});
  for (const auto& line : f.trace_sink.lines())
    EXPECT_EQ(line.find("KIVO: sent data"), std::string::npos);
  f.modem()->set_writes_hang(true);
  EXPECT_EQ(f.link.tx_data(bytes, sizeof bytes), 0);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for data to be sent"));
}

TEST(ModemLinkSend, TxDataAndGetResponseIsNeverFramed) {
  LinkFixture f({}, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.answer_with(test::novatel_reply("", 0));  // a diagnostic reply with no text
  f.answer_with("\r\nOK\r\n");
  const Reply r = f.link.tx_data_and_get_response(DiagProbe, sizeof DiagProbe);
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "OK\r\n");
  EXPECT_EQ(f.modem()->written(),
            std::vector<std::string>{std::string(reinterpret_cast<const char*>(DiagProbe), 4)});
  for (const auto& line : f.trace_sink.lines())
    EXPECT_EQ(line.find("KIVO: sent data"), std::string::npos);
}

TEST(ModemLinkSend, TxDataAndGetResponseTimesOut) {
  LinkFixture f(kShortWaits);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  EXPECT_EQ(f.link.tx_data_and_get_response("x", 1).result, 0);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for command response"));
}

TEST(ModemLinkSend, ConcurrentSendersNeverInterleave) {
  LinkFixture f;
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  // Each command is answered by its own name, in a burst that also carries a report.
  f.modem()->set_responder([](const std::string& written) {
    const std::string name = written.substr(2, written.size() - 4);  // AT<name>\r\n
    return std::vector<std::string>{"\r\n^RSSI:3\r\n", "\r\n" + name + "\r\n\r\nOK\r\n"};
  });
  constexpr int kThreads = 4;
  constexpr int kCommands = 40;
  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCommands; ++i) {
        const std::string name = "+T" + std::to_string(t) + "_" + std::to_string(i);
        const Reply r = f.link.tx_at_command(("AT" + name + "\r\n").c_str());
        if (r.result != 1 || r.text != name + "\r\n\r\nOK\r\n") ++mismatches;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(f.modem()->written().size(), static_cast<std::size_t>(kThreads * kCommands));
}

// --- Novatel framing in tx_at_command ---

// Answers each framed command with the replies of a script, one per write.
void answer_novatel(LinkFixture& f, std::vector<std::string> replies) {
  auto script = std::make_shared<std::vector<std::string>>(std::move(replies));
  auto next = std::make_shared<std::size_t>(0);
  f.modem()->set_responder([script, next](const std::string&) {
    if (*next >= script->size()) return std::vector<std::string>{};
    return std::vector<std::string>{(*script)[(*next)++]};
  });
}

TEST(ModemLinkNovatel, CommandsAreFramedAndTheReplyUnwrapped) {
  LinkFixture f({}, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  answer_novatel(f, {test::novatel_reply("\r\nOK\r\n", 0)});
  const Reply r = f.link.tx_at_command("AT\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "OK\r\n");
  const auto written = f.modem()->written();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].size(), 651u);
  EXPECT_EQ(test::novatel_request_channel(written[0]), 3u);
  EXPECT_EQ(test::novatel_request_text(written[0]), "AT\r\n");
  EXPECT_TRUE(f.trace_sink.contains("KIVO: sent data: AT\r\n"));
}

TEST(ModemLinkNovatel, Status99ResendsOnTheAlternateChannel) {
  LinkFixture f({}, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  answer_novatel(f, {test::novatel_reply("", 99, 3), test::novatel_reply("\r\nOK\r\n", 0, 4)});
  const Reply r = f.link.tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "OK\r\n");
  const auto written = f.modem()->written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(test::novatel_request_channel(written[1]), 4u);
  EXPECT_TRUE(
      f.trace_sink.contains("KIVO: novatel status = 99, resending command on alternate channel"));
}

TEST(ModemLinkNovatel, AModemThatAlwaysAsksForAResendFailsTheCommandAndLetsTheNextThrough) {
  LinkFixture f({}, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.answer_with(test::novatel_reply("", 99, 4));
  const Reply refused = f.link.tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(refused.result, 0);
  EXPECT_EQ(f.modem()->written().size(), 1u + kNovatelMaxResends);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: novatel status = 99 on every resend, giving up after " +
                                    std::to_string(kNovatelMaxResends) + " resends"));
  f.answer_with(test::novatel_reply("\r\nOK\r\n", 0));
  const Reply next = f.link.tx_at_command("AT\r\n");
  EXPECT_EQ(next.result, 1);
  EXPECT_EQ(next.text, "OK\r\n");
}

TEST(ModemLinkNovatel, AnEmptyTextReplyKeepsThePreviousResponse) {
  LinkFixture f({}, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  answer_novatel(f, {test::novatel_reply("\r\nOK\r\n", 0), test::novatel_reply("", 0)});
  ASSERT_EQ(f.link.tx_at_command("AT\r\n").text, "OK\r\n");
  const Reply r = f.link.tx_at_command("AT$NWPDN=0\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "OK\r\n");
}

TEST(ModemLinkNovatel, AnUnexpectedStatusStillEndsWithTheResponseEvent) {
  // novatel_tx_command fails, but tx_at_command goes on with its own waits: the
  // emptied chunk set the response event, so the result is 1 and the text the previous one.
  LinkFixture f({}, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  answer_novatel(f, {test::novatel_reply("\r\nERROR\r\n", 7)});
  const Reply r = f.link.tx_at_command("AT\r\n");
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(f.boxes.shown().size(), 1u);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: novatel unexpected status byte: 0x07"));
}

TEST(ModemLinkNovatel, NoReplyTimesOut) {
  LinkFixture f(kShortWaits, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  const Reply r = f.link.tx_at_command("AT\r\n");
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for command response"));
}

TEST(ModemLinkNovatel, AWriteThatDoesNotCompleteTimesOut) {
  LinkFixture f(kShortWaits, CommandSet::Novatel);
  ASSERT_EQ(f.link.open_modem_link("COM1"), 1);
  f.modem()->set_writes_hang(true);
  EXPECT_EQ(f.link.tx_at_command("AT\r\n").result, 0);
  EXPECT_TRUE(f.trace_sink.contains("KIVO: timeout waiting for data to be sent"));
  EXPECT_EQ(f.modem()->cancelled_writes(), 1);
}

}  // namespace
}  // namespace kivo

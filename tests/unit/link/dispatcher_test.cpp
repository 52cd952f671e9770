#include "link/dispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "support/dispatch_harness.h"
#include "support/novatel_frames.h"

namespace kivo {
namespace {

using test::DispatchHarness;
using Captures = std::vector<std::string>;

const CommandSet kAllSets[] = {CommandSet::Standard, CommandSet::Huawei, CommandSet::Option,
                               CommandSet::Novatel,  CommandSet::Sierra, CommandSet::Nokia};

// --- chunk rules ---

TEST(Dispatcher, AnAnswerLineAndEverythingBehindItBecomeTheResponse) {
  DispatchHarness h;
  h.feed("\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"+CSQ: 17,99\r\n\r\nOK\r\n"});
  EXPECT_EQ(h.notices.size(), 0u);
}

TEST(Dispatcher, AReportBeforeTheAnswerIsPostedAndTheAnswerCaptured) {
  DispatchHarness h;
  h.feed("\r\n^RSSI:17\r\n\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::Signal);
  EXPECT_EQ(notices[0].value, 17u);
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
}

TEST(Dispatcher, AReportBehindTheAnswerIsPartOfTheResponse) {
  DispatchHarness h;
  h.feed("\r\nOK\r\n\r\n^RSSI:17\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n\r\n^RSSI:17\r\n"});
  EXPECT_EQ(h.notices.size(), 0u);
}

TEST(Dispatcher, AChunkOfOnlyAReportSetsNoResponseEventWhateverTheCommandSet) {
  for (CommandSet set : kAllSets) {
    DispatchHarness h(set);
    h.feed("\r\n^RSSI:17\r\n");
    EXPECT_EQ(h.notices.count(NoticeId::Signal), 1u);
    EXPECT_TRUE(h.responses.captures().empty());
    EXPECT_EQ(h.responses.bare_events(), 0);
  }
}

TEST(Dispatcher, AChunkOfOnlyLineEndsSetsTheEventOnlyForNovatel) {
  for (CommandSet set : kAllSets) {
    DispatchHarness h(set);
    h.feed("\r\n");
    EXPECT_TRUE(h.responses.captures().empty());
    EXPECT_EQ(h.responses.bare_events(), set == CommandSet::Novatel ? 1 : 0);
    EXPECT_EQ(h.notices.size(), 0u);
  }
}

TEST(Dispatcher, TheEchoIsSkipped) {
  DispatchHarness h;
  h.feed("AT+CSQ\r\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"+CSQ: 17,99\r\n\r\nOK\r\n"});
}

TEST(Dispatcher, TheLineBehindAnEchoIsNotTestedForAtAgain) {
  DispatchHarness h;
  h.feed("ATE0\r\nATI\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"ATI\r\n"});
}

TEST(Dispatcher, TheLineBehindAnEchoGoesToThePrefixTable) {
  DispatchHarness h;
  h.feed("AT\r\n^RSSI:5\r\n");
  EXPECT_EQ(h.notices.count(NoticeId::Signal), 1u);
  EXPECT_TRUE(h.responses.captures().empty());
}

TEST(Dispatcher, AChunkEndingInsideAnEchoIsTheEndOfChunk) {
  for (CommandSet set : {CommandSet::Huawei, CommandSet::Novatel}) {
    DispatchHarness h(set);
    h.feed("AT+CSQ\r\n");
    EXPECT_TRUE(h.responses.captures().empty());
    EXPECT_EQ(h.responses.bare_events(), set == CommandSet::Novatel ? 1 : 0);
    DispatchHarness cut(set);
    cut.feed("AT+CS");
    EXPECT_EQ(cut.responses.bare_events(), set == CommandSet::Novatel ? 1 : 0);
  }
}

// A modem left with echo on sends back the escape line; it may arrive alone, after the next
// command went out, or ahead of that command's echo and answer.
TEST(Dispatcher, TheEchoedEscapeLineIsNoAnswer) {
  const struct {
    const char* chunk;
    Captures captured;
  } cases[] = {
      {"\x1b\r\n", {}},
      {"\x1b\r\nAT\r\r\nOK\r\n", {"OK\r\n"}},
      {"\x1b\r\n\x1b\r\n\r\nOK\r\n", {"OK\r\n"}},
  };
  for (const auto& c : cases) {
    DispatchHarness h;
    h.feed(c.chunk);
    EXPECT_EQ(h.responses.captures(), c.captured) << c.chunk;
  }
}

TEST(Dispatcher, LowerCaseAtIsNoEcho) {
  DispatchHarness h;
  h.feed("at\r\nOK\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"at\r\nOK\r\n"});
}

TEST(Dispatcher, CmsErrorIsAResponseUnlessAnSmsIsPending) {
  DispatchHarness h;
  h.feed("\r\n+CMS ERROR: 500\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"+CMS ERROR: 500\r\n"});
  EXPECT_EQ(h.notices.size(), 0u);

  DispatchHarness pending;
  pending.dispatcher.set_sms_send_pending(true);
  pending.feed("\r\n+CMS ERROR: 500\r\n");
  EXPECT_TRUE(pending.responses.captures().empty());
  EXPECT_EQ(pending.notices.count(NoticeId::SmsFailed), 1u);
  EXPECT_FALSE(pending.dispatcher.sms_send_pending());
  // The flag is cleared: a second one is a response again.
  pending.feed("\r\n+CMS ERROR: 500\r\n");
  EXPECT_EQ(pending.responses.captures(), Captures{"+CMS ERROR: 500\r\n"});
  EXPECT_EQ(pending.notices.count(NoticeId::SmsFailed), 1u);
}

TEST(Dispatcher, CgregReportsArePostedAndReadAnswersCaptured) {
  DispatchHarness h;
  h.feed("\r\n+CGREG: 1\r\n");
  h.feed("\r\n+CGREG: 1,\"00A1\",\"01B28ACB\"\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].id, NoticeId::Registration);
  EXPECT_EQ(std::get<RegistrationReport>(notices[0].report).stat, 1u);
  const auto& r = std::get<RegistrationReport>(notices[1].report);
  EXPECT_EQ(r.stat, 1u);
  EXPECT_EQ(r.lac, 0xA1u);
  EXPECT_EQ(r.ci, 0x01B28ACBu);
  EXPECT_TRUE(h.responses.captures().empty());

  h.feed("\r\n+CGREG: 2,1\r\n\r\nOK\r\n");
  h.feed("\r\n+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n");
  EXPECT_EQ(h.responses.captures(), (Captures{"+CGREG: 2,1\r\n\r\nOK\r\n",
                                              "+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n"}));
  EXPECT_EQ(h.notices.size(), 2u);
}

TEST(Dispatcher, CgregReportsWithTheAccessTechnologyArePostedNotTakenForTheAnswer) {
  DispatchHarness h;
  h.feed("\r\n+CGREG: 1,\"00A1\",\"01B2C3D4\",2\r\n");
  h.feed("\r\n+CGREG: 2, 1, \"0426\", \"F00F\"\r\n\r\nOK\r\n");
  h.feed("\r\n+CGREG: 2,1,\"00A1\",\"01B2C3D4\",2\r\n\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  const auto& r = std::get<RegistrationReport>(notices[0].report);
  EXPECT_EQ(r.stat, 1u);
  EXPECT_EQ(r.lac, 0xA1u);
  EXPECT_EQ(r.ci, 0x01B2C3D4u);
  EXPECT_EQ(h.responses.captures(),
            (Captures{"+CGREG: 2, 1, \"0426\", \"F00F\"\r\n\r\nOK\r\n",
                      "+CGREG: 2,1,\"00A1\",\"01B2C3D4\",2\r\n\r\nOK\r\n"}));
}

TEST(Dispatcher, AReadOfExactly2048BytesIsProcessed) {
  DispatchHarness h;
  std::string chunk = "\r\n^RSSI:9\r\n";
  chunk += std::string(2048 - chunk.size() - 2, 'x');
  chunk += "\r\n";
  ASSERT_EQ(chunk.size(), 2048u);
  h.feed(chunk);
  EXPECT_EQ(h.notices.count(NoticeId::Signal), 1u);
  const auto captures = h.responses.captures();
  ASSERT_EQ(captures.size(), 1u);
  EXPECT_EQ(captures[0], chunk.substr(11));
}

// --- every row of the prefix table ---

TEST(Dispatcher, BootIsPostedWithItsNumbers) {
  DispatchHarness h;
  h.feed("\r\n^BOOT:20358598,0,0,0,77\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::Boot);
  const auto& boot = std::get<BootReport>(notices[0].report);
  EXPECT_EQ(boot.values[0], 20358598u);
  EXPECT_EQ(boot.values[4], 77u);
  EXPECT_TRUE(h.responses.captures().empty());
}

TEST(Dispatcher, RssiAndOsigqPostTheSignal) {
  DispatchHarness h;
  h.feed("\r\n_OSIGQ: 21,0\r\n");
  h.feed("\r\n^RSSI:99\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].id, NoticeId::Signal);
  EXPECT_EQ(notices[0].value, 21u);
  EXPECT_EQ(notices[1].value, 99u);
}

TEST(Dispatcher, RssiContinuesTwoCharactersBehindTheNumber) {
  DispatchHarness h;
  h.feed("^RSSI:17\r\nX");
  EXPECT_EQ(h.responses.captures(), Captures{"X"});
  // Fewer than two characters behind the number, or nothing behind them: done, no event.
  for (const char* chunk : {"^RSSI:17", "^RSSI:17\r", "^RSSI:17\r\n"}) {
    DispatchHarness n(CommandSet::Novatel);
    n.feed(chunk);
    EXPECT_EQ(n.notices.count(NoticeId::Signal), 1u) << chunk;
    EXPECT_TRUE(n.responses.captures().empty()) << chunk;
    EXPECT_EQ(n.responses.bare_events(), 0) << chunk;
  }
  // A report that carries more after the number ends at its line end: the bit error rate of
  // "_OSIGQ: 7,99" never becomes a response.
  DispatchHarness ber;
  ber.feed("\r\n_OSIGQ: 7,99\r\n");
  EXPECT_EQ(ber.notices.count(NoticeId::Signal), 1u);
  EXPECT_TRUE(ber.responses.captures().empty());
  ber.feed("_OSIGQ: 7,99\r\n\r\nOK\r\n");
  EXPECT_EQ(ber.responses.captures(), Captures{"OK\r\n"});
  // A second report in the same chunk.
  DispatchHarness two;
  two.feed("\r\n^RSSI:17\r\n\r\n^RSSI:18\r\n");
  EXPECT_EQ(two.notices.count(NoticeId::Signal), 2u);
}

TEST(Dispatcher, ModeIsPosted) {
  DispatchHarness h;
  h.feed("\r\n^MODE:5,7\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::Mode);
  const auto& mode = std::get<ModeReport>(notices[0].report);
  EXPECT_EQ(mode.sys_mode, 5u);
  EXPECT_EQ(mode.sub_mode, 7u);
}

TEST(Dispatcher, IgnoredReportsAreSkipped) {
  for (const char* line : {"^SRVST:2", "^SIMST:1", "_OEANT: 4", "_OSSYSI: 2"}) {
    DispatchHarness h;
    h.feed(std::string("\r\n") + line + "\r\n\r\nOK\r\n");
    EXPECT_EQ(h.notices.size(), 0u) << line;
    EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"}) << line;
  }
}

TEST(Dispatcher, AHandledReportWithoutAFollowingLineEndsTheChunkWithoutEvent) {
  for (const char* chunk : {"^SRVST:2", "^SRVST:2\r", "^SRVST:2\r\n"}) {
    DispatchHarness h(CommandSet::Novatel);
    h.feed(chunk);
    EXPECT_TRUE(h.responses.captures().empty()) << chunk;
    EXPECT_EQ(h.responses.bare_events(), 0) << chunk;
  }
  // Behind the pair, even a lone character is the next line.
  DispatchHarness h;
  h.feed("^SIMST:1\r\nZ");
  EXPECT_EQ(h.responses.captures(), Captures{"Z"});
}

std::string cbm_page(const std::string& header_and_content_hex) {
  std::string line = header_and_content_hex;
  line.resize(176, '0');
  return "+CBM: 88\r\n" + line + "\r\n";
}

TEST(Dispatcher, CellBroadcastIsPostedAndTheChunkGoesOnBehindIt) {
  DispatchHarness h;
  h.feed("\r\n" + cbm_page("000100320111C8329BFD06") + "\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::CellBroadcast);
  const auto& page = std::get<CellBroadcastPage>(notices[0].report);
  EXPECT_EQ(page.message_identifier, 50u);
  EXPECT_EQ(std::string(page.text).substr(0, 5), "Hello");
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
}

TEST(Dispatcher, CellBroadcastAtTheEndOfTheChunkSetsNoEvent) {
  DispatchHarness h(CommandSet::Novatel);
  h.feed("\r\n" + cbm_page("000100320111C8329BFD06"));
  EXPECT_EQ(h.notices.count(NoticeId::CellBroadcast), 1u);
  EXPECT_EQ(h.responses.bare_events(), 0);
}

TEST(Dispatcher, AMalformedCellBroadcastIsTracedAndTheRestDropped) {
  DispatchHarness h(CommandSet::Novatel);
  h.feed("\r\n+CBM: 89\r\n0001\r\n\r\nOK\r\n");
  EXPECT_EQ(h.notices.size(), 0u);
  EXPECT_TRUE(h.responses.captures().empty());
  EXPECT_EQ(h.responses.bare_events(), 0);
  EXPECT_TRUE(h.trace_sink.contains("KIVO: malformed CBM received: +CBM: 89"));
}

TEST(Dispatcher, SmsReceivedAndSent) {
  DispatchHarness h;
  h.dispatcher.set_sms_send_pending(true);
  h.feed("\r\n+CMTI: \"SM\",3\r\n");
  EXPECT_TRUE(h.dispatcher.sms_send_pending());
  h.feed("\r\n+CMGS: 12\r\n\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].id, NoticeId::SmsReceived);
  EXPECT_EQ(notices[1].id, NoticeId::SmsSent);
  EXPECT_FALSE(h.dispatcher.sms_send_pending());
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
}

TEST(Dispatcher, CregIsSkipped) {
  DispatchHarness h;
  h.feed("\r\n+CREG: 1,\"00A1\",\"1234\"\r\n\r\nOK\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
  EXPECT_EQ(h.notices.size(), 0u);
}

TEST(Dispatcher, CregAtTheEndOfTheChunkIsTheEndOfChunk) {
  for (const char* chunk : {"\r\n+CREG: 1\r\n", "\r\n+CREG: 1\r", "+CREG: 1"}) {
    DispatchHarness novatel(CommandSet::Novatel);
    novatel.feed(chunk);
    EXPECT_EQ(novatel.responses.bare_events(), 1) << chunk;
    DispatchHarness huawei(CommandSet::Huawei);
    huawei.feed(chunk);
    EXPECT_EQ(huawei.responses.bare_events(), 0) << chunk;
  }
}

TEST(Dispatcher, UssdIsPostedAndTheChunkGoesOnBehindIt) {
  DispatchHarness h;
  h.feed("\r\n+CUSD: 1,\"1. Balance\n2. Data\",15\r\n\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::Ussd);
  const auto& ussd = std::get<UssdResponse>(notices[0].report);
  EXPECT_EQ(ussd.status, 1);
  EXPECT_STREQ(ussd.text, "1. Balance\r\n2. Data");
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
}

TEST(Dispatcher, AMalformedUssdIsPostedWithStatus255AndTheRestDropped) {
  DispatchHarness h(CommandSet::Novatel);
  h.feed("\r\n+CUSD: 4\r\n\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::Ussd);
  EXPECT_EQ(std::get<UssdResponse>(notices[0].report).status, 255);
  EXPECT_TRUE(h.responses.captures().empty());
  EXPECT_EQ(h.responses.bare_events(), 0);
  EXPECT_TRUE(h.trace_sink.contains("KIVO: malformed USSD received: +CUSD: 4"));
}

TEST(Dispatcher, FlowReportIsPosted) {
  DispatchHarness h;
  h.feed(
      "\r\n^DSFLOWRPT:00000002,00000291,00000E69,0000000000012847,00000000002293EF,0001F400,"
      "000DBBA0\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].id, NoticeId::FlowReport);
  const auto& flow = std::get<FlowReport>(notices[0].report);
  EXPECT_EQ(flow.duration, 2u);
  EXPECT_EQ(flow.rx_bytes, 0x2293EF);
  EXPECT_EQ(flow.qos_rx, 0xDBBA0u);
}

TEST(Dispatcher, PrefixesAreCaseSensitive) {
  DispatchHarness h;
  h.feed("\r\n^rssi:17\r\n");
  EXPECT_EQ(h.responses.captures(), Captures{"^rssi:17\r\n"});
  EXPECT_EQ(h.notices.size(), 0u);
}

TEST(Dispatcher, APrefixCutByTheEndOfTheChunkIsAResponse) {
  DispatchHarness h;
  h.feed("\r\n^RSS");
  EXPECT_EQ(h.responses.captures(), Captures{"^RSS"});
}

TEST(Dispatcher, SeveralReportsAndAnAnswerInOneChunk) {
  DispatchHarness h;
  h.feed(
      "\r\n^RSSI:12\r\n\r\n^MODE:5,4\r\n\r\n^SRVST:2\r\n\r\n+CGREG: 1\r\n\r\n+CSQ: "
      "12,99\r\n\r\nOK\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 3u);
  EXPECT_EQ(notices[0].id, NoticeId::Signal);
  EXPECT_EQ(notices[1].id, NoticeId::Mode);
  EXPECT_EQ(notices[2].id, NoticeId::Registration);
  EXPECT_EQ(h.responses.captures(), Captures{"+CSQ: 12,99\r\n\r\nOK\r\n"});
}

// --- trace, text and Novatel ---

TEST(Dispatcher, TracesTheWholeChunk) {
  DispatchHarness h;
  h.feed("\r\n^RSSI:17\r\n\r\nOK\r\n");
  ASSERT_FALSE(h.trace_sink.lines().empty());
  EXPECT_EQ(h.trace_sink.lines()[0], "KIVO: received data: \r\n^RSSI:17\r\n\r\nOK\r\n");
}

TEST(Dispatcher, TheCodesOfAnEchoedPinCommandAreNotTraced) {
  DispatchHarness h;
  h.dispatcher.set_pin_echo_expected(true);
  h.feed("AT+CPIN=1234\r\r\nOK\r\n");
  EXPECT_EQ(h.trace_sink.lines()[0], "KIVO: received data: AT+CPIN=********\r\r\nOK\r\n");
}

TEST(Dispatcher, TheChunkEndsAtItsFirstNul) {
  DispatchHarness h;
  h.feed(std::string("\r\nOK\0\r\n^RSSI:5\r\n", 16));
  EXPECT_EQ(h.responses.captures(), Captures{"OK"});
  EXPECT_EQ(h.notices.size(), 0u);
  EXPECT_EQ(h.trace_sink.lines()[0], "KIVO: received data: \r\nOK");
}

TEST(Dispatcher, WithoutATraceNothingIsFormatted) {
  test::RecordingNoticeSink notices;
  test::FakeMessageBoxes boxes;
  std::atomic<CommandSet> set{CommandSet::Huawei};
  test::RecordingResponseSink responses;
  Dispatcher d({notices, nullptr, boxes, set, responses});
  char chunk[] = "\r\n+CUSD: 9\r\n";
  d.rx_dispatch(chunk, sizeof chunk - 1);
  EXPECT_EQ(notices.count(NoticeId::Ussd), 1u);
}

TEST(Dispatcher, ANovatelReplyIsUnwrappedAndItsTextDispatched) {
  for (CommandSet set : {CommandSet::Novatel, CommandSet::Huawei}) {
    DispatchHarness h(set);
    h.feed(test::novatel_reply("\r\nOK\r\n", 0));
    EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
    EXPECT_EQ(h.dispatcher.novatel_status(), 0);
    EXPECT_EQ(h.trace_sink.lines()[0], "KIVO: received data: \r\nOK\r\n");
  }
}

TEST(Dispatcher, ANovatelReplyWithAnEmptyTextSetsTheEventOnlyForNovatel) {
  DispatchHarness h(CommandSet::Novatel);
  h.feed(test::novatel_reply("", 99, 4));
  EXPECT_TRUE(h.responses.captures().empty());
  EXPECT_EQ(h.responses.bare_events(), 1);
  EXPECT_EQ(h.dispatcher.novatel_status(), 99);
  DispatchHarness other(CommandSet::Standard);
  other.feed(test::novatel_reply("", 99, 4));
  EXPECT_EQ(other.responses.bare_events(), 0);
}

TEST(Dispatcher, AReportInsideANovatelReplyIsPosted) {
  DispatchHarness h(CommandSet::Novatel);
  h.feed(test::novatel_reply("\r\n^RSSI:14\r\n\r\nOK\r\n", 0));
  EXPECT_EQ(h.notices.count(NoticeId::Signal), 1u);
  EXPECT_EQ(h.responses.captures(), Captures{"OK\r\n"});
}

TEST(Dispatcher, AnUnacceptableNovatelReplyBecomesAnEmptyChunk) {
  DispatchHarness h(CommandSet::Novatel);
  h.dispatcher.set_novatel_status(7);
  std::string cut = test::novatel_reply("\r\nOK\r\n", 0);
  cut.resize(cut.size() - 3);  // a reply cut over two reads: the first part
  h.feed(cut);
  EXPECT_TRUE(h.responses.captures().empty());
  EXPECT_EQ(h.responses.bare_events(), 1);
  EXPECT_EQ(h.dispatcher.novatel_status(), 7);  // the sender reads the previous status
  EXPECT_EQ(h.trace_sink.lines().back(), "KIVO: received data: ");
}

TEST(Dispatcher, AShortNovatelChunkIsRefused) {
  DispatchHarness h(CommandSet::Novatel);
  h.feed(std::string("\x4B\xFA\x03\x00\x7E", 5));
  EXPECT_TRUE(h.responses.captures().empty());
  EXPECT_EQ(h.responses.bare_events(), 1);
  EXPECT_TRUE(h.trace_sink.contains("KIVO: novatel reply too short: 5 bytes"));
}

TEST(Dispatcher, NotificationsCarryTheirOwnCopy) {
  DispatchHarness h;
  h.feed("\r\n^MODE:5,4\r\n");
  h.feed("\r\n^MODE:3,3\r\n");
  const auto notices = h.notices.notices();
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(std::get<ModeReport>(notices[0].report).sys_mode, 5u);
  EXPECT_EQ(std::get<ModeReport>(notices[1].report).sys_mode, 3u);
}

}  // namespace
}  // namespace kivo

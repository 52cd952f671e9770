#include "engine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace modemsim {
namespace {

class EngineTest : public ::testing::Test {
 protected:
  explicit EngineTest(const Profile& profile = standard_profile()) : engine(profile, &transcript) {}

  void scenario(std::string_view line) { ASSERT_EQ(engine.apply(line, now, true), "") << line; }
  void control(std::string_view line) { ASSERT_EQ(engine.apply(line, now, false), "") << line; }
  void host(std::string_view bytes) { engine.receive(bytes, now); }
  // Everything the modem sends up to `until`, one entry per write, the host reading at once.
  std::vector<std::string> writes(Millis until) {
    std::vector<std::string> out;
    for (; now <= until; ++now) {
      engine.advance(now);
      while (auto bytes = engine.output().pop(now, true)) out.push_back(*bytes);
    }
    now = until;
    return out;
  }

  std::ostringstream text;
  std::ostringstream raw;
  Transcript transcript{text, raw};
  Engine engine;
  Millis now = 1000;
};

TEST_F(EngineTest, EchoesEachCommandLineWithItsAnswerWhileEchoIsOn) {
  host("AT\r\nATE0\r\nAT+CSQ\r\n");
  EXPECT_EQ(writes(now), (std::vector<std::string>{"AT\r\n\r\nOK\r\n", "ATE0\r\n\r\nOK\r\n",
                                                   "\r\n+CSQ: 17,99\r\n\r\nOK\r\n"}));
}

TEST_F(EngineTest, WritesATranscriptLinePerCommandAndTheRawBytes) {
  host("\x1b\r\nAT+CSQ\r");
  host("\nAT\r\n");
  EXPECT_EQ(text.str(), "\\x1b\\r\\n\nAT+CSQ\\r\\n\nAT\\r\\n");
  EXPECT_EQ(raw.str(), "\x1b\r\nAT+CSQ\r\nAT\r\n");
}

TEST_F(EngineTest, RulesReplaceAnswersAsOftenAsTold) {
  scenario("on AT+CNMI=* times 2 reply +CMS ERROR: 500");
  host("ATE0\r");
  writes(now);
  host("AT+CNMI=1,1,2,1,0\rAT+CNMI=1,1,2,1,0\rAT+CNMI=1,1,2,1,0\r");
  EXPECT_EQ(writes(now), (std::vector<std::string>{"\r\n+CMS ERROR: 500\r\n",
                                                   "\r\n+CMS ERROR: 500\r\n", "\r\nOK\r\n"}));
}

TEST_F(EngineTest, SilenceKeepsTheEchoButNotTheAnswerAndGlobalSilenceKeepsBoth) {
  scenario("on AT+CSQ silence");
  host("AT+CSQ\r");
  EXPECT_EQ(writes(now), std::vector<std::string>{"AT+CSQ\r"});
  control("silence on");
  host("AT\r");
  EXPECT_TRUE(writes(now + 100).empty());
  control("silence off");
  host("AT\r");
  EXPECT_EQ(writes(now), std::vector<std::string>{"AT\r\r\nOK\r\n"});
}

TEST_F(EngineTest, DelayedAndSplitAnswersComeAsSeparateWrites) {
  scenario("on AT+CSQ delay 500 split 4 gap 30");
  host("AT+CSQ\r");
  Millis sent = now;
  EXPECT_EQ(writes(sent + 499), std::vector<std::string>{"AT+CSQ\r"});
  EXPECT_EQ(writes(sent + 500), std::vector<std::string>{"\r\n+C"});
  EXPECT_TRUE(writes(sent + 529).empty());
  EXPECT_EQ(writes(sent + 531), std::vector<std::string>{"SQ: 17,99\r\n\r\nOK\r\n"});
}

TEST_F(EngineTest, GarbageAndUnplugRules) {
  scenario("on AT+CGMI garbage 16");
  scenario("on AT+CGMM unplug");
  host("ATE0\rAT+CGMI\r");
  auto out = writes(now);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[1].size(), 16u);
  EXPECT_FALSE(engine.unplugged());
  host("AT+CGMM\r");
  EXPECT_TRUE(engine.unplugged());
}

TEST_F(EngineTest, MuchGarbageGoesInBurstsAndTrickleSendsEveryByteOnItsOwn) {
  control("garbage 2500");
  auto noise = writes(now + 100);
  ASSERT_EQ(noise.size(), 3u);
  EXPECT_EQ(noise[0].size() + noise[1].size() + noise[2].size(), 2500u);

  host("ATE0\r");
  writes(now);
  control("trickle on");
  host("AT+CSQ\r");
  auto bytes = writes(now + 200);
  std::string joined;
  for (const std::string& b : bytes) joined += b;
  EXPECT_EQ(joined, "\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(bytes.size(), joined.size());
  control("trickle off");
  host("AT\r");
  EXPECT_EQ(writes(now), std::vector<std::string>{"\r\nOK\r\n"});
}

TEST_F(EngineTest, ReportsAreBurstsOfTheirOwnAfterTheAnswer) {
  host("ATE0\rAT+CGREG=1\r");
  writes(now);
  host("AT+CFUN=4\r");
  Millis sent = now;
  auto out = writes(sent + kBurstGapMs + 1);
  EXPECT_EQ(out, (std::vector<std::string>{"\r\nOK\r\n", "\r\n+CGREG: 0\r\n"}));
}

TEST_F(EngineTest, TimedStepsOfTheScenarioCountFromTheHostsFirstByte) {
  scenario("after 100 send RING");
  scenario("every 50 set rssi 5");
  EXPECT_FALSE(engine.next_step_time());
  now = 5000;
  host("ATE0\r");
  EXPECT_EQ(engine.next_step_time(), 5050);
  auto out = writes(5200);
  EXPECT_EQ(out, (std::vector<std::string>{"ATE0\r\r\nOK\r\n", "\r\nRING\r\n"}));
  host("AT+CSQ\r");
  EXPECT_EQ(writes(now), std::vector<std::string>{"\r\n+CSQ: 5,99\r\n\r\nOK\r\n"});
  // Control lines count from now.
  control("after 10 raw \\r\\n^RSSI:3\\r\\n");
  EXPECT_EQ(writes(now + 10 + kBurstGapMs), std::vector<std::string>{"\r\n^RSSI:3\r\n"});
}

TEST_F(EngineTest, ControlLinesReportMistakes) {
  EXPECT_NE(engine.apply("set rssi loud", now, false), "");
  EXPECT_NE(engine.apply("after 10 set colour blue", now, false), "");
  EXPECT_NE(engine.apply("jump", now, false), "");
  EXPECT_EQ(engine.apply("set registration 5", now, false), "");
}

TEST_F(EngineTest, AnSmsTextFollowsThePromptAndItsResultComesLater) {
  control("set sms_delay 200");
  host("ATE0\r");
  writes(now);
  host("AT+CMGS=3\r\n");
  EXPECT_EQ(writes(now), std::vector<std::string>{"\r\n> "});
  host("00112233\x1a");
  Millis sent = now;
  EXPECT_TRUE(writes(sent + 199).empty());
  EXPECT_EQ(writes(sent + 200 + kBurstGapMs),
            std::vector<std::string>{"\r\n+CMGS: 1\r\n\r\nOK\r\n"});
}

TEST_F(EngineTest, AStandardPortIgnoresDiagnosticPacketsAndADiagOnlyPortAnswersNothingElse) {
  std::string probe("\x0c\x14\x3a\x7e", 4);
  host(probe + "\r\n");
  EXPECT_EQ(writes(now), std::vector<std::string>{probe + "\r\n"});  // the echo, no answer
  control("set diag_only 1");
  host("AT\r");
  EXPECT_TRUE(writes(now).empty());
  host(probe);
  EXPECT_EQ(writes(now), std::vector<std::string>{std::string("\x13\x0c\xd2\x7a\x7e", 5)});
}

// Everything the modem sends while the host writes `chunks`, one read each.
std::vector<std::string> echoed(const Profile& profile, std::vector<std::string> chunks) {
  Engine engine(profile, nullptr);
  std::vector<std::string> out;
  for (const std::string& chunk : chunks) {
    engine.receive(chunk, 1000);
    while (auto bytes = engine.output().pop(1000, true)) out.push_back(*bytes);
  }
  return out;
}

TEST(EngineEcho, EveryByteComesBackWhileEchoIsOn) {
  using Writes = std::vector<std::string>;
  const std::pair<Writes, Writes> cases[] = {
      {{"\x1b\r\n"}, {"\x1b\r\n"}},
      {{"hello\r\n"}, {"hello\r\n"}},
      {{"\x1b\r\nAT\r"}, {"\x1b\r\nAT\r\r\nOK\r\n"}},
      {{"AT\r", "\n"}, {"AT\r\r\nOK\r\n", "\n"}},
      {{"ATE0\r\n\x1b\r\n", "AT\r\n"}, {"ATE0\r\n\r\nOK\r\n", "\r\nOK\r\n"}},
  };
  for (const auto& [chunks, writes] : cases) {
    EXPECT_EQ(echoed(standard_profile(), chunks), writes) << ::testing::PrintToString(chunks);
  }
  // A diagnostic port echoes none of its binary packets.
  std::string offline("\x29\x01\x00\x31\x40\x7e", 6);
  EXPECT_EQ(echoed(novatel_profile(), {offline}), std::vector<std::string>{offline});
}

// Each way of restarting takes the device off the bus half a second after its answer, for
// reenumerate_ms, and it comes back with its session settings at their start values.
TEST(EngineReenumeration, ARestartLeavesTheBusAndComesBackAfresh) {
  struct Trigger {
    const Profile& profile;
    std::string host;    // what the host writes; empty: the control line `restart`
    std::string answer;  // the last write before leaving
  };
  const std::string mode_reset("\x29\x02\x00\x59\x6a\x7e", 6);
  const Trigger triggers[] = {
      {standard_profile(), "AT+CFUN=6\rAT\r", "\r\nOK\r\n"},
      {novatel_profile(), mode_reset, mode_reset},
      {huawei_profile(), "", ""},
  };
  for (const Trigger& t : triggers) {
    SCOPED_TRACE(t.profile.name);
    Engine engine(t.profile, nullptr);
    Millis now = 1000;
    auto writes = [&] {
      std::vector<std::string> out;
      while (auto bytes = engine.output().pop(now, true)) out.push_back(*bytes);
      return out;
    };
    engine.receive("ATE0\r", now);
    writes();
    if (t.host.empty()) {
      ASSERT_EQ(engine.apply("restart", now, false), "");
    } else {
      engine.receive(t.host, now);
    }
    EXPECT_EQ(engine.next_step_time(), now + 500);
    EXPECT_FALSE(engine.ready_to_leave(now + 499));
    // The answer goes out; what follows the restart (AT, ^BOOT) gets nothing.
    EXPECT_EQ(writes(),
              t.answer.empty() ? std::vector<std::string>{} : std::vector<std::string>{t.answer});
    engine.receive("AT\r", now);
    EXPECT_TRUE(writes().empty());
    now += 500;
    ASSERT_TRUE(engine.ready_to_leave(now));

    engine.detach(now);
    EXPECT_FALSE(engine.ready_to_leave(now));
    EXPECT_EQ(engine.reattach_time(), now + 3000);
    EXPECT_EQ(engine.next_step_time(), now + 3000);
    now += 3000;
    engine.reattach();
    engine.receive("AT\r", now);
    EXPECT_EQ(writes(), std::vector<std::string>{"AT\r\r\nOK\r\n"});  // echo on again
  }
}

TEST(EngineReenumeration, WithoutAWaitTheModemRestartsInPlace) {
  Engine engine(standard_profile(), nullptr);
  ASSERT_EQ(engine.apply("set reenumerate_ms 0", 1000, false), "");
  engine.receive("AT+CFUN=6\rAT\r", 1000);
  EXPECT_FALSE(engine.next_step_time());
  std::vector<std::string> out;
  while (auto bytes = engine.output().pop(1000, true)) out.push_back(*bytes);
  EXPECT_EQ(out, (std::vector<std::string>{"AT+CFUN=6\r\r\nOK\r\n", "AT\r\r\nOK\r\n"}));
}

class NovatelEngineTest : public EngineTest {
 protected:
  NovatelEngineTest() : EngineTest(novatel_profile()) {}

  // The reply frame to one request frame.
  AtFrame exchange(std::string_view command, unsigned channel = 3) {
    host(encode_at_reply(channel, command, 0));
    auto out = writes(now);
    EXPECT_EQ(out.size(), 1u);
    auto frame = out.empty() ? std::nullopt : decode_at_frame(out[0]);
    EXPECT_TRUE(frame);
    return frame ? *frame : AtFrame{};
  }
};

TEST_F(NovatelEngineTest, CommandsInFramesAreAnsweredInFramesWithoutEcho) {
  host(std::string("\x00\x78\xf0\x7e", 4));
  EXPECT_EQ(writes(now), std::vector<std::string>{std::string("\x00\x78\xf0\x7e", 4)});
  AtFrame reply = exchange("AT+CFUN=1\r\n");
  EXPECT_EQ(reply.channel, 3u);
  EXPECT_EQ(reply.status, 0u);
  EXPECT_EQ(reply.text, "\r\nOK\r\n");
  EXPECT_TRUE(reply.crc_ok);
  EXPECT_EQ(exchange("AT$NWRAT?\r\n").text, "\r\n$NWRAT: 0,1,2\r\n\r\nOK\r\n");
  EXPECT_NE(text.str().find("[frame ch=3 status=0 len=11 crc=ok] AT+CFUN=1\\r\\n"),
            std::string::npos);
}

TEST_F(NovatelEngineTest, AResendStatusComesFirstWhenTheScenarioAsks) {
  scenario("on AT+CGREG=2 times 1 status 99");
  AtFrame first = exchange("AT+CGREG=2\r\n");
  EXPECT_EQ(first.status, 99u);
  EXPECT_EQ(first.text, "");
  AtFrame second = exchange("AT+CGREG=2\r\n", 4);
  EXPECT_EQ(second.channel, 4u);
  EXPECT_EQ(second.status, 0u);
  EXPECT_EQ(second.text, "\r\nOK\r\n");
}

TEST_F(NovatelEngineTest, AnEscapedTrailerByteLengthensTheFrame) {
  scenario("on AT escape crc-lo");
  host(encode_at_reply(3, "AT\r\n", 0));
  auto out = writes(now);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].size(), kAtFrameSize + 1);
  EXPECT_EQ(out[0][out[0].size() - 4], 0x7d);
}

TEST_F(NovatelEngineTest, AFrameWithABadCrcGetsNoAnswerAndModeResetRestarts) {
  std::string frame = encode_at_reply(3, "AT\r\n", 0);
  frame[648] ^= 1;
  host(frame);
  EXPECT_TRUE(writes(now).empty());
  control("set reenumerate_ms 0");  // restarts in place, on the same port
  exchange("ATE0\r\n");
  host(std::string("\x29\x02\x00\x59\x6a\x7e", 6));
  writes(now);
  host("AT\r");
  EXPECT_EQ(writes(now), std::vector<std::string>{"AT\r\r\nOK\r\n"});  // echo is back
}

}  // namespace
}  // namespace modemsim

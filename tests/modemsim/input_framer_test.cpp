#include "input_framer.h"

#include <gtest/gtest.h>

#include <vector>

#include "diag_frames.h"

namespace modemsim {
namespace {

std::vector<Unit> drain(InputFramer& framer) {
  std::vector<Unit> units;
  while (auto unit = framer.next()) units.push_back(*unit);
  return units;
}

TEST(InputFramer, ALineArrivingByteByByteIsOneUnitWithItsLineEnd) {
  InputFramer framer;
  std::vector<Unit> units;
  for (char c : std::string("AT+CSQ\r\nAT\r")) {
    framer.feed(std::string(1, c));
    for (Unit& unit : drain(framer)) units.push_back(unit);
  }
  ASSERT_EQ(units.size(), 3u);
  EXPECT_EQ(units[0].kind, UnitKind::CommandLine);
  EXPECT_EQ(units[0].text, "AT+CSQ");
  // The LF came in a later piece than the CR: it is filler of its own then.
  EXPECT_EQ(units[0].raw, "AT+CSQ\r");
  EXPECT_EQ(units[1].kind, UnitKind::Filler);
  EXPECT_EQ(units[2].text, "AT");
}

TEST(InputFramer, TheEscapeLineIsNoiseAndLfEndsALineToo) {
  InputFramer framer;
  framer.feed("\x1b\r\nat\n");
  auto units = drain(framer);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].kind, UnitKind::Noise);
  EXPECT_EQ(units[0].raw, "\x1b\r\n");
  EXPECT_EQ(units[1].kind, UnitKind::CommandLine);
  EXPECT_EQ(units[1].text, "at");
}

TEST(InputFramer, TheSmsTextRunsToCtrlZOrEsc) {
  InputFramer framer;
  framer.feed("AT+CMGS=5\r");
  ASSERT_EQ(drain(framer).size(), 1u);
  framer.expect_sms_body();
  framer.feed("\n0011000B");
  EXPECT_TRUE(drain(framer).empty());
  framer.feed(
      "91\x1a"
      "AT\r");
  auto units = drain(framer);
  ASSERT_EQ(units.size(), 2u);
  EXPECT_EQ(units[0].kind, UnitKind::SmsBody);
  EXPECT_EQ(units[0].text, "0011000B91");
  EXPECT_FALSE(units[0].cancelled);
  EXPECT_EQ(units[1].kind, UnitKind::CommandLine);

  framer.expect_sms_body();
  framer.feed("00\x1b");
  units = drain(framer);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_TRUE(units[0].cancelled);
}

TEST(InputFramer, ADiagnosticPortCollectsFramesAndPacketsAcrossReads) {
  InputFramer framer;
  framer.set_diag(true);
  std::string frame = encode_at_reply(3, "AT+CSQ\r\n", 0);
  framer.feed(frame.substr(0, 2));
  EXPECT_TRUE(drain(framer).empty());
  framer.feed(frame.substr(2, 300));
  EXPECT_TRUE(drain(framer).empty());
  framer.feed(frame.substr(302) + std::string("\x0c\x14", 2));
  auto units = drain(framer);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].kind, UnitKind::AtFrame);
  EXPECT_EQ(units[0].raw, frame);
  framer.feed(std::string("\x3a\x7e", 2));
  units = drain(framer);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].kind, UnitKind::DiagPacket);
  EXPECT_EQ(units[0].raw, std::string("\x0c\x14\x3a\x7e", 4));
}

TEST(InputFramer, APortWithoutDiagnosticsTakesBinaryForNoise) {
  InputFramer framer;
  framer.feed(std::string("\x0c\x14\x3a\x7e\r\n", 6));
  auto units = drain(framer);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].kind, UnitKind::Noise);
}

}  // namespace
}  // namespace modemsim

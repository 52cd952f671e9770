#include "link/novatel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "support/fake_message_boxes.h"
#include "support/novatel_frames.h"
#include "support/recording_trace.h"

namespace kivo {
namespace {

using test::FakeMessageBoxes;
using test::novatel_reply;
using test::RecordingTraceSink;

TEST(NovatelCrc16, CheckValues) {
  EXPECT_EQ(novatel_crc16("123456789", 9), 0x906E);
  const std::uint8_t probe = 0x0C;
  EXPECT_EQ(novatel_crc16(&probe, 1), 0x3A14);
  EXPECT_EQ(novatel_crc16("", 0), 0x0000);
}

template <std::size_t N>
void expect_fixed_packet(const std::uint8_t (&packet)[N]) {
  ASSERT_GE(N, 4u);
  EXPECT_EQ(packet[N - 1], 0x7E);
  const std::uint16_t crc = novatel_crc16(packet, N - 3);
  EXPECT_EQ(packet[N - 3], crc & 0xFF);
  EXPECT_EQ(packet[N - 2], crc >> 8);
}

TEST(NovatelFixedPackets, EachCarriesTheCrcOfItsBody) {
  expect_fixed_packet(DiagCommandZero);
  expect_fixed_packet(NovatelSubsysCommand0);
  expect_fixed_packet(DiagProbe);
  expect_fixed_packet(DiagModeOffline);
  expect_fixed_packet(DiagModeReset);
  EXPECT_EQ(sizeof(DiagCommandZero), 4u);
  EXPECT_EQ(sizeof(NovatelSubsysCommand0), 7u);
  EXPECT_EQ(sizeof(DiagProbe), 4u);
  EXPECT_EQ(sizeof(DiagModeOffline), 6u);
  EXPECT_EQ(sizeof(DiagModeReset), 6u);
  EXPECT_EQ(DiagProbe[1], 0x14);  // 0x3A14 stored low byte first
  EXPECT_EQ(DiagProbe[2], 0x3A);
}

TEST(NovatelFrameTest, LayoutOfACommandFrame) {
  NovatelFrame f;
  ASSERT_TRUE(f.build("AT+CSQ\r\n", kNovatelChannel));
  EXPECT_EQ(sizeof(f.bytes), 651u);
  EXPECT_EQ(f.bytes[0], 0x4B);
  EXPECT_EQ(f.bytes[1], 0xFA);
  EXPECT_EQ(f.bytes[2], 3);
  EXPECT_EQ(f.bytes[3], 0);
  EXPECT_EQ(std::memcmp(f.bytes + 4, "AT+CSQ\r\n", 9), 0);  // with its NUL
  for (std::size_t i = 13; i < 644; ++i) ASSERT_EQ(f.bytes[i], 0) << i;
  EXPECT_EQ(f.bytes[644], 8);
  EXPECT_EQ(f.bytes[645], 0);
  EXPECT_EQ(f.bytes[646], 0);
  EXPECT_EQ(f.bytes[647], 0);
  const std::uint16_t crc = novatel_crc16(f.bytes, 648);
  EXPECT_EQ(f.bytes[648], crc & 0xFF);
  EXPECT_EQ(f.bytes[649], crc >> 8);
  EXPECT_EQ(f.bytes[650], 0x7E);
}

TEST(NovatelFrameTest, AlternateChannelGetsANewCheckSequence) {
  NovatelFrame f;
  ASSERT_TRUE(f.build("AT\r\n", kNovatelChannel));
  const std::uint16_t crc3 = f.bytes[648] | (f.bytes[649] << 8);
  f.set_channel(kNovatelAlternateChannel);
  EXPECT_EQ(f.channel(), 4);
  EXPECT_EQ(f.bytes[2], 4);
  const std::uint16_t crc4 = f.bytes[648] | (f.bytes[649] << 8);
  EXPECT_NE(crc3, crc4);
  EXPECT_EQ(crc4, novatel_crc16(f.bytes, 648));
}

TEST(NovatelFrameTest, CommandLengthLimit) {
  NovatelFrame f;
  EXPECT_TRUE(f.build(std::string(639, 'A').c_str(), kNovatelChannel));
  EXPECT_EQ(f.bytes[644] | (f.bytes[645] << 8), 639);
  EXPECT_EQ(f.bytes[4 + 638], 'A');
  EXPECT_EQ(f.bytes[4 + 639], 0);
  EXPECT_FALSE(f.build(std::string(640, 'A').c_str(), kNovatelChannel));
}

// --- novatel_rx_unwrap ---

struct Unwrap {
  RecordingTraceSink sink;
  Trace trace{sink};
  FakeMessageBoxes boxes;
  std::uint8_t status = 42;
  std::string text;  // the chunk's text afterwards, up to its NUL

  int run(const std::string& chunk) {
    // An exact-size buffer (plus the RxBuffer's NUL), so any read outside it is caught by ASan.
    std::vector<std::uint8_t> buffer(chunk.begin(), chunk.end());
    buffer.push_back(0);
    const int r = novatel_rx_unwrap(buffer.data(), chunk.size(), status, &trace, boxes);
    text = reinterpret_cast<const char*>(buffer.data());
    return r;
  }
};

TEST(NovatelRxUnwrap, ReplyWithStatusZero) {
  Unwrap u;
  EXPECT_EQ(u.run(novatel_reply("\r\nOK\r\n", 0)), 1);
  EXPECT_EQ(u.text, "\r\nOK\r\n");
  EXPECT_EQ(u.status, 0);
  EXPECT_TRUE(u.sink.lines().empty());
}

TEST(NovatelRxUnwrap, ReplyWithStatus99OnTheAlternateChannel) {
  Unwrap u;
  EXPECT_EQ(u.run(novatel_reply("", 99, 4)), 1);
  EXPECT_EQ(u.text, "");
  EXPECT_EQ(u.status, 99);
}

TEST(NovatelRxUnwrap, EscapedCheckSequenceByte) {
  // Find a text whose reply has a 7D or 7E in its CRC, so one trailer byte arrives escaped.
  std::string frame;
  std::string text;
  for (int i = 0; i < 10000 && frame.empty(); ++i) {
    text = "\r\n+CSQ: " + std::to_string(i) + "\r\n";
    const std::string f = novatel_reply(text, 0);
    if (f.size() == 4 + text.size() + 8) frame = f;
  }
  ASSERT_FALSE(frame.empty());
  Unwrap u;
  EXPECT_EQ(u.run(frame), 1);
  EXPECT_EQ(u.text, text);
  EXPECT_EQ(u.status, 0);
}

TEST(NovatelRxUnwrap, EscapedTrailerHandBuilt) {
  // Text "OK", length 2, 0, status 0, CRC written as 7D 5D 12 (one escape), 7E.
  const std::string frame = std::string("\x4B\xFA\x03\x00OK\x02\x00\x00\x00\x7D\x5D\x12\x7E", 14);
  Unwrap u;
  EXPECT_EQ(u.run(frame), 1);
  EXPECT_EQ(u.text, "OK");
  EXPECT_EQ(u.status, 0);
}

TEST(NovatelRxUnwrap, TwoEscapesShowTheErrorBox) {
  // Two of the bytes at n-4, n-3 and n-2 are the escape byte 7D.
  const std::string frame = std::string("\x4B\xFA\x03\x00OK\x02\x00\x00\x00\x7D\x5D\x7D\x7E", 14);
  Unwrap u;
  EXPECT_EQ(u.run(frame), 0);
  EXPECT_EQ(u.text, "");
  const auto boxes = u.boxes.shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "An unexpected data sequence was encountered.\nPlease contact the author and quote "
            "the following bytes:\n02 00 00 00 7D 5D 7D 7E");
  EXPECT_EQ(boxes[0].caption, "KIVO");
  EXPECT_EQ(boxes[0].icon, BoxIcon::Error);
  EXPECT_EQ(boxes[0].owner, BoxOwner::None);
}

TEST(NovatelRxUnwrap, UnexpectedStatusShowsTheErrorBoxAndKeepsTheStatus) {
  const std::string frame = novatel_reply("\r\nOK\r\n", 5);
  Unwrap u;
  EXPECT_EQ(u.run(frame), 0);
  EXPECT_EQ(u.text, "");
  EXPECT_EQ(u.status, 5);  // stored before the check
  const auto boxes = u.boxes.shown();
  ASSERT_EQ(boxes.size(), 1u);
  char expected[256];
  const auto* b = reinterpret_cast<const unsigned char*>(frame.data()) + frame.size() - 8;
  std::snprintf(expected, sizeof expected,
                "An unexpected data sequence was encountered.\nPlease contact the author and "
                "quote the following bytes:\n%02X %02X %02X %02X %02X %02X %02X %02X",
                b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7]);
  EXPECT_EQ(boxes[0].text, expected);
}

TEST(NovatelRxUnwrap, WrongTerminatingByte) {
  std::string frame = novatel_reply("\r\nOK\r\n", 0);
  frame.back() = '\x55';
  Unwrap u;
  EXPECT_EQ(u.run(frame), 0);
  EXPECT_EQ(u.text, "");
  EXPECT_EQ(u.status, 42);  // unchanged
  EXPECT_TRUE(u.sink.contains("KIVO: novatel unexpected terminating byte: 0x55"));
}

TEST(NovatelRxUnwrap, TextLengthOver640) {
  // A length field of 641 (0x0281) with enough bytes present.
  std::string frame = std::string("\x4B\xFA\x03\x00", 4) + std::string(700, 'x');
  frame += std::string("\x81\x02\x00\x00\x11\x22\x7E", 7);
  Unwrap u;
  EXPECT_EQ(u.run(frame), 0);
  EXPECT_EQ(u.text, "");
  EXPECT_TRUE(u.sink.contains("KIVO: novatel unexpected data size: 641 bytes (0x0281)"));
}

TEST(NovatelRxUnwrap, TextLengthBeyondTheBytesReceivedIsRefused) {
  // Claims 100 bytes of text, carries 2.
  const std::string frame = std::string("\x4B\xFA\x03\x00OK\x64\x00\x00\x00\x11\x22\x7E", 13);
  Unwrap u;
  EXPECT_EQ(u.run(frame), 0);
  EXPECT_EQ(u.text, "");
  EXPECT_TRUE(u.sink.contains("KIVO: novatel unexpected data size: 100 bytes (0x0064)"));
}

TEST(NovatelRxUnwrap, ShortChunksAreRefusedWithoutReadingOutside) {
  for (std::size_t n = 4; n < 8; ++n) {
    std::string frame = std::string("\x4B\xFA\x03\x00\x00\x00\x00", n - 1) + "\x7E";
    Unwrap u;
    EXPECT_EQ(u.run(frame), 0) << n;
    EXPECT_EQ(u.text, "");
    EXPECT_EQ(u.status, 42);
    EXPECT_TRUE(u.sink.contains("KIVO: novatel reply too short: " + std::to_string(n) + " bytes"));
  }
  Unwrap u;
  EXPECT_EQ(u.run(std::string("\x4B\xFA\x03\x00\x01", 5)), 0);  // short and not ending in 7E
  EXPECT_TRUE(u.sink.contains("KIVO: novatel unexpected terminating byte: 0x01"));
}

TEST(NovatelRxUnwrap, EmptyTextReply) {
  Unwrap u;
  EXPECT_EQ(u.run(novatel_reply("", 0)), 1);
  EXPECT_EQ(u.text, "");
  EXPECT_EQ(u.status, 0);
}

TEST(NovatelRxUnwrap, WithoutATrace) {
  std::string frame = novatel_reply("OK", 0);
  frame.back() = 0;
  std::vector<std::uint8_t> buffer(frame.begin(), frame.end());
  std::uint8_t status = 0;
  FakeMessageBoxes boxes;
  EXPECT_EQ(novatel_rx_unwrap(buffer.data(), buffer.size(), status, nullptr, boxes), 0);
}

TEST(NovatelReplyHeader, Recognised) {
  const auto is = [](const std::string& s) {
    return is_novatel_reply(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  };
  EXPECT_TRUE(is(std::string("\x4B\xFA\x03\x00", 4)));
  EXPECT_TRUE(is(std::string("\x4B\xFA\x04\x00xx", 6)));
  EXPECT_FALSE(is(std::string("\x4B\xFA\x05\x00", 4)));
  EXPECT_FALSE(is(std::string("\x4B\xFA\x03\x01", 4)));
  EXPECT_FALSE(is(std::string("\x4B\xFA\x03", 3)));
  EXPECT_FALSE(is("\r\nOK\r\n"));
}

// --- novatel_tx_command ---

// Answers each write by "receiving" the next status of a script (as the receive thread would
// store NovatelStatus and set the response event); no answer once the script is used up.
class ScriptedChannel : public NovatelChannel {
 public:
  explicit ScriptedChannel(std::deque<int> statuses) : statuses_(std::move(statuses)) {}
  bool write(const void* bytes, std::size_t count) override {
    writes.emplace_back(static_cast<const char*>(bytes), count);
    if (fail_writes) return false;
    if (!statuses_.empty()) {
      status_ = static_cast<std::uint8_t>(statuses_.front());
      statuses_.pop_front();
      event_ = true;
    }
    return true;
  }
  void reset_response_event() override {
    event_ = false;
    ++resets;
  }
  bool wait_response_event() override { return event_; }
  std::uint8_t novatel_status() const override { return status_; }

  std::vector<std::string> writes;
  int resets = 0;
  bool fail_writes = false;

 private:
  std::deque<int> statuses_;
  std::uint8_t status_ = 0;
  bool event_ = false;
};

struct TxFixture {
  RecordingTraceSink sink;
  Trace trace{sink};
  bool write_failed = false;
};

TEST(NovatelTxCommand, StatusZeroAcknowledges) {
  TxFixture t;
  ScriptedChannel ch({0});
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 1);
  EXPECT_FALSE(t.write_failed);
  ASSERT_EQ(ch.writes.size(), 1u);
  EXPECT_EQ(ch.writes[0].size(), 651u);
  EXPECT_EQ(test::novatel_request_channel(ch.writes[0]), 3u);
  EXPECT_EQ(test::novatel_request_text(ch.writes[0]), "AT\r\n");
  EXPECT_TRUE(t.sink.lines().empty());
}

TEST(NovatelTxCommand, Status99ResendsOnTheAlternateChannel) {
  TxFixture t;
  ScriptedChannel ch({99, 99, 0});
  EXPECT_EQ(novatel_tx_command(ch, "AT+CSQ\r\n", t.trace, t.write_failed), 1);
  ASSERT_EQ(ch.writes.size(), 3u);
  EXPECT_EQ(test::novatel_request_channel(ch.writes[0]), 3u);
  for (int i : {1, 2}) {
    const std::string& w = ch.writes[i];
    EXPECT_EQ(test::novatel_request_channel(w), 4u);
    EXPECT_EQ(test::novatel_request_text(w), "AT+CSQ\r\n");
    const auto* b = reinterpret_cast<const std::uint8_t*>(w.data());
    EXPECT_EQ(b[648] | (b[649] << 8), novatel_crc16(b, 648));
  }
  EXPECT_EQ(ch.resets, 2);
  const auto lines = t.sink.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "KIVO: novatel status = 99, resending command on alternate channel");
  EXPECT_EQ(lines[1], lines[0]);
}

TEST(NovatelTxCommand, AModemThatAlwaysAsksForAResendIsGivenUp) {
  TxFixture t;
  ScriptedChannel ch(std::deque<int>(100, 99));
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 0);
  EXPECT_FALSE(t.write_failed);
  EXPECT_EQ(ch.writes.size(), 1u + kNovatelMaxResends);
  const auto lines = t.sink.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "KIVO: novatel status = 99 on every resend, giving up after " +
                              std::to_string(kNovatelMaxResends) + " resends");
  EXPECT_FALSE(t.sink.contains("KIVO: timeout waiting for command response"));
}

TEST(NovatelTxCommand, TheLastAllowedResendMayStillSucceed) {
  TxFixture t;
  std::deque<int> script(kNovatelMaxResends, 99);
  script.push_back(0);
  ScriptedChannel ch(script);
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 1);
  EXPECT_EQ(ch.writes.size(), 1u + kNovatelMaxResends);
  EXPECT_EQ(t.sink.lines().size(), kNovatelMaxResends);  // one per resend, no giving up
}

TEST(NovatelTxCommand, UnexpectedStatusFails) {
  TxFixture t;
  ScriptedChannel ch({99, 0x0A});
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 0);
  EXPECT_FALSE(t.write_failed);
  EXPECT_TRUE(t.sink.contains("KIVO: novatel unexpected status byte: 0x0A"));
}

TEST(NovatelTxCommand, NoReplyTimesOut) {
  TxFixture t;
  ScriptedChannel ch({});
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 0);
  EXPECT_FALSE(t.write_failed);
  EXPECT_EQ(t.sink.lines(), std::vector<std::string>{"KIVO: timeout waiting for command response"});
}

TEST(NovatelTxCommand, NoReplyToTheResendTimesOut) {
  TxFixture t;
  ScriptedChannel ch({99});
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 0);
  EXPECT_EQ(ch.writes.size(), 2u);
  EXPECT_TRUE(t.sink.contains("KIVO: timeout waiting for command response"));
}

TEST(NovatelTxCommand, AFailedWriteIsReported) {
  TxFixture t;
  ScriptedChannel ch({0});
  ch.fail_writes = true;
  EXPECT_EQ(novatel_tx_command(ch, "AT\r\n", t.trace, t.write_failed), 0);
  EXPECT_TRUE(t.write_failed);
}

TEST(NovatelTxCommand, ATooLongCommandIsNotSent) {
  TxFixture t;
  ScriptedChannel ch({0});
  EXPECT_EQ(novatel_tx_command(ch, std::string(640, 'A').c_str(), t.trace, t.write_failed), 0);
  EXPECT_TRUE(t.write_failed);
  EXPECT_TRUE(ch.writes.empty());
  EXPECT_TRUE(t.sink.contains("KIVO: novatel command too long: 640 characters"));
}

}  // namespace
}  // namespace kivo

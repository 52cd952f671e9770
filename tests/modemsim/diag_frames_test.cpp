#include "diag_frames.h"

#include <gtest/gtest.h>

namespace modemsim {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(DiagFrames, CrcHasTheX25CheckValue) {
  EXPECT_EQ(crc16_x25("123456789"), 0x906e);
  EXPECT_EQ(crc16_x25(bytes({0x0c})), 0x3a14);
}

TEST(DiagFrames, FixedPacketsAreTheirBodyCrcAndFlag) {
  EXPECT_EQ(diag_packet(bytes({0x00})), bytes({0x00, 0x78, 0xf0, 0x7e}));
  EXPECT_EQ(diag_packet(bytes({0x4b, 0xfa, 0x00, 0x00})),
            bytes({0x4b, 0xfa, 0x00, 0x00, 0x32, 0xd5, 0x7e}));
  EXPECT_EQ(diag_packet(bytes({0x29, 0x02, 0x00})), bytes({0x29, 0x02, 0x00, 0x59, 0x6a, 0x7e}));
}

TEST(DiagFrames, PacketBytesThatLookLikeFlagsAreEscaped) {
  std::string packet = diag_packet(bytes({0x7e, 0x7d}));
  EXPECT_EQ(packet.substr(0, 4), bytes({0x7d, 0x5e, 0x7d, 0x5d}));
  EXPECT_EQ(answer_diag_packet(packet).bytes, diag_packet(bytes({0x13, 0x7e, 0x7d})));
}

TEST(DiagFrames, KnownPacketsAreEchoedAndModeResetRestarts) {
  DiagReply offline = answer_diag_packet(bytes({0x29, 0x01, 0x00, 0x31, 0x40, 0x7e}));
  EXPECT_EQ(offline.bytes, bytes({0x29, 0x01, 0x00, 0x31, 0x40, 0x7e}));
  EXPECT_FALSE(offline.resets_modem);
  DiagReply reset = answer_diag_packet(bytes({0x29, 0x02, 0x00, 0x59, 0x6a, 0x7e}));
  EXPECT_EQ(reset.bytes, bytes({0x29, 0x02, 0x00, 0x59, 0x6a, 0x7e}));
  EXPECT_TRUE(reset.resets_modem);
  EXPECT_EQ(answer_diag_packet(bytes({0x00, 0x78, 0xf0, 0x7e})).bytes,
            bytes({0x00, 0x78, 0xf0, 0x7e}));
}

TEST(DiagFrames, TheProbeGetsABadCommandReplyWithItsFlagAsFifthByte) {
  std::string reply = answer_diag_packet(bytes({0x0c, 0x14, 0x3a, 0x7e})).bytes;
  EXPECT_EQ(reply, bytes({0x13, 0x0c, 0xd2, 0x7a, 0x7e}));
}

TEST(DiagFrames, APacketWithABadCrcIsRefused) {
  DiagReply reply = answer_diag_packet(bytes({0x29, 0x02, 0x00, 0x59, 0x6b, 0x7e}));
  EXPECT_EQ(reply.bytes[0], 0x13);
  EXPECT_FALSE(reply.resets_modem);
}

TEST(DiagFrames, AReplyFrameHasTheRequestLayout) {
  std::string frame = encode_at_reply(4, "\r\nOK\r\n", 0);
  ASSERT_EQ(frame.size(), kAtFrameSize);
  EXPECT_EQ(frame.substr(0, 4), bytes({0x4b, 0xfa, 0x04, 0x00}));
  EXPECT_EQ(frame.substr(4, 7), std::string("\r\nOK\r\n\0", 7));
  std::size_t n = frame.size();
  EXPECT_EQ(frame[n - 7], 6);
  EXPECT_EQ(frame[n - 6], 0);
  EXPECT_EQ(frame[n - 4], 0);
  EXPECT_EQ(frame[n - 1], 0x7e);
  auto decoded = decode_at_frame(frame);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->channel, 4u);
  EXPECT_EQ(decoded->text, "\r\nOK\r\n");
  EXPECT_TRUE(decoded->crc_ok);
}

TEST(DiagFrames, AForcedEscapeMovesTheFieldsInFrontOneByteFurtherFromTheEnd) {
  std::string plain = encode_at_reply(3, "\r\nOK\r\n", 0);
  std::string escaped = encode_at_reply(3, "\r\nOK\r\n", 0, EscapedByte::CrcLow);
  ASSERT_EQ(escaped.size(), plain.size() + 1);
  std::size_t n = escaped.size();
  EXPECT_EQ(escaped[n - 4], 0x7d);
  EXPECT_EQ(static_cast<char>(escaped[n - 3] ^ 0x20), plain[plain.size() - 3]);
  EXPECT_EQ(escaped[n - 5], 0);  // the status
  EXPECT_EQ(escaped[n - 8], 6);  // the text length
}

TEST(DiagFrames, DecodingRefusesWrongSizesAndReportsABadCrc) {
  std::string frame = encode_at_reply(3, "AT\r\n", 0);
  EXPECT_FALSE(decode_at_frame(frame.substr(1)));
  frame[10] = 'x';
  auto decoded = decode_at_frame(frame);
  ASSERT_TRUE(decoded);
  EXPECT_FALSE(decoded->crc_ok);
}

}  // namespace
}  // namespace modemsim

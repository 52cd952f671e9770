#include "link/cbm_parser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kivo {
namespace {

// Packs GSM 7-bit characters into octets (3GPP TS 23.038) as hex text.
std::string pack(const std::string& septets) {
  std::vector<unsigned> octets;
  unsigned acc = 0;
  int bits = 0;
  for (unsigned char c : septets) {
    acc |= (c & 0x7Fu) << bits;
    bits += 7;
    while (bits >= 8) {
      octets.push_back(acc & 0xFF);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits > 0) octets.push_back(acc & 0xFF);
  std::string hex;
  char buf[3];
  for (unsigned o : octets) {
    std::snprintf(buf, sizeof buf, "%02X", o);
    hex += buf;
  }
  return hex;
}

// A whole 88-octet page: header and 82 content octets (93 septets, padded with CR).
std::string page_line(const std::string& header, const std::string& text) {
  std::string septets = text;
  septets.resize(93, '\r');
  return header + pack(septets);
}

TEST(ParseCbm, DecodesHeaderAndText) {
  const std::string data = "+CBM: 88\r\n" + page_line("123400320111", "Hello") + "\r\n";
  ASSERT_EQ(data.size(), 10u + 176u + 2u);
  CellBroadcastPage p;
  const auto pos = parse_cbm(data, p);
  ASSERT_TRUE(pos);
  EXPECT_EQ(*pos, data.size());
  EXPECT_EQ(p.serial_number, 0x1234u);
  EXPECT_EQ(p.message_identifier, 50u);
  EXPECT_EQ(p.dcs, 1u);
  EXPECT_EQ(p.page, 1u);
  EXPECT_EQ(p.pages, 1u);
  EXPECT_STREQ(p.text, "Hello");
}

TEST(ParseCbm, PageAndPagesFromOneOctet) {
  CellBroadcastPage p;
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n" + page_line("0001003C0F23", "x") + "\r\n", p));
  EXPECT_EQ(p.message_identifier, 60u);
  EXPECT_EQ(p.dcs, 0x0Fu);
  EXPECT_EQ(p.page, 2u);
  EXPECT_EQ(p.pages, 3u);
}

TEST(ParseCbm, PageZeroOfZeroIsOneOfOne) {
  CellBroadcastPage p;
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n" + page_line("0001003C0F00", "x") + "\r\n", p));
  EXPECT_EQ(p.page, 1u);
  EXPECT_EQ(p.pages, 1u);
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n" + page_line("0001003C0F30", "x") + "\r\n", p));
  EXPECT_EQ(p.page, 1u);
  EXPECT_EQ(p.pages, 1u);
}

TEST(ParseCbm, HelloFromItsPackedSeptets) {
  // C8 32 9B FD 06 unpack to "Hello"; the rest of the page is CR padding.
  CellBroadcastPage p;
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n000100320111C8329BFD06\r\n", p));
  EXPECT_STREQ(p.text, "Hello");
  const std::string padded = "+CBM: 88\r\n" + page_line("000100320111", "Hello") + "\r\n";
  ASSERT_TRUE(parse_cbm(padded, p));
  EXPECT_STREQ(p.text, "Hello");
}

TEST(ParseCbm, TrailingControlCharactersAndBlanksAreRemoved) {
  CellBroadcastPage p;
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n" + page_line("000100320111", "Area 51 \t\n") + "\r\n", p));
  EXPECT_STREQ(p.text, "Area 51");
}

TEST(ParseCbm, Character0x11BecomesABlank) {
  CellBroadcastPage p;
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n" +
                            page_line("000100320111",
                                      "a\x11"
                                      "b") +
                            "\r\n",
                        p));
  EXPECT_STREQ(p.text, "a b");
}

TEST(ParseCbm, AFullPageGivesNinetyThreeCharacters) {
  CellBroadcastPage p;
  const std::string text(93, 'Z');
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n" + page_line("000100320111", text) + "\r\n", p));
  EXPECT_EQ(std::string(p.text), text);
}

TEST(ParseCbm, ReturnsThePositionBehindThePageLine) {
  CellBroadcastPage p;
  const std::string data = "+CBM: 88\r\n" + page_line("000100320111", "x") + "\r\n\r\nOK\r\n";
  const auto pos = parse_cbm(data, p);
  ASSERT_TRUE(pos);
  EXPECT_EQ(data.substr(*pos), "\r\nOK\r\n");
}

TEST(ParseCbm, OtherLengthsAreRejected) {
  CellBroadcastPage p;
  EXPECT_FALSE(parse_cbm("+CBM: 89\r\n0001", p));
  EXPECT_FALSE(parse_cbm("+CBM: 5\r\n0001", p));
  EXPECT_FALSE(parse_cbm("+CBM: 88", p));
  EXPECT_FALSE(parse_cbm("+CBM: 88\n", p));
  EXPECT_FALSE(parse_cbm("", p));
}

TEST(ParseCbm, NonHexCharactersCountAsZeroAndShortDataIsNotOverread) {
  CellBroadcastPage p;
  const auto pos = parse_cbm("+CBM: 88\r\nZZ12", p);
  ASSERT_TRUE(pos);
  EXPECT_EQ(*pos, 14u);
  EXPECT_EQ(p.serial_number, 0x0012u);
  EXPECT_EQ(p.message_identifier, 0u);
  EXPECT_EQ(p.page, 1u);
  EXPECT_STREQ(p.text, "");
  // An odd digit before the CR is not taken as an octet.
  ASSERT_TRUE(parse_cbm("+CBM: 88\r\n000100320111C8329BFD060\r\nOK", p));
  EXPECT_STREQ(p.text, "Hello");
}

}  // namespace
}  // namespace kivo

#include "link/ussd_parser.h"

#include <gtest/gtest.h>

#include <string>

namespace kivo {
namespace {

TEST(ParseCusd, ReadsStatusAndStringAndReturnsThePositionPastTheLine) {
  UssdResponse r;
  const std::string text = "+CUSD: 0,\"Balance: R12.50\",15\r\n\r\nOK\r\n";
  const auto pos = parse_cusd(text, r);
  ASSERT_TRUE(pos);
  EXPECT_EQ(r.status, 0);
  EXPECT_STREQ(r.text, "Balance: R12.50");
  EXPECT_EQ(text.substr(*pos), "\r\nOK\r\n");
}

TEST(ParseCusd, AtTheEndOfTheChunkThePositionIsItsEnd) {
  UssdResponse r;
  const std::string text = "+CUSD: 1,\"1. Balance\",15\r\n";
  EXPECT_EQ(parse_cusd(text, r), text.size());
  EXPECT_EQ(r.status, 1);
  const std::string cut = "+CUSD: 1,\"x\",15";
  EXPECT_EQ(parse_cusd(cut, r), cut.size());
}

TEST(ParseCusd, EmptyStringWithStatus2) {
  UssdResponse r;
  ASSERT_TRUE(parse_cusd("+CUSD: 2,\"\",15\r\n", r));
  EXPECT_EQ(r.status, 2);
  EXPECT_STREQ(r.text, "");
}

TEST(ParseCusd, LoneLineFeedsBecomeCrLf) {
  UssdResponse r;
  ASSERT_TRUE(parse_cusd("+CUSD: 1,\"Menu\n1. Balance\r\n2. Data\n\",15\r\n", r));
  EXPECT_STREQ(r.text, "Menu\r\n1. Balance\r\n2. Data\r\n");
}

TEST(ParseCusd, TheStringRunsToTheLastQuoteOfTheChunk) {
  UssdResponse r;
  const std::string text = "+CUSD: 1,\"a\"\r\n+CUSD: 0,\"b\",15\r\nOK\r\n";
  const auto pos = parse_cusd(text, r);
  ASSERT_TRUE(pos);
  EXPECT_STREQ(r.text, "a\"\r\n+CUSD: 0,\"b");
  EXPECT_EQ(text.substr(*pos), "OK\r\n");
}

TEST(ParseCusd, MalformedReportsFail) {
  UssdResponse r;
  EXPECT_FALSE(parse_cusd("+CUSD: 4\r\n", r));           // no string
  EXPECT_EQ(r.status, 4);                                // what was read before the failure
  EXPECT_FALSE(parse_cusd("+CUSD: 4", r));               // nothing after the number
  EXPECT_FALSE(parse_cusd("+CUSD: 1,\"no end\r\n", r));  // no closing quote
  EXPECT_FALSE(parse_cusd("+CUSD:1,\"x\",15", r));       // the blank is part of the prefix
  EXPECT_FALSE(parse_cusd("+CUSD: 1,,\"x\",15", r));     // the quote must stand right there
  EXPECT_FALSE(parse_cusd("", r));
}

TEST(ParseCusd, LongStringsAreCutAndTheReportIsStillConsumedWhole) {
  UssdResponse r;
  const std::string body(300, 'x');
  const std::string text = "+CUSD: 0,\"" + body + "\",15\r\nOK\r\n";
  const auto pos = parse_cusd(text, r);
  ASSERT_TRUE(pos);
  EXPECT_EQ(std::string(r.text), std::string(182, 'x'));
  EXPECT_EQ(text.substr(*pos), "OK\r\n");
}

TEST(ParseCusd, LineFeedExpansionStopsWhenTheTextIsFull) {
  UssdResponse r;
  const std::string body(182, '\n');  // would be 364 characters as CR LF
  ASSERT_TRUE(parse_cusd("+CUSD: 0,\"" + body + "\",15", r));
  EXPECT_EQ(std::string(r.text).size(), 183u);
  EXPECT_EQ(r.text[183], '\0');
}

TEST(ParseCusd, WithoutASchemeThePositionIsBehindTheString) {
  UssdResponse r;
  const std::string text = "+CUSD: 0,\"done\"\r\nOK\r\n";
  const auto pos = parse_cusd(text, r);
  ASSERT_TRUE(pos);
  EXPECT_EQ(text.substr(*pos), "\r\nOK\r\n");
}

}  // namespace
}  // namespace kivo

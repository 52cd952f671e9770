#include "link/flow_parser.h"

#include <gtest/gtest.h>

#include "link/number_reader.h"

namespace kivo {
namespace {

constexpr char kReport[] =
    "^DSFLOWRPT:00000002,00000291,00000E69,0000000000012847,00000000002293EF,0001F400,000DBBA0"
    "\r\n";

TEST(ParseDsflowrpt, ReadsTheSevenFieldsAtTheirColumns) {
  FlowReport r;
  ASSERT_TRUE(parse_dsflowrpt(kReport, r));
  EXPECT_EQ(r.duration, 2u);
  EXPECT_EQ(r.tx_rate, 0x291u);
  EXPECT_EQ(r.rx_rate, 0xE69u);
  EXPECT_EQ(r.tx_bytes, 0x12847);
  EXPECT_EQ(r.rx_bytes, 0x2293EF);
  EXPECT_EQ(r.qos_tx, 0x1F400u);
  EXPECT_EQ(r.qos_rx, 0xDBBA0u);
}

TEST(ParseDsflowrpt, SixteenDigitFieldsAreHighAndLowHalves) {
  FlowReport r;
  ASSERT_TRUE(parse_dsflowrpt(
      "^DSFLOWRPT:0000000a,0000000B,0000000c,0000000100000000,ffffffffFFFFFFFF,00000001,10000000",
      r));
  EXPECT_EQ(r.duration, 10u);
  EXPECT_EQ(r.tx_rate, 11u);
  EXPECT_EQ(r.rx_rate, 12u);
  EXPECT_EQ(r.tx_bytes, 4294967296);
  EXPECT_EQ(r.rx_bytes, -1);  // the 64-bit pattern as sent
  EXPECT_EQ(r.qos_tx, 1u);
  EXPECT_EQ(r.qos_rx, 0x10000000u);
}

TEST(ParseDsflowrpt, FailsOnlyOnThePrefixAndThenStoresNothing) {
  FlowReport r;
  r.duration = 77;
  EXPECT_FALSE(parse_dsflowrpt("^dsflowrpt:00000002", r));
  EXPECT_FALSE(parse_dsflowrpt("^DSFLOWRPT", r));
  EXPECT_EQ(r.duration, 77u);
}

TEST(ParseDsflowrpt, AShortLineReadsMissingFieldsAsZeroAndStaysOnItsLine) {
  FlowReport r;
  r.qos_rx = 5;
  ASSERT_TRUE(
      parse_dsflowrpt("^DSFLOWRPT:00000010,00000020\r\n00000030,00000040,0000000000000050", r));
  EXPECT_EQ(r.duration, 0x10u);
  EXPECT_EQ(r.tx_rate, 0x20u);
  EXPECT_EQ(r.rx_rate, 0u);
  EXPECT_EQ(r.tx_bytes, 0);
  EXPECT_EQ(r.qos_rx, 0u);
  ASSERT_TRUE(parse_dsflowrpt("^DSFLOWRPT:", r));
  EXPECT_EQ(r.duration, 0u);
}

TEST(ParseDsflowrpt, ANonHexFieldReadsZero) {
  FlowReport r;
  ASSERT_TRUE(parse_dsflowrpt(
      "^DSFLOWRPT:XXXXXXXX,00000291,00000E69,0000000000012847,00000000002293EF,0001F400,000DBBA0",
      r));
  EXPECT_EQ(r.duration, 0u);
  EXPECT_EQ(r.tx_rate, 0x291u);
}

}  // namespace
}  // namespace kivo

namespace kivo {
namespace {

// The plain reading, column by column, over the first line only.
FlowReport reference_reading(std::string_view text) {
  const std::string_view line = first_line(text);
  const auto at = [&](std::size_t column, std::size_t digits = kUnlimitedDigits) {
    return read_number(line, column, 16, digits).value;
  };
  FlowReport r;
  r.duration = at(11);
  r.tx_rate = at(20);
  r.rx_rate = at(29);
  r.tx_bytes = static_cast<std::int64_t>(std::uint64_t{at(38, 8)} << 32 | at(46));
  r.rx_bytes = static_cast<std::int64_t>(std::uint64_t{at(55, 8)} << 32 | at(63));
  r.qos_tx = at(72);
  r.qos_rx = at(81);
  return r;
}

bool same(const FlowReport& a, const FlowReport& b) {
  return a.duration == b.duration && a.tx_rate == b.tx_rate && a.rx_rate == b.rx_rate &&
         a.tx_bytes == b.tx_bytes && a.rx_bytes == b.rx_bytes && a.qos_tx == b.qos_tx &&
         a.qos_rx == b.qos_rx;
}

// The fast reading of the standard line must give what the column-by-column reading gives, for
// every kind of character at every column.
TEST(ParseDsflowrpt, TheFastReadingAgreesWithTheColumnReading) {
  const std::string base =
      "^DSFLOWRPT:0123abcd,89ABCDEF,fedcba98,76543210FfEeDdCc,0000000100000000,0001F400,000DBBA0";
  const char probes[] = {'0', '9', 'a',  'f', 'A',  'F',  'g',  'G',    '/',    ':',    '@',
                         '`', ' ', '\t', ',', '\r', '\n', '\0', '\x80', '\xC1', '\xFF', '"'};
  std::size_t checked = 0;
  for (std::size_t column = 11; column <= base.size(); ++column) {
    for (char probe : probes) {
      std::string line = base;
      if (column == base.size())
        line += probe;
      else
        line[column] = probe;
      for (const std::string& text : {line, line + "\r\nOK\r\n", line + "5"}) {
        FlowReport fast;
        ASSERT_TRUE(parse_dsflowrpt(text, fast));
        ASSERT_TRUE(same(fast, reference_reading(text)))
            << "column " << column << " probe " << static_cast<int>(probe);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000u);
}

}  // namespace
}  // namespace kivo

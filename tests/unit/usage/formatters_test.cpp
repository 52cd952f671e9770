#include "usage/formatters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace kivo {
namespace {

std::string duration(std::uint32_t seconds) {
  FormattedText text;
  return format_duration(seconds, text);
}
std::string bytes(std::int64_t count) {
  FormattedText text;
  return format_byte_count(count, text);
}
std::string rate(std::uint32_t bytes_per_second) {
  FormattedText text;
  return format_rate(bytes_per_second, text);
}

TEST(FormatDuration, HoursMinutesSecondsWithHoursUnlimited) {
  EXPECT_EQ(duration(0), "00:00:00");
  EXPECT_EQ(duration(3661), "01:01:01");
  EXPECT_EQ(duration(360000), "100:00:00");
  EXPECT_EQ(duration(123 * 3600 + 4 * 60 + 5), "123:04:05");
  EXPECT_EQ(duration(std::numeric_limits<std::uint32_t>::max()), "1193046:28:15");
}

TEST(FormatByteCount, FourDigitsCutNeverRoundedWithTheUnitAfter) {
  const struct {
    std::int64_t n;
    const char* text;
  } cases[] = {
      {0, "0 bytes"},          {1023, "1023 bytes"},   {-5, "-5 bytes"},
      {1024, "1.000KB"},       {14000, "13.67KB"},     {100000, "97.65KB"},
      {1000000, "976.5KB"},    {1048576, "1024KB"},    {1049600, "1.000MB"},
      {123456789, "117.7MB"},  {1073741824, "1024MB"}, {4294967296, "4.000GB"},
      {5368709120, "5.000GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(bytes(c.n), c.text) << c.n;
}

// n * 1000 overflows 64 bits from 9.2 PB on; the thousandths are still exact.
TEST(FormatByteCount, CountsBeyondTheProductRangeStayExact) {
  EXPECT_EQ(bytes(std::numeric_limits<std::int64_t>::max()), "8589934591GB");
  EXPECT_EQ(bytes(std::int64_t{1} << 60), "1073741824GB");
}

TEST(FormatRate, KilobitsWithThreeDecimals) {
  EXPECT_EQ(rate(0), "0.000");
  EXPECT_EQ(rate(1), "0.008");
  EXPECT_EQ(rate(12), "0.096");
  EXPECT_EQ(rate(125), "1.000");
  EXPECT_EQ(rate(12345), "98.760");
  EXPECT_EQ(rate(262500), "2100.000");
}

// QoS values reach rates whose bit count no longer fits 32 bits.
TEST(FormatRate, RatesFromHalfAGigabytePerSecondDoNotWrap) {
  EXPECT_EQ(rate(536870911), "4294967.288");
  EXPECT_EQ(rate(536870912), "4294967.296");
  EXPECT_EQ(rate(std::numeric_limits<std::uint32_t>::max()), "34359738.360");
}

TEST(FormatTimestamp, DateAndTimeWithoutWeekdayOrMilliseconds) {
  LocalTime t;
  t.year = 2009;
  t.month = 3;
  t.day_of_week = 6;
  t.day = 7;
  t.hour = 14;
  t.minute = 5;
  t.second = 9;
  t.milliseconds = 999;
  FormattedText text;
  EXPECT_STREQ(format_timestamp(t, text), "2009/03/07 14:05:09");
  // A damaged store can hold any field values; the text still fits.
  const std::uint16_t all = 65535;
  const LocalTime odd{all, all, all, all, all, all, all, all};
  EXPECT_STREQ(format_timestamp(odd, text), "65535/65535/65535 65535:65535:65535");
}

}  // namespace
}  // namespace kivo

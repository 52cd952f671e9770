#include "link/boot_parser.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(ParseBoot, ReadsFiveNumbersInTheirOrder) {
  BootReport r;
  ASSERT_TRUE(parse_boot("^BOOT:12345678,0,0,0,23\r\n", r));
  EXPECT_EQ(r.values[0], 12345678u);
  EXPECT_EQ(r.values[1], 0u);
  EXPECT_EQ(r.values[4], 23u);
}

TEST(ParseBoot, SkipsExactlyOneSeparatorAndBlanks) {
  BootReport r;
  ASSERT_TRUE(parse_boot("^BOOT: 1, 2,3;4 5", r));
  EXPECT_EQ(r.values[0], 1u);
  EXPECT_EQ(r.values[1], 2u);
  EXPECT_EQ(r.values[2], 3u);
  EXPECT_EQ(r.values[3], 4u);
  EXPECT_EQ(r.values[4], 5u);
  // Two separators: the second stands where the next number should, so that one reads 0 and the
  // reading goes on one character behind it.
  ASSERT_TRUE(parse_boot("^BOOT:1,,3", r));
  EXPECT_EQ(r.values[0], 1u);
  EXPECT_EQ(r.values[1], 0u);
  EXPECT_EQ(r.values[2], 3u);
  EXPECT_EQ(r.values[3], 0u);
}

TEST(ParseBoot, AcceptsEveryLineWithThePrefixAndMissingNumbersReadZero) {
  BootReport r;
  r.values[3] = 7;
  ASSERT_TRUE(parse_boot("^BOOT:", r));
  for (std::uint32_t v : r.values) EXPECT_EQ(v, 0u);
  ASSERT_TRUE(parse_boot("^BOOT:5\r\n6,7,8,9", r));  // stays on its own line
  EXPECT_EQ(r.values[0], 5u);
  EXPECT_EQ(r.values[1], 0u);
  EXPECT_EQ(r.values[4], 0u);
}

TEST(ParseBoot, RejectsOtherLines) {
  BootReport r;
  EXPECT_FALSE(parse_boot("^boot:1", r));
  EXPECT_FALSE(parse_boot("^BOOT", r));
  EXPECT_FALSE(parse_boot("", r));
}

TEST(ParseBoot, Saturates) {
  BootReport r;
  ASSERT_TRUE(parse_boot("^BOOT:99999999999,1,2,3,4", r));
  EXPECT_EQ(r.values[0], 4294967295u);
  EXPECT_EQ(r.values[1], 1u);
}

}  // namespace
}  // namespace kivo

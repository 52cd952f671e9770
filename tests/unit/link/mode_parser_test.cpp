#include "link/mode_parser.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(ParseMode, ReadsSystemModeAndSubMode) {
  ModeReport r;
  ASSERT_TRUE(parse_mode("^MODE:5,7\r\n", r));
  EXPECT_EQ(r.sys_mode, 5u);
  EXPECT_EQ(r.sub_mode, 7u);
  ASSERT_TRUE(parse_mode("^MODE: 3,3", r));
  EXPECT_EQ(r.sys_mode, 3u);
  EXPECT_EQ(r.sub_mode, 3u);
}

TEST(ParseMode, MissingNumbersReadZeroWithinTheLine) {
  ModeReport r{9, 9};
  ASSERT_TRUE(parse_mode("^MODE:5\r\n4", r));
  EXPECT_EQ(r.sys_mode, 5u);
  EXPECT_EQ(r.sub_mode, 0u);
  ASSERT_TRUE(parse_mode("^MODE:", r));
  EXPECT_EQ(r.sys_mode, 0u);
  EXPECT_EQ(r.sub_mode, 0u);
  // No system mode: sub_mode is read one character past where it should have stood.
  ASSERT_TRUE(parse_mode("^MODE:,4", r));
  EXPECT_EQ(r.sys_mode, 0u);
  EXPECT_EQ(r.sub_mode, 4u);
}

TEST(ParseMode, FailsOnlyOnThePrefix) {
  ModeReport r;
  EXPECT_FALSE(parse_mode("^MODE5,7", r));
  EXPECT_FALSE(parse_mode("^mode:5,7", r));
  EXPECT_FALSE(parse_mode("", r));
}

}  // namespace
}  // namespace kivo

#include "link/number_reader.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(NumberReader, ReadsDecimalUpToTheFirstOtherCharacter) {
  const NumberReading n = read_number("17,99", 0);
  EXPECT_EQ(n.value, 17u);
  EXPECT_EQ(n.end, 2u);
  EXPECT_TRUE(n.found);
}

TEST(NumberReader, SkipsLeadingBlanksAndTabs) {
  const NumberReading n = read_number("+CSQ: \t 23,99", 5);
  EXPECT_EQ(n.value, 23u);
  EXPECT_EQ(n.end, 10u);
}

TEST(NumberReader, DoesNotSkipLineEnds) {
  const NumberReading n = read_number("\r\n5", 0);
  EXPECT_EQ(n.value, 0u);
  EXPECT_FALSE(n.found);
  EXPECT_EQ(n.end, 0u);
}

TEST(NumberReader, MissingNumberReadsZeroAndEndsWhereItStarted) {
  const NumberReading n = read_number("x  ,", 1);
  EXPECT_EQ(n.value, 0u);
  EXPECT_FALSE(n.found);
  EXPECT_EQ(n.end, 1u);  // the blanks are not consumed
}

TEST(NumberReader, HexInEitherCase) {
  EXPECT_EQ(read_number("00A1", 0, 16).value, 0xA1u);
  EXPECT_EQ(read_number("01b2c3d4\"", 0, 16).value, 0x01B2C3D4u);
  EXPECT_EQ(read_number("FfFf", 0, 16).value, 0xFFFFu);
}

TEST(NumberReader, HexLettersEndADecimalNumber) {
  const NumberReading n = read_number("12AB", 0, 10);
  EXPECT_EQ(n.value, 12u);
  EXPECT_EQ(n.end, 2u);
}

TEST(NumberReader, NoSignAndNoHexPrefix) {
  EXPECT_FALSE(read_number("-5", 0).found);
  EXPECT_FALSE(read_number("+5", 0).found);
  const NumberReading n = read_number("0x1F", 0, 16);
  EXPECT_EQ(n.value, 0u);
  EXPECT_EQ(n.end, 1u);
}

TEST(NumberReader, SaturatesAt32Bits) {
  EXPECT_EQ(read_number("4294967295", 0).value, 4294967295u);
  EXPECT_EQ(read_number("4294967296", 0).value, 4294967295u);
  const NumberReading n = read_number("99999999999999999999999,1", 0);
  EXPECT_EQ(n.value, 4294967295u);
  EXPECT_EQ(n.end, 23u);  // every digit is consumed
  EXPECT_EQ(read_number("123456789ABCDEF0", 0, 16).value, 0xFFFFFFFFu);
}

TEST(NumberReader, MaxDigitsCutsTheReading) {
  const NumberReading n = read_number("0000000100000000", 0, 16, 8);
  EXPECT_EQ(n.value, 1u);
  EXPECT_EQ(n.end, 8u);
}

TEST(NumberReader, NeverReadsOutsideTheText) {
  const char buffer[] = "123456";
  const std::string_view text(buffer, 3);  // "123"; the digits behind it must not count
  EXPECT_EQ(read_number(text, 0).value, 123u);
  const NumberReading beyond = read_number(text, 10);
  EXPECT_EQ(beyond.value, 0u);
  EXPECT_EQ(beyond.end, 3u);
  EXPECT_EQ(read_number(std::string_view(), 0).value, 0u);
}

TEST(NumberReader, Helpers) {
  EXPECT_EQ(first_line("abc\r\ndef"), "abc");
  EXPECT_EQ(first_line("abc\ndef"), "abc");
  EXPECT_EQ(first_line("abc"), "abc");
  EXPECT_TRUE(starts_with("^MODE:5", "^MODE:"));
  EXPECT_FALSE(starts_with("^MODE", "^MODE:"));
  EXPECT_FALSE(starts_with("^mode:5", "^MODE:"));
  EXPECT_EQ(hex_digit_value('f'), 15);
  EXPECT_EQ(hex_digit_value('G'), -1);
}

}  // namespace
}  // namespace kivo

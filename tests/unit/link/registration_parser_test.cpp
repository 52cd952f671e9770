#include "link/registration_parser.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(ParseCgregReport, StatusOnly) {
  RegistrationReport r{7, 7, 7};
  ASSERT_TRUE(parse_cgreg_report("+CGREG: 2\r\n", r));
  EXPECT_EQ(r.stat, 2u);
  EXPECT_EQ(r.lac, 0u);
  EXPECT_EQ(r.ci, 0u);
}

TEST(ParseCgregReport, StatusLacAndCell) {
  RegistrationReport r;
  ASSERT_TRUE(parse_cgreg_report("+CGREG: 1,\"00A1\",\"01B28ACB\"\r\n", r));
  EXPECT_EQ(r.stat, 1u);
  EXPECT_EQ(r.lac, 0xA1u);
  EXPECT_EQ(r.ci, 0x01B28ACBu);
  ASSERT_TRUE(parse_cgreg_report("+CGREG: 5,00a1,1b2c3d4", r));  // quotes are optional
  EXPECT_EQ(r.stat, 5u);
  EXPECT_EQ(r.lac, 0xA1u);
  EXPECT_EQ(r.ci, 0x1B2C3D4u);
}

TEST(ParseCgregReport, TheReadAnswerWithTwoOrFourFieldsFails) {
  RegistrationReport r;
  EXPECT_FALSE(parse_cgreg_report("+CGREG: 2,1\r\n\r\nOK\r\n", r));
  EXPECT_FALSE(parse_cgreg_report("+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n", r));
}

TEST(ParseCgregReport, AFifthFieldFails) {
  RegistrationReport r;
  EXPECT_FALSE(parse_cgreg_report("+CGREG: 1,\"00A1\",\"01B2C3D4\",2\r\n", r));
}

TEST(ParseCgregReport, OtherPrefixesFail) {
  RegistrationReport r;
  EXPECT_FALSE(parse_cgreg_report("+CREG: 1", r));
  EXPECT_FALSE(parse_cgreg_report("+cgreg: 1", r));
  EXPECT_FALSE(parse_cgreg_report("+CGREG", r));
}

TEST(ParseCgregReport, ReadsOnlyItsOwnLine) {
  RegistrationReport r;
  // The comma of the next line does not make this a two-field line.
  ASSERT_TRUE(parse_cgreg_report("+CGREG: 1\r\n,5", r));
  EXPECT_EQ(r.stat, 1u);
  // Status is read 8 characters from the start: a missing blank loses the digit.
  ASSERT_TRUE(parse_cgreg_report("+CGREG:1", r));
  EXPECT_EQ(r.stat, 0u);
}

}  // namespace
}  // namespace kivo

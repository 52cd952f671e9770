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

TEST(ParseCgregReport, ReadsTheShapesModemsSend) {
  const struct {
    const char* text;
    std::uint32_t stat, lac, ci;
  } rows[] = {
      // Newer firmware ends the location with the access technology.
      {"+CGREG: 1,\"00A1\",\"01B2C3D4\",2\r\n", 1, 0xA1, 0x01B2C3D4},
      {"+CGREG: 5,\"0426\",\"F00F\",6", 5, 0x426, 0xF00F},
      // Blanks behind the commas.
      {"+CGREG: 1, \"0426\", \"F00F\"\r\n", 1, 0x426, 0xF00F},
      {"+CGREG: 1, \"00A1\", \"01B2C3D4\", 2\r\n", 1, 0xA1, 0x01B2C3D4},
  };
  for (const auto& row : rows) {
    RegistrationReport r{7, 7, 7};
    ASSERT_TRUE(parse_cgreg_report(row.text, r)) << row.text;
    EXPECT_EQ(r.stat, row.stat) << row.text;
    EXPECT_EQ(r.lac, row.lac) << row.text;
    EXPECT_EQ(r.ci, row.ci) << row.text;
  }
}

TEST(ParseCgregReport, TheReadAnswerWithTwoOrFourFieldsFails) {
  RegistrationReport r;
  for (const char* text : {
           "+CGREG: 2,1\r\n\r\nOK\r\n",
           "+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n",
           "+CGREG: 2,1,00A1,01B2C3D4\r\n",  // the LAC is not quoted: n and stat in front
           "+CGREG: 2, 1\r\n\r\nOK\r\n",
           "+CGREG: 2, 1, \"0426\", \"F00F\"\r\n\r\nOK\r\n",
       })
    EXPECT_FALSE(parse_cgreg_report(text, r)) << text;
}

TEST(ParseCgregReport, AFifthFieldFails) {
  RegistrationReport r;
  // The read answer with the access technology.
  EXPECT_FALSE(parse_cgreg_report("+CGREG: 2,1,\"00A1\",\"01B2C3D4\",2\r\n", r));
  EXPECT_FALSE(parse_cgreg_report("+CGREG: 2, 1, \"00A1\", \"01B2C3D4\", 2\r\n", r));
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

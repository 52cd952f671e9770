#include "link/pin_mask.h"

#include <gtest/gtest.h>

#include <string>

namespace kivo {
namespace {

TEST(PinMask, EveryCodeBehindAPinCommandBecomesEightAsterisks) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"AT+CPIN=1234\r\n", "AT+CPIN=********\r\n"},
      {"AT^CPIN=12345678\r\n", "AT^CPIN=********\r\n"},
      {"AT+CPIN=\"12345678\",\"4321\"\r\n", "AT+CPIN=********\r\n"},
      {"AT+CPIN=1\r\r\nOK\r\nAT+CPIN=22\r", "AT+CPIN=********\r\r\nOK\r\nAT+CPIN=********\r"},
      {"AT+CPIN=9876", "AT+CPIN=********"},
      {"AT+CPIN?\r\n", "AT+CPIN?\r\n"},
      {"\r\n+CPIN: SIM PIN\r\n", "\r\n+CPIN: SIM PIN\r\n"},
  };
  for (const auto& c : cases) {
    char buffer[kPinMaskBufferSize];
    EXPECT_EQ(std::string(mask_pin_codes(c.text, buffer)), c.shown) << c.text;
  }
}

TEST(PinMask, ALongTextIsCutToTheBuffer) {
  std::string text = "AT+CPIN=1234\r\n" + std::string(3000, 'x');
  char buffer[kPinMaskBufferSize];
  const std::string_view shown = mask_pin_codes(text, buffer);
  EXPECT_EQ(shown.size(), kPinMaskBufferSize);
  EXPECT_EQ(shown.substr(0, 18), "AT+CPIN=********\r\n");
}

}  // namespace
}  // namespace kivo

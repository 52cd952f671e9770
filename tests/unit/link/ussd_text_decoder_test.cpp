#include "link/ussd_text_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "link/ussd_parser.h"

namespace kivo {
namespace {

// An encoder written from TS 23.038 for texts whose characters stand at their ASCII place in
// the GSM 7-bit default alphabet (letters, digits, blank and most punctuation): septets packed
// low bits first, seven spare bits at the end filled with CR.
std::string gsm7_hex(const std::string& text) {
  std::string hex;
  unsigned bits = 0, count = 0;
  auto put = [&](unsigned septet) {
    bits |= septet << count;
    count += 7;
    for (; count >= 8; count -= 8, bits >>= 8) {
      char octet[3];
      std::snprintf(octet, sizeof octet, "%02X", bits & 0xFF);
      hex += octet;
    }
  };
  for (char c : text) put(static_cast<unsigned char>(c) & 0x7F);
  if (count == 1) put('\r');
  if (count > 0) put(0);
  return hex;
}

std::string ucs2_hex(const std::string& text) {
  std::string hex;
  char unit[5];
  for (char c : text) {
    std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned char>(c));
    hex += unit;
  }
  return hex;
}

std::string decode(const std::string& hex, std::uint32_t dcs) {
  char out[182];
  return std::string(out, decode_ussd_hex(hex, dcs, out, sizeof out));
}

TEST(DecodeUssdHex, HexAnswersOfGsm7AndUcs2SchemesReadAsText) {
  for (const std::string text : {"Your balance is R12.34", "Balance", "1. Data\n2. Voice",
                                 "Bundle: 100MB, valid 30 days. Reply 1 to buy"}) {
    SCOPED_TRACE(text);
    for (std::uint32_t dcs : {0x00u, 0x0Fu, 0x40u, 0xF0u})
      EXPECT_EQ(decode(gsm7_hex(text), dcs), text);
    for (std::uint32_t dcs : {0x48u, 0x58u}) EXPECT_EQ(decode(ucs2_hex(text), dcs), text);
  }
  // A Huawei modem's answer to a balance enquiry, and its UCS2 form.
  EXPECT_EQ(decode("D9775D0E1287D961F7B80C4ACF41D298CC35A301", 15), "Your balance is R12.34");
  EXPECT_EQ(decode("00520031002E00350030002000E9", 72), "R1.50 \xE9");
  EXPECT_EQ(decode("C2303BEC1E9701", 15), "Balance");  // zero fill bits, not an '@'
  // Language first: "en" and CR before GSM 7-bit text, two packed octets before UCS2.
  EXPECT_EQ(decode(gsm7_hex("en\rHello"), 0x10), "Hello");
  EXPECT_EQ(decode("E5360048006900", 0x11), "");  // odd octet count after the language
  EXPECT_EQ(decode("E53600480069", 0x11), "Hi");
  // Extension characters and the euro sign (Windows-1252 0x80).
  EXPECT_EQ(decode(gsm7_hex("\x1b\x65 5"), 15), "\x80 5");
}

TEST(DecodeUssdHex, AnythingElseIsShownAsItCame) {
  const struct {
    const char* hex;
    std::uint32_t dcs;
  } rows[] = {
      {"Balance: R12.50", 15},                             // plain text
      {"20", 15},                                          // a blank: no letter or digit
      {"D9775D0E1287D961F7B80C4ACF41D298CC35A30", 15},     // odd length
      {"D9775D0E1287D961F7B80C4ACF41D298CC35A301", 0x44},  // 8-bit data
      {"D9775D0E1287D961F7B80C4ACF41D298CC35A301", 0x60},  // compressed
      {"D9775D0E1287D961F7B80C4ACF41D298CC35A301", 0x94},  // with a user-data header
      {"1234", 15},                                        // would be Greek capitals
      {"04120430", 72},  // Cyrillic: not in the window's code page
      {"0052003", 72},
      {"", 15},
  };
  for (const auto& row : rows) EXPECT_EQ(decode(row.hex, row.dcs), "") << row.hex;
}

TEST(ParseCusd, AHexAnswerIsDecodedWholeBeforeTheCut) {
  const std::string text(175, 'x');
  const std::string menu = "1. " + text + "\n2. Back";
  const std::string line = "+CUSD: 1,\"" + gsm7_hex(menu) + "\",15\r\nOK\r\n";
  UssdResponse response;
  const auto pos = parse_cusd(line, response);
  ASSERT_TRUE(pos);
  EXPECT_EQ(line.substr(*pos), "OK\r\n");
  EXPECT_EQ(std::string(response.text), "1. " + text + "\r\n2. ");  // 182 characters, LF as CR LF
}

}  // namespace
}  // namespace kivo

// Pages in the forms modems hand them over, the same ones the modem simulator sends, checked
// against a decoder written here straight from TS 23.038 (bit by bit, not by the carry method).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/cbm_parser.h"

namespace kivo {
namespace {

std::vector<std::uint8_t> octets(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

// Septet k holds bits 7k to 7k+6 of the content, least significant bit first.
std::vector<unsigned> septets(const std::vector<std::uint8_t>& content) {
  std::vector<unsigned> out(content.size() * 8 / 7);
  for (std::size_t bit = 0; bit < out.size() * 7; ++bit)
    out[bit / 7] |= ((content[bit / 8] >> (bit % 8)) & 1u) << (bit % 7);
  return out;
}

std::string reference_text(const std::vector<std::uint8_t>& page) {
  const std::vector<std::uint8_t> content(page.begin() + 6, page.end());
  std::vector<unsigned> units;
  if (page[4] == 0x11) {  // UCS2 behind a language code in two octets
    for (std::size_t i = 2; i + 1 < content.size(); i += 2)
      units.push_back(content[i] << 8 | content[i + 1]);
  } else {
    units = septets(content);
  }
  while (!units.empty() && (units.back() == '\r' || units.back() == 0)) units.pop_back();
  std::string text;
  for (unsigned u : units) text += u == 0 ? '@' : u < 0x100 ? static_cast<char>(u) : '?';
  return text;
}

TEST(CbmPages, EachFormDecodesAsTheStandardSays) {
  const struct {
    const char* name;
    const char* hex;
    std::uint16_t channel;
    std::uint8_t dcs;
    const char* text;
  } pages[] = {
      {"a whole GSM 7-bit page with '@'",
       "402500320111CBB23BCDBEBFE5743408001AB2C3F272FBEDA6B340C330BC0CA2BEEF6E104C166B341A8D46A3D1"
       "68341A8D46A3D168341A8D46A3D168341A8D46A3D168341A8D46A3D168341A8D46A3D168341A8D46A3D100",
       50, 0x01, "Kenilworth @ Claremont, Cape Town 021"},
      {"an emergency alert of 65 octets",
       "1F40111201115079799E2697DDF474980D0AB2CB72BA0E1406D1CB733AE86D06D1D165903B4C4FBFDD613628"
       "CC2ECBE9A0797E4E2FB75D20E71B141ED3D36FB70B",
       4370, 0x01, "Presidential Alert: a test of the national alert system. No action."},
      {"UCS2 with a language prefix",
       "0C8103971111E43200DC00620075006E0067003A0020005300740072006100DF006500200067006500730070"
       "0065007200720074002020130020005A006900760069006C00730063006800750074007A000D000D000D000D",
       919, 0x11,
       "\xDC"
       "bung: Stra\xDF"
       "e gesperrt ? Zivilschutz"},
  };
  for (const auto& p : pages) {
    const std::string hex = p.hex;
    const std::string data =
        "+CBM: " + std::to_string(hex.size() / 2) + "\r\n" + hex + "\r\n\r\nOK\r\n";
    CellBroadcastPage page;
    const auto end = parse_cbm(data, page);
    ASSERT_TRUE(end) << p.name;
    EXPECT_EQ(data.substr(*end), "\r\nOK\r\n") << p.name;
    EXPECT_EQ(page.message_identifier, p.channel) << p.name;
    EXPECT_EQ(page.dcs, p.dcs) << p.name;
    EXPECT_EQ(page.text, reference_text(octets(hex))) << p.name;
    EXPECT_EQ(page.text, std::string(p.text)) << p.name;
  }
}

TEST(CbmPages, GeneralDataCodingInUcs2HasNoLanguagePrefix) {
  CellBroadcastPage page;
  // DCS 48: UCS2, uncompressed, no class; "Hi" then U+000D padding.
  ASSERT_TRUE(parse_cbm("+CBM: 14\r\n00010032481100480069000D000D\r\n", page));
  EXPECT_STREQ(page.text, "Hi");
}

}  // namespace
}  // namespace kivo

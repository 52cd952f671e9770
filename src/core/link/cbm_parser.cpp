#include "link/cbm_parser.h"

#include <cstdint>

#include "link/number_reader.h"

namespace kivo {

namespace {

unsigned nibble(std::string_view s, std::size_t i) {
  if (i >= s.size()) return 0;
  const int v = hex_digit_value(s[i]);
  return v < 0 ? 0u : static_cast<unsigned>(v);
}

unsigned hex_field(std::string_view s, std::size_t column, std::size_t digits) {
  unsigned value = 0;
  for (std::size_t i = 0; i < digits; ++i) value = value * 16 + nibble(s, column + i);
  return value;
}

}  // namespace

std::optional<std::size_t> parse_cbm(std::string_view text, CellBroadcastPage& page) {
  constexpr std::string_view kPrefix = "+CBM: 88\r\n";
  constexpr std::size_t kContentColumn = 22;
  constexpr std::size_t kMaxContentOctets = 82;
  page = CellBroadcastPage{};
  if (!starts_with(text, kPrefix)) return std::nullopt;

  page.serial_number = static_cast<std::uint16_t>(hex_field(text, 10, 4));
  page.message_identifier = static_cast<std::uint16_t>(hex_field(text, 14, 4));
  page.dcs = static_cast<std::uint8_t>(hex_field(text, 18, 2));
  page.page = static_cast<std::uint8_t>(nibble(text, 20));
  page.pages = static_cast<std::uint8_t>(nibble(text, 21));
  if (page.page == 0 || page.pages == 0) page.page = page.pages = 1;

  // GSM 7-bit packed septets (3GPP TS 23.038).
  std::size_t length = 0;
  unsigned shift = 0;
  unsigned carry = 0;
  std::size_t pos = kContentColumn;
  for (std::size_t octets = 0; octets < kMaxContentOctets; ++octets, pos += 2) {
    if (pos + 1 >= text.size() || text[pos] == '\r' || text[pos + 1] == '\r') break;
    const unsigned e = nibble(text, pos) * 16 + nibble(text, pos + 1);
    page.text[length++] = static_cast<char>((((e << shift) & 0xFFu) | carry) & 0x7Fu);
    carry = e >> (7 - shift);
    if (++shift == 7) {
      page.text[length++] = static_cast<char>(carry);
      shift = 0;
      carry = 0;
    }
  }
  // 82 octets give at most 93 characters, so the terminator always fits.
  page.text[length] = '\0';
  while (length > 0) {
    const char c = page.text[length - 1];
    if (c != '\0' && c != '\t' && c != '\n' && c != '\r' && c != ' ') break;
    page.text[--length] = '\0';
  }
  for (std::size_t i = 0; i < length; ++i)
    if (page.text[i] == 0x11) page.text[i] = ' ';

  // Behind the CR and LF that end the page line.
  if (pos > text.size()) pos = text.size();
  while (pos < text.size() && text[pos] != '\r') ++pos;
  if (pos < text.size()) ++pos;
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return pos;
}

}  // namespace kivo

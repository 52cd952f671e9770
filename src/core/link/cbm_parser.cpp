#include "link/cbm_parser.h"

#include <cstdint>

#include "link/number_reader.h"

namespace kivo {

namespace {

constexpr std::size_t kHeaderOctets = 6;
constexpr std::size_t kMaxPageOctets = 88;
constexpr std::size_t kMaxContentOctets = kMaxPageOctets - kHeaderOctets;
constexpr std::size_t kMaxCharacters = CellBroadcastPage::kTextSize - 1;

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

// The content octets as hex pairs, up to a CR or the page's length.
struct Content {
  std::uint8_t octets[kMaxContentOctets] = {};
  std::size_t size = 0;
  std::size_t end = 0;  // where the hex digits stopped
};

Content read_content(std::string_view text, std::size_t start, std::size_t octets) {
  Content content;
  std::size_t pos = start;
  for (; content.size < octets; pos += 2) {
    if (pos + 1 >= text.size() || text[pos] == '\r' || text[pos + 1] == '\r') break;
    content.octets[content.size++] =
        static_cast<std::uint8_t>(nibble(text, pos) * 16 + nibble(text, pos + 1));
  }
  content.end = pos;
  return content;
}

// Septets from GSM 7-bit packed octets (3GPP TS 23.038).
std::size_t unpack_septets(const Content& content, std::uint16_t* units) {
  std::size_t length = 0;
  unsigned shift = 0;
  unsigned carry = 0;
  for (std::size_t i = 0; i < content.size; ++i) {
    const unsigned e = content.octets[i];
    units[length++] = static_cast<std::uint16_t>((((e << shift) & 0xFFu) | carry) & 0x7Fu);
    carry = e >> (7 - shift);
    if (++shift == 7) {
      units[length++] = static_cast<std::uint16_t>(carry);
      shift = 0;
      carry = 0;
    }
  }
  return length;
}

// Big-endian UCS2 characters from `first` on.
std::size_t unpack_ucs2(const Content& content, std::size_t first, std::uint16_t* units) {
  std::size_t length = 0;
  for (std::size_t i = first; i + 1 < content.size; i += 2)
    units[length++] = static_cast<std::uint16_t>(content.octets[i] << 8 | content.octets[i + 1]);
  return length;
}

// UCS2 data coding schemes of a cell-broadcast page; 0x11 puts a two-septet language code in
// front of the text, packed into two octets.
bool is_ucs2(std::uint8_t dcs) {
  constexpr std::uint8_t kUcs2WithLanguage = 0x11;
  // General data coding, uncompressed, with or without a message class.
  return dcs == kUcs2WithLanguage || (dcs & 0xEC) == 0x48;
}

bool is_padding(std::uint16_t c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// The page's characters as text: the GSM alphabet is kept as it is, except that septet 0 ('@')
// must not end the text and 0x11 shows as a blank; UCS2 characters beyond Latin-1 show as '?'.
char text_character(std::uint16_t unit, bool ucs2) {
  if (ucs2) return unit == 0 ? ' ' : unit < 0x100 ? static_cast<char>(unit) : '?';
  if (unit == 0) return '@';
  if (unit == 0x11) return ' ';
  return static_cast<char>(unit);
}

void decode_text(const Content& content, std::uint8_t dcs, char* text) {
  std::uint16_t units[kMaxCharacters + 1] = {};
  const bool ucs2 = is_ucs2(dcs);
  std::size_t length =
      ucs2 ? unpack_ucs2(content, dcs == 0x11 ? 2 : 0, units) : unpack_septets(content, units);
  // Unused space at the end of a page is padded with CR.
  while (length > 0 && is_padding(units[length - 1])) --length;
  for (std::size_t i = 0; i < length; ++i) text[i] = text_character(units[i], ucs2);
  text[length] = '\0';
}

}  // namespace

std::optional<std::size_t> parse_cbm(std::string_view text, CellBroadcastPage& page) {
  constexpr std::string_view kPrefix = "+CBM: ";
  page = CellBroadcastPage{};
  if (!starts_with(text, kPrefix)) return std::nullopt;
  const NumberReading length = read_number(text, kPrefix.size());
  if (length.value < kHeaderOctets || length.value > kMaxPageOctets ||
      text.substr(length.end, 2) != "\r\n")
    return std::nullopt;
  const std::size_t header = length.end + 2;

  page.serial_number = static_cast<std::uint16_t>(hex_field(text, header, 4));
  page.message_identifier = static_cast<std::uint16_t>(hex_field(text, header + 4, 4));
  page.dcs = static_cast<std::uint8_t>(hex_field(text, header + 8, 2));
  page.page = static_cast<std::uint8_t>(nibble(text, header + 10));
  page.pages = static_cast<std::uint8_t>(nibble(text, header + 11));
  if (page.page == 0 || page.pages == 0) page.page = page.pages = 1;

  const Content content =
      read_content(text, header + 2 * kHeaderOctets, length.value - kHeaderOctets);
  decode_text(content, page.dcs, page.text);

  // Behind the CR and LF that end the page line.
  std::size_t pos = content.end > text.size() ? text.size() : content.end;
  while (pos < text.size() && text[pos] != '\r') ++pos;
  if (pos < text.size()) ++pos;
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return pos;
}

}  // namespace kivo

#include "link/flow_parser.h"

#include <cstdint>
#include <cstring>

#include "link/number_reader.h"

namespace kivo {

namespace {

std::uint32_t field(std::string_view line, std::size_t column,
                    std::size_t max_digits = kUnlimitedDigits) {
  return read_number(line, column, 16, max_digits).value;
}

std::int64_t wide_field(std::string_view line, std::size_t high_column) {
  const std::uint64_t high = field(line, high_column, 8);
  const std::uint64_t low = field(line, high_column + 8);
  // high * 2^32 + low, kept as the 64-bit pattern the modem sent.
  return static_cast<std::int64_t>((high << 32) | low);
}

bool is_hex_digit(char c) {
  return hex_digit_value(c) >= 0;
}

// The value of the eight hex digits at `p`, most significant first; false when one of them is
// no hex digit. Eight characters at once (SWAR): each byte is checked against the three ranges
// 0-9, A-F and a-f, then turned into its nibble.
bool read_hex8(const char* p, std::uint32_t& value) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kLow7 = kOnes * 0x7F;
  constexpr std::uint64_t kHigh = kOnes * 0x80;
  std::uint64_t x;
  std::memcpy(&x, p, sizeof x);  // p[0] in the lowest byte
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  x = __builtin_bswap64(x);
#endif
  // Per byte: 0x80 when m < byte < n (bytes of 128 and more never are); Bit Twiddling Hacks.
  const auto between = [&](std::uint64_t m, std::uint64_t n) {
    return (kOnes * (127 + n) - (x & kLow7)) & ~x & ((x & kLow7) + kOnes * (127 - m)) & kHigh;
  };
  const std::uint64_t valid =
      between('0' - 1, '9' + 1) | between('A' - 1, 'F' + 1) | between('a' - 1, 'f' + 1);
  // Digit values: the low nibble, plus 9 for a letter (bit 6 set).
  const std::uint64_t digits = (x & (kOnes * 0x0F)) + ((x >> 6) & kOnes) * 9;
  // Pairs into bytes (first digit high), then the four bytes in order.
  const std::uint64_t pairs = ((digits << 4) | (digits >> 8)) & 0x00FF00FF00FF00FFull;
  value = static_cast<std::uint32_t>((pairs & 0xFF) << 24 | ((pairs >> 16) & 0xFF) << 16 |
                                     ((pairs >> 32) & 0xFF) << 8 | ((pairs >> 48) & 0xFF));
  return valid == kHigh;
}

// The line as the modem sends it (every field eight hex digits at its column, a comma behind
// each, no hex digit in column 89): the values the general reading below gives, found faster.
// False when the line is any other.
bool parse_standard_line(std::string_view line, FlowReport& report) {
  // (`line` may run on behind the line: column 89 is tested to be no hex digit, as a line end is.)
  constexpr std::size_t kLength = 89;
  constexpr std::size_t kColumns[9] = {11, 20, 29, 38, 46, 55, 63, 72, 81};
  if (line.size() < kLength) return false;
  const char* s = line.data();
  std::uint32_t v[9];
  bool ok = true;
  for (std::size_t k = 0; k < 9; ++k) ok &= read_hex8(s + kColumns[k], v[k]);
  // The commas: readings that are not cut after eight digits end there, and the line holds no
  // line end before column 89.
  for (std::size_t column : {19, 28, 37, 54, 71, 80}) ok &= s[column] == ',';
  if (line.size() > kLength) ok &= !is_hex_digit(s[kLength]);
  if (!ok) return false;
  report.duration = v[0];
  report.tx_rate = v[1];
  report.rx_rate = v[2];
  report.tx_bytes = static_cast<std::int64_t>(std::uint64_t{v[3]} << 32 | v[4]);
  report.rx_bytes = static_cast<std::int64_t>(std::uint64_t{v[5]} << 32 | v[6]);
  report.qos_tx = v[7];
  report.qos_rx = v[8];
  return true;
}

}  // namespace

bool parse_dsflowrpt(std::string_view text, FlowReport& report) {
  constexpr std::string_view kPrefix = "^DSFLOWRPT:";
  if (!starts_with(text, kPrefix)) return false;
  // The standard line is all hex digits and commas up to column 88, so it holds no line end
  // there and can be tested before the line is looked for.
  if (parse_standard_line(text, report)) return true;
  const std::string_view line = first_line(text);
  report.duration = field(line, 11);
  report.tx_rate = field(line, 20);
  report.rx_rate = field(line, 29);
  report.tx_bytes = wide_field(line, 38);
  report.rx_bytes = wide_field(line, 55);
  report.qos_tx = field(line, 72);
  report.qos_rx = field(line, 81);
  return true;
}

}  // namespace kivo

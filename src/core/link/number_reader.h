#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

namespace kivo {

// How every parser of modem text reads a number: an unsigned 32-bit number; leading blanks (space,
// tab) skipped; digits of the base (10, or 16 in either letter case) up to the first other
// character; saturating at 4294967295; a missing number reads as 0. No sign and no "0x" prefix are
// accepted.
struct NumberReading {
  std::uint32_t value = 0;
  // Index just behind the last digit read. When there was no digit it is the index the reading
  // started at (blanks are then not counted as consumed), as strtoul leaves its end pointer.
  std::size_t end = 0;
  bool found = false;  // at least one digit
};

constexpr std::size_t kUnlimitedDigits = std::numeric_limits<std::size_t>::max();

namespace detail {
// Digit values of the characters 0-9, A-F and a-f; 0xFF for every other character.
struct DigitTable {
  unsigned char value[256];
  constexpr DigitTable() : value() {
    for (int i = 0; i < 256; ++i) value[i] = 0xFF;
    for (int i = 0; i < 10; ++i) value['0' + i] = static_cast<unsigned char>(i);
    for (int i = 0; i < 6; ++i) {
      value['A' + i] = static_cast<unsigned char>(10 + i);
      value['a' + i] = static_cast<unsigned char>(10 + i);
    }
  }
};
inline constexpr DigitTable kDigitTable{};
}  // namespace detail

// The value of one hexadecimal digit character (0-9, A-F, a-f), or -1.
inline int hex_digit_value(char c) {
  const unsigned v = detail::kDigitTable.value[static_cast<unsigned char>(c)];
  return v == 0xFF ? -1 : static_cast<int>(v);
}

// The part of `text` up to (not including) its first CR or LF: one line.
inline std::string_view first_line(std::string_view text) {
  if (text.empty()) return text;
  std::size_t end = text.size();
  if (const void* cr = std::memchr(text.data(), '\r', end))
    end = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
  if (const void* lf = std::memchr(text.data(), '\n', end))
    end = static_cast<std::size_t>(static_cast<const char*>(lf) - text.data());
  return text.substr(0, end);
}

// Reads at `pos` in `text`, never looking outside `text` (a `pos` beyond its end reads as a
// missing number at the end). At most `max_digits` digits are taken (the flow report cuts a
// 16-digit field after its eighth digit); reading stops there as at any other character.
inline NumberReading read_number(std::string_view text, std::size_t pos, unsigned base = 10,
                                 std::size_t max_digits = kUnlimitedDigits) {
  NumberReading r;
  const std::size_t size = text.size();
  if (pos > size) pos = size;
  r.end = pos;
  const char* const data = text.data();
  std::size_t i = pos;
  while (i < size && (data[i] == ' ' || data[i] == '\t')) ++i;
  const std::size_t first = i;
  const std::size_t limit = size - i > max_digits ? i + max_digits : size;
  std::uint64_t value = 0;  // kept at most 2^32 - 1, so value * base + digit never overflows
  for (; i < limit; ++i) {
    const unsigned d = detail::kDigitTable.value[static_cast<unsigned char>(data[i])];
    if (d >= base) break;
    value = value * base + d;
    if (value > 0xFFFFFFFFu) value = 0xFFFFFFFFu;
  }
  if (i > first) {
    r.value = static_cast<std::uint32_t>(value);
    r.end = i;
    r.found = true;
  }
  return r;
}

// Whether `text` begins with `prefix`, byte for byte (case-sensitive).
inline bool starts_with(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace kivo

#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kivo {

// A text in the GSM 7-bit default alphabet (3GPP TS 23.038): one septet per character, two for
// a character of the extension table (the escape 1B, then its code).
struct Gsm7Text {
  std::vector<std::uint8_t> septets;
  // Characters the alphabet does not hold, each sent as '?'.
  std::size_t replaced = 0;
};

// Translates UTF-16 text; a character outside both tables becomes '?' (a surrogate pair, one
// character, becomes one '?').
Gsm7Text to_gsm7(std::u16string_view text);

}  // namespace kivo

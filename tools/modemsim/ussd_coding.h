#pragma once

#include <string>

namespace modemsim {

// The network's text as the hex digits of its GSM 7-bit packed form (3GPP TS 23.038; CR fills
// seven spare bits at the end). Text bytes are Latin-1; a character the alphabet lacks goes as '?'.
std::string gsm7_packed_hex(const std::string& text);

// The text as the hex digits of UCS2, each Latin-1 byte one character.
std::string ucs2_hex(const std::string& text);

}  // namespace modemsim

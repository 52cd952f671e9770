#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kivo {

// Many modems (the Huawei E-series among them) hand a USSD answer over as the hex digits of its
// coded form: GSM 7-bit septets packed into octets, or UCS2. Decodes such a string into the
// window's code page (Windows-1252), at most `capacity` characters into `out`, and returns how
// many it wrote; 0 when the string is to be shown as it came.
//
// A string counts as hex only when all of this holds, so that a plain-text answer is never
// mangled:
// - the data coding scheme `dcs` (3GPP TS 23.038, the CBS schemes USSD uses) names the GSM 7-bit
//   default alphabet or UCS2, uncompressed, without a user-data header;
// - the string is non-empty, of even length (whole UCS2 characters for UCS2), hex digits only;
// - what it decodes to is CR, LF and characters the window can show, with at least one letter or
//   digit among them.
std::size_t decode_ussd_hex(std::string_view hex, std::uint32_t dcs, char* out,
                            std::size_t capacity);

}  // namespace kivo

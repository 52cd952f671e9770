#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "link/reports.h"

namespace kivo {

// "+CBM:". `text` is the line start and the rest of the received chunk: the header
// line "+CBM: 88" and the page line of 176 hexadecimal digits behind it. Fails (nullopt) unless
// the text begins with "+CBM: 88\r\n". Header fields are read from their columns (a character
// that is not a hex digit, or one beyond the text, counts as 0); page 0 or pages 0 makes both 1.
// The content, from column 22 up to a CR (at most 82 octets), is unpacked as GSM 7-bit septets
// (no alphabet translation), trailing NUL, tab, LF, CR and blanks are removed and 0x11 becomes a
// blank. Returns the position behind the CR and LF that end the page line (behind the CR alone
// when no LF follows it; the end of `text` when there is no CR), never beyond `text`.
std::optional<std::size_t> parse_cbm(std::string_view text, CellBroadcastPage& page);

}  // namespace kivo

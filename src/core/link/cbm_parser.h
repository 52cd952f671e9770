#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "link/reports.h"

namespace kivo {

// "+CBM:". `text` is the line start and the rest of the received chunk: the header line
// "+CBM: <length>" and the page line behind it, <length> octets (6 to 88) as hex digits. A full
// page has 88; some modems hand over only the octets a page uses (an emergency alert may come as
// "+CBM: 65"). Fails (nullopt) for any other header line. The fields of the 6-octet page header
// are read from their columns (a character that is not a hex digit, or one beyond the text,
// counts as 0); page 0 or pages 0 makes both 1. The content, up to a CR and at most the octets the
// length announces, is unpacked as GSM 7-bit septets (no alphabet translation, but septet 0 shows
// as '@' and 0x11 as a blank), or read as UCS2 when the coding scheme says so (Latin-1 kept, the
// rest shown as '?', a language prefix skipped). Trailing NUL, tab, LF, CR and blanks are
// removed. Returns the position behind the CR and LF that end the page line (behind the CR alone
// when no LF follows it; the end of `text` when there is no CR), never beyond `text`.
std::optional<std::size_t> parse_cbm(std::string_view text, CellBroadcastPage& page);

}  // namespace kivo

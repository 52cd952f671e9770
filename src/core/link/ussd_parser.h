#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "link/reports.h"

namespace kivo {

// "+CUSD:". `text` is the line start and the rest of the received chunk: the string
// runs from the quote behind "+CUSD: <status>," to the last double quote anywhere in `text`, so a
// string over several lines is taken whole. A string the modem handed over as hex digits of its
// data coding scheme is decoded first (decode_ussd_hex). Copies at most 182 characters of it into
// `response.text`, each LF not preceded by CR turned into CR LF, always NUL-terminated.
//
// Returns the position in `text` behind the report: two characters behind the last digit of the
// data coding scheme that follows the closing quote and its comma (past the line end), never
// beyond `text`. When no scheme follows, the position behind what was read (the closing quote,
// and the comma if one stands there). Fails (nullopt) when the text does not begin with
// "+CUSD: ", when no opening quote stands one character behind the status, or when no closing
// quote follows it. The response is zeroed first; on failure it holds what was read so far (the
// caller then sets its status to 255).
std::optional<std::size_t> parse_cusd(std::string_view text, UssdResponse& response);

}  // namespace kivo

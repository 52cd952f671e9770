#pragma once

#include <string_view>

#include "link/reports.h"

namespace kivo {

// "^MODE:". `text` is the line start (the rest of the received chunk); only its first
// line is read. Fails only when the text does not begin with "^MODE:". `sys_mode` is the decimal
// number read 6 characters after the start, `sub_mode` the one read one character past its end.
bool parse_mode(std::string_view text, ModeReport& report);

}  // namespace kivo

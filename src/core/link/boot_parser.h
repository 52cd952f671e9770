#pragma once

#include <string_view>

#include "link/reports.h"

namespace kivo {

// "^BOOT:". `text` is the line start (the rest of the received chunk); only its first
// line is read. True when it begins with "^BOOT:"; then five decimal numbers are read, the first
// right behind the prefix, each following one after skipping exactly one character (the
// separator) behind the previous number; a missing number reads as 0.
bool parse_boot(std::string_view text, BootReport& report);

}  // namespace kivo

#pragma once

#include <string>

#include "base/trace.h"

namespace kivo {

// printf-style formatting into a string of whatever length the text needs.
std::string format_text(const char* format, ...) KIVO_PRINTF(1, 2);

}  // namespace kivo

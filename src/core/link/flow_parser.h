#pragma once

#include <string_view>

#include "link/reports.h"

namespace kivo {

// "^DSFLOWRPT:". `text` is the line start (the rest of the received chunk). Returns
// false only when it does not begin with "^DSFLOWRPT:" (then nothing is stored). The seven
// hexadecimal fields are read at their fixed columns (11, 20, 29, 38+46, 55+63, 72, 81); each
// 16-digit field is two readings, the first cut after eight digits (high 32 bits), the second
// from the ninth digit's column on (low 32 bits). Only the first line is read: a field that lies
// beyond a short line, or that holds no digit at its column, reads as 0.
bool parse_dsflowrpt(std::string_view text, FlowReport& report);

}  // namespace kivo

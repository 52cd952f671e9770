#pragma once

#include <string_view>

#include "link/reports.h"

namespace kivo {

// Unsolicited "+CGREG:" report. `text` is the line start (the rest of the received
// chunk); only its first line is read. Accepts the report forms with one field (stat) or three
// (stat, "lac", "ci"; lac and ci hexadecimal, the quotes optional); fails on two or four or more
// fields, which is how the answer to AT+CGREG? (n in front) is told from a report. The report is
// zeroed before parsing (once the prefix has matched).
bool parse_cgreg_report(std::string_view text, RegistrationReport& report);

}  // namespace kivo

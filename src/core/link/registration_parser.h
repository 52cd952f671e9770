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

// The answer to AT+CGREG?: "+CGREG: <n>,<stat>" with optionally ,"<lac>","<ci>" (hexadecimal,
// the quotes optional). Only the first line is read. Fails without the prefix, without the comma
// behind n, or when a lac is not followed by a ci. The report is zeroed once the prefix matched.
bool parse_cgreg_read(std::string_view text, RegistrationReport& report);

}  // namespace kivo

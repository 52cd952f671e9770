#pragma once

#include <string_view>

#include "link/reports.h"

namespace kivo {

// Unsolicited "+CGREG:" report. `text` is the line start (the rest of the received
// chunk); only its first line is read, from 8 characters behind its start. Accepts the report
// forms with one field (stat), three (stat, "lac", "ci"; lac and ci hexadecimal, the quotes
// optional) or four with a quoted lac second (stat, "lac", "ci", AcT). Fails on two fields, on
// four without that quote, and on five or more: that is how the answer to AT+CGREG? (n in
// front) is told from a report. Blanks around a field do not count. The report is zeroed
// before parsing (once the prefix has matched).
bool parse_cgreg_report(std::string_view text, RegistrationReport& report);

// The answer to AT+CGREG?: "+CGREG: <n>,<stat>" with optionally ,"<lac>","<ci>" (hexadecimal,
// the quotes optional) and further fields (the AcT). Only the first line is read; blanks around a
// field do not count. Fails without the prefix, without the comma behind n, or when a lac is not
// followed by a ci. The report is zeroed once the prefix matched.
bool parse_cgreg_read(std::string_view text, RegistrationReport& report);

}  // namespace kivo

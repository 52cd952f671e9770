#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "status/network_context.h"

namespace kivo {

// Keeps `text` as the technology last shown (cut to 95 bytes at a character boundary) and shows
// it in 1012. Writes no log row: the Novatel network-mode read sets the technology this way.
void set_technology(const NetworkContext& context, std::string_view text);

// set_technology, then a "RAT" row while logging is on, changed text or not: every technology
// update of the reports and queries is logged.
void show_technology(const NetworkContext& context, std::string_view text);

// The standard command set has no technology query: 1012 shows "Unknown", and the technology
// kept for the log stays as it was.
void show_technology_unknown(const NetworkContext& context);

// The text of a Novatel network value (the third number of "$NWRAT:").
std::string novatel_network_text(std::uint32_t network);

// Huawei system mode and sub-mode ("^MODE:" reports, "^SYSINFO").
void show_mode(const NetworkContext& context, std::uint32_t sys_mode, std::uint32_t sub_mode);

// Shows the system mode and sub-mode of an answer to AT^SYSINFO; false (and nothing changed)
// when the answer has no "^SYSINFO:".
bool show_sysinfo(const NetworkContext& context, const std::string& answer);

// The technology queries of the Option (AT_OCTI?, AT_OWCTI?, AT_OHCIP?), Novatel (AT$NWRAT?)
// and Sierra (AT*CNTI=0) command sets.
void query_rat_option(const NetworkContext& context);
void query_rat_novatel(const NetworkContext& context);
void query_rat_sierra(const NetworkContext& context);

}  // namespace kivo

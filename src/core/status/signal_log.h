#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "status/network_context.h"

namespace kivo {

// The first line of a new signal log.
constexpr std::string_view kSignalLogHeader =
    "\"DATE\",\"TIME\",\"MESSAGEID\",\"MESSAGE\",\"RSSI\",\"RAT\",\"MCC/MNC\",\"LAC(HEX)\","
    "\"RNC/CELLID(HEX)\",\"CELLID(DEC)\"\r\n";

// A row is never longer than this, its line end included.
constexpr std::size_t kSignalLogRowLimit = 1023;

// One row: the local date and time, the message identifier and text, and the readings of the
// snapshot. Quotes inside the texts are doubled, so the row stays one CSV record; a message too
// long for the row limit is cut, and the row still ends in its closing quote and CR LF.
std::string format_signal_log_row(const LocalTime& now, std::int32_t message_identifier,
                                  std::string_view message, const NetworkSnapshot& snapshot);

// Appends one row to the signal log file (created when missing), whether logging is on or not.
// False when the file cannot be written; the row is then lost, and nothing is reported.
bool append_signal_log_row(const NetworkContext& context, std::int32_t message_identifier,
                           std::string_view message);

// A row with message identifier 0, only while logging is on.
void log_network_event(const NetworkContext& context, std::string_view message);

// The body of the signal-log worker, started by the logging button 1024: stops logging when it
// is on; otherwise asks for the file (a new one gets the header line) and starts. Ends by posting
// its done notice.
void toggle_signal_log(const NetworkContext& context);

}  // namespace kivo

#pragma once

#include <cstdint>
#include <string_view>

#include "status/network_context.h"

namespace kivo {

// "+CSQ: <rssi>,<ber>": rssi read behind the colon (blanks skipped), ber one character past its
// end.
// Fails only when the text does not begin with "+CSQ:".
bool parse_csq(std::string_view text, std::uint32_t& rssi, std::uint32_t& ber);

// AT+CSQ, then show_signal with the rssi; a response without "+CSQ:" changes nothing.
void poll_signal(const NetworkContext& context);

// Shows a signal value of the modem's scale (0..31, 99 none) in the text 1009 and the bar
// 1011, unless it equals the value last shown.
void show_signal(const NetworkContext& context, std::int32_t value);

}  // namespace kivo

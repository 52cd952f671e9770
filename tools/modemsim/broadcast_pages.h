#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "modem_state.h"

namespace modemsim {

// A cell-broadcast page the network can send, by name (`cbm NAME`): its octets in hex, header
// included (3GPP TS 23.041 GSM format).
std::optional<std::string_view> broadcast_page(std::string_view name);

// The names there are, for error messages.
std::string broadcast_page_names();

// Whether the AT+CSCB setting lets a page of this message identifier through: mode 0 accepts
// the identifiers listed (ranges "a-b" and single values), mode 1 all but those.
bool cscb_accepts(const ModemSession& session, std::uint16_t message_identifier);

// The unsolicited result of a page in PDU mode: "+CBM: <octets>" and the page in hex.
std::string cbm_report(std::string_view page_hex);

// The message identifier of a page in hex.
std::uint16_t page_message_identifier(std::string_view page_hex);

}  // namespace modemsim

#pragma once

#include <string>

#include "link/link_control.h"

namespace kivo {

// Hands a PDU in hex text to the modem: AT+CMGS with its TPDU length, then, once the modem has
// prompted with '>', the text and ctrl-Z. True when the text went out; the outcome comes later
// as "+CMGS:" or "+CMS ERROR:". No other thread's command gets between prompt and text.
bool send_pdu(LinkControl& link, const std::string& pdu);

}  // namespace kivo

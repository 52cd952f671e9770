#pragma once

#include "status/network_context.h"

namespace kivo {

// Shows the APN of the first PDP context the modem lists (AT+CGDCONT?) in 1035, and disables
// the set-APN button until the APN is edited.
void read_apn(const NetworkContext& context);

}  // namespace kivo

#pragma once

#include "setup/setup_context.h"

namespace kivo {

// Makes sure the SIM is ready, asking the user for the PIN as often as the modem wants it.
// False when the sequence must end (InitError): SIM missing, busy too long, PUK wanted, an
// unknown answer, or the user cancelled; every such end but a cancel has shown its box.
bool unlock_sim(const SetupContext& context);

// Huawei only: false, with the box naming the operator and the remaining unlock attempts, when
// the modem takes only another operator's SIM cards; true when it is not locked or has no lock.
bool check_network_lock(const SetupContext& context);

}  // namespace kivo

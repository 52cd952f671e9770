#pragma once

#include <cstdint>

#include "status/network_context.h"

namespace kivo {

// The name shown for an operator code when the modem gives no usable name.
const char* operator_name_for_code(std::uint32_t operator_code);

// Reads the registered operator's code (AT+COPS in numeric format); when it differs from the
// code last shown, shows MCC, MNC and the operator's name (AT+COPS in long format).
void poll_operator(const NetworkContext& context);

}  // namespace kivo

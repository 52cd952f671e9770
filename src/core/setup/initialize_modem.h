#pragma once

#include "setup/init_result.h"
#include "setup/setup_context.h"

namespace kivo {

// Brings a freshly opened modem into the state the program relies on: factory profile, echo
// off, numeric errors, radio on, SIM unlocked (asking for the PIN), not network-locked, SMS in
// PDU mode with indications, cell broadcasts, registration and USSD reports, the vendor's own
// reports; then takes the first readings of technology, network mode, APN, signal, operator and
// registration. Runs on the discovery thread before the poll timer starts; every failed step
// has shown its box when the result is InitError. Writes location_reports_enabled; DeviceReady
// is the caller's.
InitResult initialize_modem(const SetupContext& context);

}  // namespace kivo

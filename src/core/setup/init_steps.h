#pragma once

#include <optional>

#include "setup/init_result.h"
#include "setup/setup_context.h"

namespace kivo {

// The parts of the initialization sequence, in the order initialize_modem runs them.

// Where a part leaves the sequence: nothing to go on, or the result it ends with.
using StepEnd = std::optional<InitResult>;

// The port did not answer AT: it may speak only the diagnostic protocol. Three tries, a second
// apart; a diagnostic answer restarts the modem through that protocol (ResetByDiag), silence
// gives NotResponding.
InitResult run_diagnostic_probe(const SetupContext& context);

// Turns the radio on. A modem in flight mode, or one that stays off, is restarted
// (ResetByCfun); an answer without any radio state ends the sequence (InitError).
StepEnd check_radio(const SetupContext& context);

// SMS in PDU mode with new-message indications, and cell broadcasts on. False: InitError.
bool set_up_messages(const SetupContext& context);

// No circuit registration reports; packet registration reports with the location where the
// modem takes them (sets location_reports_enabled); USSD result codes. False: InitError.
bool set_up_reports(const SetupContext& context);

// The vendor's own reports, then the first technology and network-mode readings of the command
// set. False: InitError.
bool run_vendor_step(const SetupContext& context);

}  // namespace kivo

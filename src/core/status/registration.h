#pragma once

#include "link/reports.h"
#include "status/network_context.h"

namespace kivo {

// AT+CGREG?, then show_registration with the answer; an unreadable answer changes nothing.
void poll_registration(const NetworkContext& context);

// Shows a registration (polled, or an unsolicited "+CGREG:" report). A new home or roaming
// registration refreshes operator, technology and network mode once the modem is ready; a lost
// one clears the operator, technology and location; a new location is shown as LAC, RNC ID and
// Cell ID.
void show_registration(const NetworkContext& context, const RegistrationReport& report);

}  // namespace kivo

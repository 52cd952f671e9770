#pragma once

#include <string>

#include "base/worker_slots.h"
#include "link/reports.h"
#include "messaging/ussd_context.h"

namespace kivo {

// What the USSD input (1032) takes.
constexpr unsigned kUssdInputLimit = 80;

// The send button: unless a send thread runs, stops the poll, starts the 20 s session time-out
// and the send thread.
void on_ussd_send_button(const UssdContext& context, WorkerSlots& slots);

// Sends the first command typed in the USSD input and keeps the others for the network's
// questions; posts UssdSendWorkerDone last.
void ussd_send_thread(const UssdContext& context);

// Sends one command: a code ('*' ... '#', which ends a running session first) or, during a
// session, a reply. Refuses what breaks the rules or cannot go into the command with a warning
// box; true once the modem has taken it.
bool send_ussd(const UssdContext& context, const std::string& command);

// The window's thread, for each "+CUSD:" answer: shows it, and either keeps the session for the
// next question (sending the next pending command) or ends it (posts UssdSessionEnded).
void on_ussd_response(const UssdContext& context, const UssdResponse& response);

// Stops the session time-out, ends the network's session and empties the reply.
void cancel_ussd(const UssdContext& context);

// Back to no session: end button disabled, "Ready", the poll running again.
void ussd_ready(const UssdContext& context);

// The end-session button and the session time-out.
void end_ussd_session(const UssdContext& context);

}  // namespace kivo

#pragma once

#include <cstdint>

#include "base/message_boxes.h"
#include "base/process_starter.h"
#include "base/registry.h"
#include "base/worker_slots.h"
#include "usage/usage_context.h"

namespace kivo {

// What the dialer thread needs: it runs the dialer, may show a box, and posts its notice.
struct DialerContext {
  ProcessStarter& processes;
  MessageBoxes& boxes;
  MainView& view;
};

// The connect button: hangs up while online; otherwise starts the dialer unless it runs.
void on_connect_button(const UsageContext& context, WorkerSlots& slots,
                       const DialerContext& dialer);

// Runs the system's phone-book dialer until the user closes it; posts DialerWorkerDone last.
void dialer_thread(const DialerContext& context);

// Deactivates PDP context 1 and hangs up; the answers are not looked at.
void hang_up(AtChannel& channel);

// Whether Windows keeps dial-up connections over a log-off ("KeepRasConnections" is "1").
bool keep_ras_connections(Registry& registry);

// WM_CLOSE while online: asks whether to disconnect and save. False keeps the window open.
bool on_close_while_online(const UsageContext& context);

// WM_ENDSESSION: unless the session goes on, or a log-off keeps dial-up connections, hangs up,
// saves the session and closes the window.
void on_end_session(const UsageContext& context, Registry& registry, bool ending,
                    std::uint32_t flags);

}  // namespace kivo

#pragma once

#include "app/app_state.h"
#include "base/sleeper.h"
#include "link/link_control.h"
#include "view/main_view.h"

namespace kivo {

struct DiscoveryContext {
  AppState& state;
  MainView& view;
  LinkControl& link;
  Sleeper& sleeper;
};

// The discovery thread's body until the registry search and the modem initialization exist:
// it waits `wait_first_ms` (the modem restarting after a reset), then opens the port given on
// the command line, asks for registration reports with the location (AT+CGREG=2) and takes the
// first readings of the command set, the APN, signal, operator and registration, as the end of
// the initialization does. Ready or not, it posts DiscoveryDone as its last action, so the detect
// button can try again. Without a port on the command line there is nothing to search with
// yet: it shows "Detecting mobile data device..." and ends without posting, which leaves the
// discovery slot taken (reset and detect then do nothing).
void discovery_thread(const DiscoveryContext& context, unsigned wait_first_ms);

}  // namespace kivo

#pragma once

#include "app/app_state.h"
#include "app/main_view.h"
#include "link/at_channel.h"

namespace kivo {

// What the network-status operations work with: the modem, the main window and the shared
// state. The window's thread passes the modem link; the discovery thread passes the same link
// when it takes the first readings.
struct NetworkContext {
  AtChannel& channel;
  MainView& view;
  AppState& state;
};

}  // namespace kivo

#pragma once

#include "link/at_channel.h"
#include "link/device_state.h"
#include "status/network_state.h"
#include "view/main_view.h"

namespace kivo {

// What the network-status operations work with: the modem, the main window, the network slice
// of the shared state and what is known of the device. The window's thread passes the modem link;
// the discovery thread passes the same link when it takes the first readings.
struct NetworkContext {
  AtChannel& channel;
  MainView& view;
  NetworkState& network;
  const DeviceState& device;
};

}  // namespace kivo

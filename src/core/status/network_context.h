#pragma once

#include "base/clock.h"
#include "base/file_system.h"
#include "link/at_channel.h"
#include "link/device_state.h"
#include "status/network_state.h"
#include "view/main_view.h"

namespace kivo {

// What the network-status operations work with: the modem, the main window, the network slice
// of the shared state, what is known of the device, and the files and clock of the signal log.
// The window's thread passes the modem link; the discovery thread passes the same link when it
// takes the first readings; the signal-log worker passes it too but sends nothing.
struct NetworkContext {
  AtChannel& channel;
  MainView& view;
  NetworkState& network;
  const DeviceState& device;
  FileSystem& files;
  Clock& clock;
};

}  // namespace kivo

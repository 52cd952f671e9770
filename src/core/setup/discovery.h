#pragma once

#include <functional>

#include "base/registry.h"
#include "base/sleeper.h"
#include "link/device_state.h"
#include "link/link_control.h"
#include "link/serial_port.h"
#include "setup/init_result.h"
#include "view/main_view.h"

namespace kivo {

// What the discovery thread works with. `port_name` and `port_given` are the command line's
// (the port found is written to `port_name`); `initialize_modem` runs one initialization
// attempt on the open link.
struct ModemDiscoveryContext {
  LinkControl& link;
  MainView& view;
  Registry& registry;
  SerialPortOpener& ports;
  Sleeper& sleeper;
  DeviceState& device;
  char (&port_name)[kMaxPortNameLength + 1];
  bool port_given;
  std::function<InitResult()> initialize_modem;
};

// The discovery thread's body: after `wait_first_ms` (a modem restarting), searches the
// registry for the modem's port unless it was given, opens the link and initializes the modem,
// retrying and resetting as the results demand; it reports its progress in the status bar.
// Posts DiscoveryDone as its last action. 0 once the device is ready; 1 when the user cancelled,
// after which it has also asked the window to close.
int discovery_thread(const ModemDiscoveryContext& discovery, unsigned wait_first_ms);

}  // namespace kivo

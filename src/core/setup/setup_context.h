#pragma once

#include "base/clock.h"
#include "base/file_system.h"
#include "base/message_boxes.h"
#include "base/sleeper.h"
#include "link/at_channel.h"
#include "link/device_state.h"
#include "setup/pin_prompt.h"
#include "status/network_context.h"
#include "status/network_state.h"
#include "view/main_view.h"

namespace kivo {

// What the initialization sequence and its SIM steps work with. Runs on the discovery thread:
// `channel` is the open modem link, `boxes` shows the unowned error boxes, `sleeper` makes
// the one-second waits between retries; `files` and `clock` write the signal-log rows of the
// first readings.
struct SetupContext {
  AtChannel& channel;
  MainView& view;
  MessageBoxes& boxes;
  Sleeper& sleeper;
  PinPrompt& pin_prompt;
  NetworkState& network;
  const DeviceState& device;
  FileSystem& files;
  Clock& clock;

  NetworkContext network_context() const { return {channel, view, network, device, files, clock}; }
};

}  // namespace kivo

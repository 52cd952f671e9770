#pragma once

#include "base/message_boxes.h"
#include "link/at_channel.h"
#include "messaging/ussd_session.h"
#include "view/main_view.h"

namespace kivo {

// What the USSD operations work with: the modem, the main window and its boxes, and the session
// the window shares with the send thread. The window's thread and the send thread both use it;
// only the window's thread touches the timers.
struct UssdContext {
  AtChannel& channel;
  MainView& view;
  MessageBoxes& boxes;
  UssdSession& session;
  // The poll stays off while discovery initializes the modem; discovery starts it when done.
  bool discovery_running = false;
};

}  // namespace kivo

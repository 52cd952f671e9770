#pragma once

#include "base/message_boxes.h"
#include "link/at_channel.h"
#include "view/main_view.h"

namespace kivo {

struct ApnContext {
  AtChannel& channel;
  MainView& view;
  MessageBoxes& boxes;
};

// Writes the APN typed in the APN input into PDP context 1. Once the modem has taken it the set
// button waits for the next edit and Enter connects; posts ApnWorkerDone last.
void set_apn_thread(const ApnContext& context);

}  // namespace kivo

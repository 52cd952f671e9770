#pragma once

#include "base/clock.h"
#include "base/file_system.h"
#include "base/trace.h"
#include "link/at_channel.h"
#include "usage/usage_state.h"
#include "view/main_view.h"

namespace kivo {

// What the data-usage and connection operations work with, all on the window's thread: the
// modem, the main window, the usage slice of the shared state, the files and the clock for
// usage.bin and the session log, and the trace.
struct UsageContext {
  AtChannel& channel;
  MainView& view;
  UsageState& usage;
  FileSystem& files;
  Clock& clock;
  const Trace& trace;
};

}  // namespace kivo

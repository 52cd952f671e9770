#pragma once

#include "app/app_state.h"
#include "app/clock.h"
#include "app/file_system.h"
#include "app/main_view.h"
#include "app/trace.h"
#include "link/at_channel.h"

namespace kivo {

// What the data-usage and connection operations work with, all on the window's thread: the
// modem, the main window, the shared state, the files and the clock for usage.bin and the
// session log, and the trace.
struct UsageContext {
  AtChannel& channel;
  MainView& view;
  AppState& state;
  FileSystem& files;
  Clock& clock;
  const Trace& trace;
};

}  // namespace kivo

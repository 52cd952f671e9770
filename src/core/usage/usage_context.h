#pragma once

#include "base/clock.h"
#include "base/file_system.h"
#include "base/sleeper.h"
#include "base/trace.h"
#include "link/at_channel.h"
#include "usage/usage_state.h"
#include "view/main_view.h"

namespace kivo {

// What the data-usage and connection operations work with, all on the window's thread: the
// modem, the main window, the usage slice of the shared state, the files and the clock for
// usage.bin and the session log, the waits between reads of a held usage.bin, the trace, and
// what the command line asks.
// What the command line asks of the usage operations.
struct UsageSettings {
  bool session_log = false;   // keep sessionlog.csv
  bool hex_profiles = false;  // show the QoS profiles as raw hexadecimal
};

struct UsageContext {
  AtChannel& channel;
  MainView& view;
  UsageState& usage;
  FileSystem& files;
  Clock& clock;
  Sleeper& sleeper;
  const Trace& trace;
  UsageSettings settings = {};
};

}  // namespace kivo

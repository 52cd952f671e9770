#pragma once

#include <atomic>
#include <cstdint>

#include "app/command_set.h"
#include "app/data_paths.h"
#include "app/options.h"
#include "status/network_snapshot.h"
#include "usage/flow_counters.h"
#include "usage/usage_totals.h"

namespace kivo {

// The process-wide records and flags, owned in one place: one instance in the program, a fresh
// one in every test. Flags read by several threads are atomic.
struct AppState {
  Options options;
  std::atomic<CommandSet> command_set{CommandSet::Standard};
  DataPaths data_paths;
  // The link is open and its initialization succeeded.
  std::atomic<bool> device_ready{false};
  // The modem accepted location reports; the registration poll runs only then.
  std::atomic<bool> location_reports_enabled{false};
  NetworkSnapshot network;

  // The data connection, on the window's thread only.
  bool online = false;                    // believed up since the first flow report
  std::uint32_t watchdog_miss_count = 0;  // watchdog checks in a row without a usable answer
  SessionCounters session;
  RateStatistics rates;
  UsageTotals usage;  // the content of usage.bin
};

}  // namespace kivo

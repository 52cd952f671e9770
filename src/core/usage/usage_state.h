#pragma once

#include <cstdint>

#include "base/data_paths.h"
#include "usage/data_plan.h"
#include "usage/flow_counters.h"
#include "usage/usage_history.h"
#include "usage/usage_totals.h"

namespace kivo {

// The data-usage slice of the program's state, on the window's thread only.
struct UsageState {
  bool online = false;                    // believed up since the first flow report
  std::uint32_t watchdog_miss_count = 0;  // watchdog checks in a row without a usable answer
  SessionCounters session;
  RateStatistics rates;
  UsageTotals totals;  // the content of usage.bin
  DataPaths data_paths;
  // usage.bin was there at start but could not be read: never saved over in this run.
  bool store_unreadable = false;
  // The data plan and the bytes per day, in plan.ini and usage-history.csv beside usage.bin
  // (an empty path: the file is not kept). The history also hands snapshots to other threads.
  DataPlan plan;
  UsageHistory history;
  char plan_path[kMaxDataPathLength + 1] = {};
  char history_path[kMaxDataPathLength + 1] = {};
};

}  // namespace kivo

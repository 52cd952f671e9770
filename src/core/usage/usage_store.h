#pragma once

#include "usage/usage_context.h"

namespace kivo {

// The display groups of the usage totals, to be combined.
enum UsageGroup : unsigned {
  kLastSessionGroup = 1,
  kTotalsGroup = 2,
  kPreviousPeriodGroup = 4,
  kAllUsageGroups = 7,
};

// Reads usage.bin into the totals and shows them. A missing or short store starts a new record
// timed now; nothing is written or reported. One that is there but stays unreadable through a few
// tries starts a new record too, is reported in a box and is not saved over in this run.
void load_usage(const UsageContext& context);
// Folds the current session into the totals as the last session, zeroes it and saves.
void update_totals(const UsageContext& context);
// Moves the totals into the previous period and starts a new one now; saves.
void reset_totals(const UsageContext& context);
// Writes the record through usage.tmp, or in place when that cannot be created; a failure shows
// the warning box and leaves no usage.tmp behind. Nothing is written, and nothing shown, while
// the store is kept for being unreadable at start.
bool save_usage(const UsageContext& context);
void show_usage(const UsageContext& context, unsigned groups);

}  // namespace kivo

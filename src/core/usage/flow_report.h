#pragma once

#include "link/reports.h"
#include "usage/usage_context.h"

namespace kivo {

// A "^DSFLOWRPT:" report on the window's thread: the first one marks the device online; each
// re-arms the connection watchdog; plausible ones update the session counters, the rates and
// their display.
void on_flow_report(const UsageContext& context, const FlowReport& report);

// Folds the session into the totals and makes the modem restart its counters from zero.
void reset_session_counters(const UsageContext& context);
void reset_max_rates(const UsageContext& context);
void reset_max_average_rates(const UsageContext& context);

// The current-session fields at zero; averages and maxima stay on screen.
void clear_session_display(const UsageContext& context);
// At start: the session counters and every rate statistic at zero, and all their fields.
void clear_flow_display(const UsageContext& context);

}  // namespace kivo

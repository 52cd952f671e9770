#pragma once

#include "usage/usage_context.h"

namespace kivo {

// Appends one row to sessionlog.csv: the local date and time, the event and the counters as
// they stand (session duration and bytes, then the totals). False when the log cannot be
// written; nothing is reported.
bool write_session_log(const UsageContext& context, const char* event);

// write_session_log when /SESSIONLOG is on.
void log_event(const UsageContext& context, const char* event);

}  // namespace kivo

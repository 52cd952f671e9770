#pragma once

#include "usage/usage_context.h"
#include "view/history_chart_view.h"

namespace kivo {

// The period of the history's writes while counting: a crash loses at most this much of it.
constexpr unsigned kHistoryWritePeriodMs = 60000;

// At start: plan.ini and usage-history.csv beside usage.bin, and the plan's fields; a warning
// due waits for check_data_plan.
void load_data_plan(const UsageContext& context);
// The plan's fields, and a warning due (once the window shows, at start).
void check_data_plan(const UsageContext& context);
// After a flow report: the session's new bytes go to today's row, the plan's fields follow and a
// warning due shows (once per period).
void follow_session(const UsageContext& context);
// Writes the rows counted since the last write (at the end of the run, and below).
void write_history(const UsageContext& context);
// Every minute: writes the rows counted since the last write; the fields follow the date.
void history_tick(const UsageContext& context);
// Before the session is folded into the totals: its bytes are counted and written, and the next
// session counts from zero.
void fold_into_history(const UsageContext& context);
// The chart of the days counted so far (unwritten ones included) over the plan's periods;
// without a plan, over calendar months.
HistoryChart history_chart(const UsageContext& context);
// The plan button: the dialog, then the new plan saved and shown.
void edit_data_plan(const UsageContext& context);

}  // namespace kivo

#pragma once

#include "base/data_paths.h"
#include "base/file_system.h"
#include "usage/calendar_date.h"
#include "usage/history_chart.h"

namespace kivo {

// The chart's input read from usage-history.csv beside usage.bin, in calendar months (billing
// day 1) and without an allowance. A missing or unreadable file gives a chart without usage.
HistoryChartInput history_chart_input_from_file(FileSystem& files, const DataPaths& paths,
                                                const CalendarDate& today);

}  // namespace kivo

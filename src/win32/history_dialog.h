#pragma once

#include <windows.h>

#include "view/history_chart_view.h"

namespace kivo {

// Runs the usage-history dialog (template 111) modally, owned by `owner`, with `icon` as its
// icons, drawing `chart`.
void run_history_dialog(HINSTANCE instance, HWND owner, HICON icon, const HistoryChart& chart);

}  // namespace kivo

#pragma once

#include <windows.h>

#include "view/history_chart_view.h"

namespace kivo {

// The chart's colours, 0x00BBGGRR; the end-to-end test looks for them on the screen.
constexpr COLORREF kSentColour = RGB(230, 126, 34);
constexpr COLORREF kReceivedColour = RGB(41, 128, 185);
constexpr COLORREF kPaceColour = RGB(192, 57, 43);
constexpr COLORREF kBillingDayColour = RGB(90, 90, 90);

// Draws `chart` over `area` of `target` off screen first, so a resize never flickers; lengths
// and the font follow `dpi` (96: 100%).
void paint_history_chart(HDC target, const RECT& area, UINT dpi, const HistoryChart& chart);

}  // namespace kivo

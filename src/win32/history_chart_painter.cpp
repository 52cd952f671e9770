#include "history_chart_painter.h"

#include <algorithm>
#include <string>

namespace kivo {
namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kCurrentPeriodShade = RGB(238, 243, 250);
constexpr COLORREF kGridColour = RGB(220, 220, 220);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr int kFontPoints = 9;

// The plot's frame in pixels and the mapping of days and bytes into it.
struct Plot {
  HDC dc;
  UINT dpi;
  const HistoryChart& chart;
  RECT box;  // the bars' area, without the labels around it
  int text_height;

  int scaled(int pixels_at_96) const { return MulDiv(pixels_at_96, static_cast<int>(dpi), 96); }
  double slot() const {
    return double(box.right - box.left) / double(std::max<std::size_t>(1, chart.bars.size()));
  }
  int x_of(std::size_t index) const { return box.left + int(slot() * double(index) + 0.5); }
  int y_of(std::uint64_t bytes) const {
    const std::uint64_t top = std::max<std::uint64_t>(chart.axis_top, 1);
    const double share = double(std::min(bytes, top)) / double(top);
    return box.bottom - int(share * double(box.bottom - box.top) + 0.5);
  }
};

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT rect{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width, bool dashed) {
  LOGBRUSH brush{BS_SOLID, colour, 0};
  HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | (dashed ? PS_DASH : PS_SOLID),
                          static_cast<DWORD>(std::max(1, width)), &brush, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
  DeleteObject(pen);
}

int text_width(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void text_at(HDC dc, int x, int y, const std::string& text, UINT align) {
  SetTextAlign(dc, align);
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// One legend entry: its mark, then its text; returns where the next one starts.
int legend_entry(const Plot& plot, int x, int y, COLORREF colour, bool is_line, bool dashed,
                 const std::string& text) {
  const int mark = plot.text_height * 2 / 3;
  const int middle = y + plot.text_height / 2;
  if (is_line)
    line(plot.dc, x, middle, x + mark * 2, middle, colour, plot.scaled(2), dashed);
  else
    fill(plot.dc, x, middle - mark / 2, x + mark * 2, middle + mark / 2, colour);
  x += mark * 2 + plot.scaled(4);
  text_at(plot.dc, x, y, text, TA_LEFT | TA_TOP);
  return x + text_width(plot.dc, text) + plot.scaled(14);
}

void draw_legend(const Plot& plot, int left, int top) {
  int x = legend_entry(plot, left, top, kSentColour, false, false, "Sent");
  x = legend_entry(plot, x, top, kReceivedColour, false, false, "Received");
  if (plot.chart.pace_per_day > 0)
    x = legend_entry(plot, x, top, kPaceColour, true, false,
                     "Even pace of the allowance (" + plot.chart.pace_label + ")");
  legend_entry(plot, x, top, kBillingDayColour, true, true, "Billing day");
}

// The current period's days so far shaded, the grid with its byte labels, and the axes.
void draw_axes(const Plot& plot) {
  const RECT& box = plot.box;
  const std::size_t days_so_far = std::min(plot.chart.today_index + 1, plot.chart.bars.size());
  fill(plot.dc, plot.x_of(plot.chart.billing_day_index), box.top, plot.x_of(days_so_far),
       box.bottom, kCurrentPeriodShade);
  for (const HistoryChartTick& tick : plot.chart.ticks) {
    const int y = plot.y_of(tick.bytes);
    line(plot.dc, box.left, y, box.right, y, kGridColour, 1, false);
    text_at(plot.dc, box.left - plot.scaled(4), y - plot.text_height / 2, tick.label,
            TA_RIGHT | TA_TOP);
  }
  line(plot.dc, box.left, box.top, box.left, box.bottom, kTextColour, 1, false);
  line(plot.dc, box.left, box.bottom, box.right, box.bottom, kTextColour, 1, false);
}

// Sent at the bottom of each day's bar, received stacked on it.
void draw_bars(const Plot& plot) {
  const double slot = plot.slot();
  const int gap = std::max(1, int(slot * 0.15));
  for (std::size_t i = 0; i < plot.chart.bars.size(); ++i) {
    const HistoryChartBar& bar = plot.chart.bars[i];
    const int left = plot.x_of(i) + gap;
    const int right = std::max(left + 1, plot.x_of(i + 1) - gap);
    const std::uint64_t both =
        bar.sent > UINT64_MAX - bar.received ? UINT64_MAX : bar.sent + bar.received;
    const int sent_top = plot.y_of(bar.sent);
    if (bar.sent > 0) fill(plot.dc, left, sent_top, right, plot.box.bottom, kSentColour);
    if (bar.received > 0) fill(plot.dc, left, plot.y_of(both), right, sent_top, kReceivedColour);
  }
}

// A period's dates centred under its days, cut short rather than running into the other's.
void period_caption(const Plot& plot, int left, int right, int top, const std::string& text) {
  RECT rect{left, top, right, top + plot.text_height};
  SetTextAlign(plot.dc, TA_LEFT | TA_TOP);
  DrawTextA(plot.dc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// Day numbers every few days from the billing day on, so they never overlap, then the periods.
void draw_day_labels(const Plot& plot) {
  const HistoryChart& chart = plot.chart;
  const int label_width = text_width(plot.dc, "30") + plot.scaled(6);
  const std::size_t every =
      std::max<std::size_t>(1, std::size_t(double(label_width) / plot.slot()) + 1);
  const int y = plot.box.bottom + plot.scaled(3);
  for (std::size_t i = 0; i < chart.bars.size(); ++i) {
    const std::size_t from_billing_day =
        i >= chart.billing_day_index ? i - chart.billing_day_index : chart.billing_day_index - i;
    if (from_billing_day % every != 0) continue;
    const int middle = (plot.x_of(i) + plot.x_of(i + 1)) / 2;
    text_at(plot.dc, middle, y, std::to_string(chart.bars[i].day_of_month), TA_CENTER | TA_TOP);
  }
  const int period_y = y + plot.text_height + plot.scaled(2);
  const int billing_x = plot.x_of(chart.billing_day_index);
  period_caption(plot, plot.box.left, billing_x, period_y, chart.previous_period);
  period_caption(plot, billing_x, plot.box.right, period_y, chart.current_period);
}

void draw_pace_and_billing_day(const Plot& plot) {
  const int billing_x = plot.x_of(plot.chart.billing_day_index);
  if (plot.chart.pace_per_day > 0) {
    const int y = plot.y_of(plot.chart.pace_per_day);
    line(plot.dc, billing_x, y, plot.box.right, y, kPaceColour, plot.scaled(2), false);
  }
  line(plot.dc, billing_x, plot.box.top - plot.scaled(4), billing_x, plot.box.bottom,
       kBillingDayColour, plot.scaled(2), true);
}

void draw_chart(HDC dc, int width, int height, UINT dpi, const HistoryChart& chart) {
  fill(dc, 0, 0, width, height, kBackground);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  Plot plot{dc, dpi, chart, {}, static_cast<int>(metrics.tmHeight)};
  int label_width = 0;
  for (const HistoryChartTick& tick : chart.ticks)
    label_width = std::max(label_width, text_width(dc, tick.label));
  const int margin = plot.scaled(8);
  plot.box = {margin + label_width + plot.scaled(6), margin + plot.text_height * 2, width - margin,
              height - margin - plot.text_height * 2 - plot.scaled(5)};
  draw_legend(plot, plot.box.left, margin);
  if (plot.box.right - plot.box.left < 10 || plot.box.bottom - plot.box.top < 10) return;
  draw_axes(plot);
  draw_bars(plot);
  draw_pace_and_billing_day(plot);
  draw_day_labels(plot);
}

}  // namespace

void paint_history_chart(HDC target, const RECT& area, UINT dpi, const HistoryChart& chart) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC dc = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
  HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontA(-MulDiv(kFontPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL,
                           FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Shell Dlg 2");
  HGDIOBJ old_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kTextColour);
  draw_chart(dc, width, height, dpi, chart);
  BitBlt(target, area.left, area.top, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(dc, old_font);
  DeleteObject(font);
  SelectObject(dc, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace kivo

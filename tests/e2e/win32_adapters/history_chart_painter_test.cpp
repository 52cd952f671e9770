// The usage-history chart painted into a bitmap: the stacked bars, the pace line and the
// billing-day mark where the chart puts them, lines as thick as the DPI makes them.
#include "history_chart_painter.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 300;

// Ten days, the current period from the sixth, today the eighth; bytes on a 0..100 axis.
HistoryChart sample_chart(std::uint64_t pace) {
  HistoryChart chart;
  for (int day = 1; day <= 10; ++day) chart.bars.push_back({0, 0, day});
  chart.bars[2] = {20, 60, 3};
  chart.bars[6] = {1000, 1000, 7};  // past the axis: cut at its top
  chart.billing_day_index = 5;
  chart.today_index = 7;
  chart.axis_top = 100;
  chart.ticks = {{0, "0 bytes"}, {50, "50 bytes"}, {100, "100 bytes"}};
  chart.pace_per_day = pace;
  chart.pace_label = "50 bytes a day";
  chart.previous_period = "2026-11-01 to 2026-11-05";
  chart.current_period = "2026-11-06 to 2026-11-10";
  return chart;
}

class Canvas {
 public:
  Canvas() {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  void paint(const HistoryChart& chart, UINT dpi, const RECT& area = {0, 0, kWidth, kHeight}) {
    paint_history_chart(dc_, area, dpi, chart);
  }
  // Rows above this one (the legend) are not looked at.
  int plot_top = 0;

  COLORREF pixel(int x, int y) const { return GetPixel(dc_, x, y); }
  // How many pixels of column `x` have `colour`, and the first and last row that has it.
  int column_count(int x, COLORREF colour, int* first = nullptr, int* last = nullptr) const {
    int count = 0;
    for (int y = plot_top; y < kHeight; ++y) {
      if (GetPixel(dc_, x, y) != colour) continue;
      if (count++ == 0 && first) *first = y;
      if (last) *last = y;
    }
    return count;
  }
  int count(COLORREF colour) const {
    int total = 0;
    for (int x = 0; x < kWidth; ++x) total += column_count(x, colour);
    return total;
  }
  // The first column, from the left, with a pixel of `colour`; -1 for none.
  int first_column(COLORREF colour) const {
    for (int x = 0; x < kWidth; ++x)
      if (column_count(x, colour) > 0) return x;
    return -1;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

TEST(HistoryChartPainter, StacksReceivedOnSentAndCutsBarsAtTheAxisTop) {
  Canvas canvas;
  canvas.paint(sample_chart(0), 96);
  canvas.plot_top = 30;
  const int third_day = canvas.first_column(kSentColour) + 2;
  ASSERT_GT(third_day, 2);
  int sent_top = 0, sent_bottom = 0, received_top = 0, received_bottom = 0;
  const int sent = canvas.column_count(third_day, kSentColour, &sent_top, &sent_bottom);
  const int received =
      canvas.column_count(third_day, kReceivedColour, &received_top, &received_bottom);
  EXPECT_NEAR(received, 3 * sent, 3);  // 60 bytes on 20
  EXPECT_EQ(received_bottom + 1, sent_top);

  // The seventh day's 2000 bytes end at the axis top, above the third day's 80, below the legend.
  int seventh_day = third_day;
  while (seventh_day < kWidth && canvas.column_count(seventh_day, kSentColour) > 0) ++seventh_day;
  while (seventh_day < kWidth && canvas.column_count(seventh_day, kSentColour) == 0) ++seventh_day;
  int cut_top = 0;
  // Its sent bytes alone fill the axis: nothing received shows above them.
  ASSERT_GT(canvas.column_count(seventh_day + 2, kSentColour, &cut_top), 0);
  EXPECT_EQ(canvas.column_count(seventh_day + 2, kReceivedColour), 0);
  EXPECT_NEAR(sent_bottom + 1 - cut_top, (received + sent) * 100 / 80, 3);
  EXPECT_GT(cut_top, 20);
  EXPECT_EQ(canvas.count(kPaceColour), 0) << "no pace line without a plan";
}

TEST(HistoryChartPainter, PaceLineAndBillingDayMarkScaleWithTheDpi) {
  int pace_rows[2] = {};
  int marks[2] = {};
  const UINT dpis[2] = {96, 192};
  for (int i = 0; i < 2; ++i) {
    Canvas canvas;
    canvas.paint(sample_chart(50), dpis[i]);
    canvas.plot_top = 30 * int(dpis[i]) / 96;
    // The pace line runs over the current period only: right of the billing-day mark.
    const int mark_x = canvas.first_column(kBillingDayColour);
    ASSERT_GT(mark_x, kWidth / 3);
    EXPECT_NEAR(canvas.first_column(kPaceColour), mark_x, 3);
    pace_rows[i] = canvas.column_count(kWidth - 20, kPaceColour);
    marks[i] = canvas.count(kBillingDayColour);
  }
  EXPECT_GE(pace_rows[0], 2);
  EXPECT_EQ(pace_rows[1], 2 * pace_rows[0]);
  EXPECT_GT(marks[1], marks[0]);
}

TEST(HistoryChartPainter, TinyAreasAndEmptyChartsPaintWithoutFailing) {
  Canvas canvas;
  for (const RECT& area : {RECT{0, 0, 1, 1}, RECT{0, 0, 40, 30}, RECT{5, 5, 5, 5}})
    canvas.paint(sample_chart(50), 96, area);
  canvas.paint(HistoryChart{}, 96);  // no bars, no ticks
  EXPECT_EQ(canvas.pixel(kWidth / 2, kHeight / 2), RGB(255, 255, 255));
}

}  // namespace
}  // namespace kivo

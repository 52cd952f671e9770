// A message box whose text is taller than the screen shows it in the scrolling box instead,
// which is driven here as a user would.
#include "tall_text_box.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

#include "res/resource_ids.h"
#include "system_message_boxes.h"

namespace kivo {
namespace {

std::string lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "*100#\t\t\tBalance enquiry\r";
  return text;
}

HWND wait_visible(const char* title) {
  const DWORD deadline = GetTickCount() + 5000;
  for (;;) {
    HWND window = FindWindowA("#32770", title);
    if ((window != nullptr && IsWindowVisible(window)) || GetTickCount() > deadline) return window;
    Sleep(10);
  }
}

TEST(TallTextBox, OnlyATextTallerThanTheScreenIsTooTall) {
  const struct {
    int lines;
    bool too_tall;
  } cases[] = {{1, false}, {10, false}, {400, true}};
  for (const auto& text_case : cases) {
    EXPECT_EQ(too_tall_for_screen(nullptr, lines(text_case.lines).c_str()), text_case.too_tall)
        << text_case.lines << " lines";
  }
}

TEST(TallTextBox, ShowsTheWholeTextInLinesAndClosesWithOk) {
  const std::string text = lines(400) + "last line";
  BoxRequest request;
  request.text = text.c_str();
  request.caption = "Long help";
  auto answer =
      std::async(std::launch::async, [&request] { return show_message_box(nullptr, request); });
  HWND box = wait_visible("Long help");
  ASSERT_NE(box, nullptr);
  HWND edit = GetDlgItem(box, IDC_BOX_TEXT);
  std::string shown(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  shown.resize(static_cast<std::size_t>(GetWindowTextA(edit, &shown[0], int(shown.size()))));
  EXPECT_EQ(shown.substr(0, 30), "*100#\t\t\tBalance enquiry\r\n*100#");
  EXPECT_EQ(shown.substr(shown.size() - 11), "\r\nlast line");
  RECT work{}, outer{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(box, &outer);
  EXPECT_LE(outer.bottom - outer.top, work.bottom - work.top);
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  EXPECT_EQ(answer.get(), BoxAnswer::Ok);
}

}  // namespace
}  // namespace kivo

// The SIM PIN and device-information dialogs over their real templates, each run modally on a
// thread of its own (the PIN dialog is asked for on the discovery thread) and driven from the
// test's thread the way a user would.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "device_info_dialog.h"
#include "pin_dialog.h"
#include "res/resource_ids.h"

namespace kivo {
namespace {

HWND wait_visible(const char* title) {
  const DWORD deadline = GetTickCount() + 5000;
  for (;;) {
    HWND window = FindWindowA(nullptr, title);
    if ((window != nullptr && IsWindowVisible(window)) || GetTickCount() > deadline) return window;
    Sleep(10);
  }
}

std::string text_of(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Every control lies inside the dialog and every label's and button's text fits its control.
void expect_laid_out(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  HDC dc = GetDC(dialog);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_TRUE(rect.left >= 0 && rect.top >= 0 && rect.right <= client.right &&
                rect.bottom <= client.bottom)
        << GetDlgCtrlID(child);
    char class_name[16] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    const std::string label = text_of(child);
    if (lstrcmpiA(class_name, "Edit") == 0 || label.empty()) continue;
    RECT extent{};
    DrawTextA(dc, label.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_LE(extent.right, rect.right - rect.left) << label;
  }
  ReleaseDC(dialog, dc);
}

struct PinDialogTest : ::testing::Test {
  std::atomic<HWND> owner{nullptr};
  DialogPinPrompt prompt{GetModuleHandleA(nullptr), owner};
  char pin[kPinBufferSize] = {};
  bool accepted = true;
  std::thread asker;
  HWND dialog = nullptr;

  void open(std::uint32_t attempts) {
    asker = std::thread([this, attempts] { accepted = prompt.ask_pin(attempts, pin); });
    dialog = wait_visible("SIM PIN");
    ASSERT_NE(dialog, nullptr);
  }
  // Ends the dialog with `message` posted to `target` and waits for the answer.
  void finish(HWND target, UINT message) {
    PostMessageA(target, message, 0, 0);
    asker.join();
  }
  void TearDown() override {
    if (asker.joinable()) finish(dialog, WM_CLOSE);
  }
  HWND item(int control) const { return GetDlgItem(dialog, control); }
  void type(const char* text) {
    for (const char* c = text; *c; ++c) SendMessageA(item(IDC_PIN_INPUT), WM_CHAR, *c, 1);
  }
  bool ok_enabled() const { return IsWindowEnabled(item(IDC_PIN_OK)) != FALSE; }
};

TEST_F(PinDialogTest, OkWaitsForFourDigitsAndTakesAtMostEight) {
  open(99);
  expect_laid_out(dialog);
  EXPECT_EQ(text_of(item(IDC_PIN_ATTEMPTS)), "Unknown");
  EXPECT_FALSE(ok_enabled());
  type("12a3");
  EXPECT_FALSE(ok_enabled());
  type("4");
  EXPECT_TRUE(ok_enabled());
  type("567890");
  EXPECT_EQ(GetWindowTextLengthA(item(IDC_PIN_INPUT)), 8);
  finish(item(IDC_PIN_OK), BM_CLICK);
  EXPECT_TRUE(accepted);
  EXPECT_STREQ(pin, "12345678");
}

// Enter presses OK only once it is enabled; a pasted text that is not all digits never is.
TEST_F(PinDialogTest, EnterConfirmsOnlyAUsablePin) {
  open(3);
  EXPECT_EQ(text_of(item(IDC_PIN_ATTEMPTS)), "3");
  SetWindowTextA(item(IDC_PIN_INPUT), "12;+4");
  EXPECT_FALSE(ok_enabled());
  SetWindowTextA(item(IDC_PIN_INPUT), "");
  type("123");
  HWND edit = item(IDC_PIN_INPUT);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(edit, WM_CHAR, '4', 1);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
  asker.join();
  EXPECT_TRUE(accepted);
  EXPECT_STREQ(pin, "1234");
}

TEST_F(PinDialogTest, CancelAndTheCloseBoxGiveNoPin) {
  open(2);
  type("1234");
  finish(item(IDC_PIN_CANCEL), BM_CLICK);
  EXPECT_FALSE(accepted);
  EXPECT_STREQ(pin, "");

  accepted = true;
  open(2);
  type("1234");
  finish(dialog, WM_CLOSE);
  EXPECT_FALSE(accepted);
  EXPECT_STREQ(pin, "");
}

TEST(DeviceInfoDialogTest, ShowsTheFieldsFilledAtOpeningAndClosesWithItsButton) {
  std::thread shown([] {
    run_device_info_dialog(GetModuleHandleA(nullptr), nullptr, nullptr, [](DeviceInfoView& view) {
      view.set_field(IDC_INFO_MODEL, "E220");
      view.set_field(IDC_INFO_ICCID, "98942000002143658709");
    });
  });
  HWND dialog = wait_visible("Device information");
  ASSERT_NE(dialog, nullptr);
  expect_laid_out(dialog);
  EXPECT_EQ(text_of(GetDlgItem(dialog, IDC_INFO_MODEL)), "E220");
  EXPECT_EQ(text_of(GetDlgItem(dialog, IDC_INFO_ICCID)), "98942000002143658709");
  EXPECT_EQ(text_of(GetDlgItem(dialog, IDC_INFO_IMEI)), "");
  PostMessageA(GetDlgItem(dialog, IDC_INFO_CLOSE), BM_CLICK, 0, 0);
  shown.join();
  EXPECT_FALSE(IsWindow(dialog));
}

}  // namespace
}  // namespace kivo

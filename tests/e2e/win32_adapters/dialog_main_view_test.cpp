// The Win32 view over the real main-window template. Controls need a display, so the e2e rig
// runs these tests (scenario win32_adapters).
#include "dialog_main_view.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <uxtheme.h>

#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "system_worker_threads.h"

namespace kivo {
namespace {

class NullNoticeSink : public NoticeSink {
 public:
  void post(const Notice&) override {}
};

INT_PTR CALLBACK plain_dialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

class DialogMainViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_BAR_CLASSES;
    InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    dialog_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN_WINDOW),
                                 nullptr, plain_dialog, 0);
    ASSERT_NE(dialog_, nullptr);
    view_.attach(dialog_, GetModuleHandleA(nullptr), nullptr);
  }

  void TearDown() override {
    view_.detach();
    DestroyWindow(dialog_);
  }

  HWND item(int control) const { return GetDlgItem(dialog_, control); }
  LRESULT send(int control, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendDlgItemMessageA(dialog_, control, message, wparam, lparam);
  }
  bool drawn_as_default(int control) const {
    return (GetWindowLongA(item(control), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  }
  std::string list_text(int control, int index) const {
    std::string text(static_cast<std::size_t>(send(control, CB_GETLBTEXTLEN, index)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        send(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]))));
    return text;
  }

  NullNoticeSink notices_;
  std::atomic<HWND> published_{nullptr};
  DialogMainView view_{notices_, published_};
  HWND dialog_ = nullptr;
};

TEST_F(DialogMainViewTest, PublishesTheWindowOnlyWhileAttached) {
  EXPECT_EQ(published_.load(), dialog_);
  view_.post_close();
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, dialog_, WM_CLOSE, WM_CLOSE, PM_REMOVE));

  view_.detach();
  EXPECT_EQ(published_.load(), nullptr);
  view_.post_close();
  EXPECT_FALSE(PeekMessageA(&message, dialog_, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(DialogMainViewTest, TextsGoIntoTheControlsAndComeBackWhole) {
  view_.set_text(IDC_OPERATOR, "Simnet ZA");
  EXPECT_EQ(view_.text(IDC_OPERATOR), "Simnet ZA");

  const std::string long_text(5000, 'x');
  view_.set_text(IDC_BROADCAST_TEXT, long_text.c_str());
  EXPECT_EQ(view_.text(IDC_BROADCAST_TEXT), long_text);

  view_.set_text(IDC_OPERATOR, "");
  EXPECT_EQ(view_.text(IDC_OPERATOR), "");
}

TEST_F(DialogMainViewTest, EnablesAndDisablesControls) {
  ASSERT_FALSE(IsWindowEnabled(item(IDC_USSD_SEND)));
  view_.enable(IDC_USSD_SEND, true);
  EXPECT_TRUE(IsWindowEnabled(item(IDC_USSD_SEND)));
  view_.enable(IDC_USSD_SEND, false);
  EXPECT_FALSE(IsWindowEnabled(item(IDC_USSD_SEND)));
}

TEST_F(DialogMainViewTest, TheDefaultFrameMovesWithTheDefaultButton) {
  view_.set_default_button(IDC_CONNECT);
  EXPECT_EQ(LOWORD(SendMessageA(dialog_, DM_GETDEFID, 0, 0)), IDC_CONNECT);
  EXPECT_TRUE(drawn_as_default(IDC_CONNECT));

  view_.set_default_button(IDC_USSD_SEND);
  EXPECT_EQ(LOWORD(SendMessageA(dialog_, DM_GETDEFID, 0, 0)), IDC_USSD_SEND);
  EXPECT_TRUE(drawn_as_default(IDC_USSD_SEND));
  EXPECT_FALSE(drawn_as_default(IDC_CONNECT));
  // The style change keeps the button's other states.
  EXPECT_FALSE(IsWindowEnabled(item(IDC_USSD_SEND)));

  view_.set_default_button(IDC_CONNECT);
  EXPECT_TRUE(drawn_as_default(IDC_CONNECT));
  EXPECT_FALSE(drawn_as_default(IDC_USSD_SEND));
}

TEST_F(DialogMainViewTest, LimitsTheInputLength) {
  view_.limit_text(IDC_USSD_INPUT, 80);
  EXPECT_EQ(send(IDC_USSD_INPUT, EM_GETLIMITTEXT), 80);
}

TEST_F(DialogMainViewTest, AppendsAtTheEndWhereverTheCaretIs) {
  view_.set_text(IDC_BROADCAST_TEXT, "first page\r\n");
  send(IDC_BROADCAST_TEXT, EM_SETSEL, 0, 5);
  view_.append_text(IDC_BROADCAST_TEXT, "second page\r\n");
  view_.append_text(IDC_BROADCAST_TEXT, "third page\r\n");
  EXPECT_EQ(view_.text(IDC_BROADCAST_TEXT), "first page\r\nsecond page\r\nthird page\r\n");
}

TEST_F(DialogMainViewTest, CopiesTheWholeTextWhateverIsSelected) {
  view_.set_text(IDC_BROADCAST_TEXT, "page one\r\npage two");
  send(IDC_BROADCAST_TEXT, EM_SETSEL, 2, 4);
  view_.copy_text_to_clipboard(IDC_BROADCAST_TEXT);

  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(copied, "page one\r\npage two");
}

TEST_F(DialogMainViewTest, TheSignalBarShowsItsOwnColours) {
  view_.set_bar_range(IDC_SIGNAL_BAR, 0, 31);
  view_.set_bar_background(IDC_SIGNAL_BAR, 0xFFFFFF);
  view_.set_bar_colour(IDC_SIGNAL_BAR, 0x00CCFF);  // amber, 0x00BBGGRR
  view_.set_bar_position(IDC_SIGNAL_BAR, 12);

  EXPECT_EQ(send(IDC_SIGNAL_BAR, PBM_GETRANGE, TRUE), 0);
  EXPECT_EQ(send(IDC_SIGNAL_BAR, PBM_GETRANGE, FALSE), 31);
  EXPECT_EQ(send(IDC_SIGNAL_BAR, PBM_GETPOS), 12);
  EXPECT_EQ(send(IDC_SIGNAL_BAR, PBM_GETBARCOLOR), 0x00CCFF);
  EXPECT_EQ(send(IDC_SIGNAL_BAR, PBM_GETBKCOLOR), 0xFFFFFF);
  // A themed bar would draw the theme's colour instead.
  EXPECT_EQ(GetWindowTheme(item(IDC_SIGNAL_BAR)), nullptr);
}

TEST_F(DialogMainViewTest, TheListKeepsEntriesInTheirOrderWithTheirValues) {
  view_.clear_list(IDC_NETWORK_MODE_LIST);
  view_.add_list_entry(IDC_NETWORK_MODE_LIST, "GPRS/EDGE Only", 0);
  view_.add_list_entry(IDC_NETWORK_MODE_LIST, "3G Only", 1);
  view_.add_list_entry(IDC_NETWORK_MODE_LIST, "Automatic", 2);
  EXPECT_EQ(view_.selected_list_entry(IDC_NETWORK_MODE_LIST), -1);

  EXPECT_EQ(list_text(IDC_NETWORK_MODE_LIST, 0), "GPRS/EDGE Only");
  EXPECT_EQ(list_text(IDC_NETWORK_MODE_LIST, 2), "Automatic");
  view_.select_list_entry(IDC_NETWORK_MODE_LIST, 1);
  EXPECT_EQ(view_.selected_list_entry(IDC_NETWORK_MODE_LIST), 1);
  EXPECT_EQ(view_.list_entry_value(IDC_NETWORK_MODE_LIST, 1), 1u);
  EXPECT_EQ(view_.list_entry_value(IDC_NETWORK_MODE_LIST, 2), 2u);

  view_.clear_list(IDC_NETWORK_MODE_LIST);
  EXPECT_EQ(send(IDC_NETWORK_MODE_LIST, CB_GETCOUNT), 0);
  EXPECT_EQ(view_.selected_list_entry(IDC_NETWORK_MODE_LIST), -1);
}

TEST_F(DialogMainViewTest, StatusBarLiesAlongTheBottomAndTakesTextFromWorkers) {
  view_.set_status_text("before the bar exists");  // nothing to show it yet
  view_.create_status_bar();
  HWND bar = item(IDC_STATUS_BAR);
  ASSERT_NE(bar, nullptr);
  char class_name[64] = {};
  GetClassNameA(bar, class_name, sizeof class_name);
  EXPECT_STREQ(class_name, STATUSCLASSNAMEA);
  EXPECT_EQ(GetWindowTextLengthA(bar), 0);
  RECT client{}, rect{};
  GetClientRect(dialog_, &client);
  GetWindowRect(bar, &rect);
  MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.bottom, client.bottom);
  EXPECT_EQ(rect.right - rect.left, client.right);

  // The worker's text is sent to this thread, which joins it: the join has to let it through.
  SystemWorkerThreads workers;
  const WorkerThreads::Id worker =
      workers.start([this] { view_.set_status_text("Opening communications port..."); });
  ASSERT_NE(worker, 0u);
  workers.join(worker);
  char text[64] = {};
  SendMessageA(bar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Opening communications port...");
}

// Windows sends WM_DPICHANGED when the window moves to a monitor of another DPI; Wine never
// does, so the view is called here as the window procedure calls it: the window takes the
// suggested place, its controls grow with the DPI and the status bar stays along the bottom.
TEST_F(DialogMainViewTest, FollowsANewDpiToTheSuggestedPlaceWithTheBarAtTheBottom) {
  view_.create_status_bar();
  RECT before{}, connect_before{};
  GetWindowRect(dialog_, &before);
  GetWindowRect(item(IDC_CONNECT), &connect_before);
  const RECT suggested{40, 30, 40 + (before.right - before.left) * 3 / 2,
                       30 + (before.bottom - before.top) * 3 / 2};
  view_.on_dpi_changed(144, suggested);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);

  RECT after{}, client{}, bar{};
  GetWindowRect(dialog_, &after);
  EXPECT_TRUE(EqualRect(&after, &suggested));
  GetClientRect(dialog_, &client);
  GetWindowRect(item(IDC_STATUS_BAR), &bar);
  MapWindowPoints(HWND_DESKTOP, dialog_, reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(bar.bottom, client.bottom);
  EXPECT_EQ(bar.right - bar.left, client.right);
  EXPECT_NE(SendMessageA(item(IDC_STATUS_BAR), WM_GETFONT, 0, 0), 0);
  RECT connect{};
  GetWindowRect(item(IDC_CONNECT), &connect);
  // Wine, as Windows before 10 1703, leaves the scaling of the controls to the program.
  EXPECT_NEAR(connect.right - connect.left, (connect_before.right - connect_before.left) * 1.5, 1);
}

// The title bar gets an icon drawn for its size, not the big one scaled down.
TEST_F(DialogMainViewTest, EachIconHasTheSizeItIsShownIn) {
  view_.set_icons();
  const struct {
    WPARAM which;
    int width;
  } cases[] = {{ICON_SMALL, GetSystemMetrics(SM_CXSMICON)},
               {ICON_BIG, GetSystemMetrics(SM_CXICON)}};
  for (const auto& icon_case : cases) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(dialog_, WM_GETICON, icon_case.which, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, icon_case.width) << "icon " << icon_case.which;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
}

TEST_F(DialogMainViewTest, TimersReachTheWindowUntilKilled) {
  view_.set_timer(TIMER_POLL, 10);
  MSG message{};
  const DWORD deadline = GetTickCount() + 2000;
  bool fired = false;
  while (!fired && GetTickCount() < deadline) {
    fired = PeekMessageA(&message, dialog_, WM_TIMER, WM_TIMER, PM_REMOVE) &&
            message.wParam == TIMER_POLL;
    if (!fired) Sleep(5);
  }
  EXPECT_TRUE(fired);
  view_.kill_timer(TIMER_POLL);
  Sleep(50);
  EXPECT_FALSE(PeekMessageA(&message, dialog_, WM_TIMER, WM_TIMER, PM_REMOVE));
}

}  // namespace
}  // namespace kivo

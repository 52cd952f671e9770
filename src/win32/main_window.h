#pragma once

#include <windows.h>

#include "app/app_state.h"
#include "app/main_window_controller.h"
#include "app/notice_courier.h"
#include "base/command_set.h"
#include "dialog_main_view.h"

namespace kivo {

// The main dialog (template 105): its procedure hands every message to the controller.
class MainWindow {
 public:
  MainWindow(MainWindowController& controller, DialogMainView& view, NoticeCourier& notice_courier,
             AppState& state, const CommandSet& command_set)
      : controller_(controller),
        view_(view),
        notice_courier_(notice_courier),
        state_(state),
        command_set_(command_set) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Runs the dialog modally until it ends.
  void run(HINSTANCE instance, HICON icon);

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);

  MainWindowController& controller_;
  DialogMainView& view_;
  NoticeCourier& notice_courier_;
  AppState& state_;
  const CommandSet& command_set_;
  HINSTANCE instance_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace kivo

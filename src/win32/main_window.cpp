#include "main_window.h"

#include "app_messages.h"
#include "res/resource_ids.h"

namespace kivo {

void MainWindow::run(HINSTANCE instance, HICON icon) {
  instance_ = instance;
  icon_ = icon;
  // Start-up parsed the command line into its own record; the threads read the shared one.
  state_.device.command_set = command_set_;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr, dialog_proc,
                  reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK MainWindow::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    auto* self = reinterpret_cast<MainWindow*>(lparam);
    self->view_.attach(window, self->instance_, self->icon_);
    self->controller_.on_init_dialog();
    return TRUE;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  return self == nullptr ? FALSE : self->handle(message, wparam, lparam);
}

INT_PTR MainWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      controller_.on_command(LOWORD(wparam), HIWORD(wparam));
      return FALSE;
    case WM_TIMER:
      controller_.on_timer(static_cast<unsigned>(wparam));
      return FALSE;
    case WM_CLOSE:
      controller_.on_close();
      return TRUE;
    case WM_ENDSESSION:
      controller_.on_end_session(wparam != FALSE, static_cast<std::uint32_t>(lparam));
      return FALSE;
    case WM_DESTROY:
      view_.detach();
      return FALSE;
    default:
      break;
  }
  if (is_notice_message(message)) {
    auto* notice = reinterpret_cast<Notice*>(wparam);
    controller_.on_notice(*notice);
    notice_pool_.release(notice);
  }
  return FALSE;
}

}  // namespace kivo

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
    case WM_DPICHANGED:
      view_.on_dpi_changed(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return FALSE;  // the dialog manager still scales the template's controls
    case WM_DESTROY:
      view_.detach();
      return FALSE;
    default:
      break;
  }
  if (is_notice_message(message)) {
    const NoticeMessage packed{message - WM_APP, static_cast<std::uintptr_t>(wparam),
                               static_cast<std::uintptr_t>(lparam)};
    Notice scratch;
    // Another program may post WM_APP messages here too: those are not ours and are ignored.
    if (Notice* notice = notice_courier_.unpack(packed, scratch)) {
      controller_.on_notice(*notice);
      notice_courier_.done(notice);
    }
  }
  return FALSE;
}

}  // namespace kivo

#include "main_window.h"

#include <commctrl.h>

#include "app_messages.h"
#include "res/resource_ids.h"

namespace kivo {
namespace {

// Waits for a thread that may still send to this thread's windows (the status text), so
// sent messages are delivered while waiting.
void join_thread(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(thread);
}

}  // namespace

MainWindow::MainWindow(MainWindowServices services)
    : services_(services),
      link_(ModemLinkContext{services.opener, services.notices, services.trace, services.boxes,
                             command_set_}) {}

void MainWindow::run(HINSTANCE instance, HICON icon) {
  instance_ = instance;
  icon_ = icon;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr, dialog_proc,
                  reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK MainWindow::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    reinterpret_cast<MainWindow*>(lparam)->on_init_dialog(window);
    return TRUE;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_CLOSE) {
    self->on_close();
    return TRUE;
  }
  if (is_notice_message(message)) self->on_notice(reinterpret_cast<Notice*>(wparam));
  return FALSE;
}

void MainWindow::on_init_dialog(HWND window) {
  window_ = window;
  services_.handle.store(window);
  command_set_.store(services_.command_set);
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  // The bar places itself along the bottom edge; the position given here does not matter.
  status_bar_ =
      CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, -100, -100, 10,
                      10, window, reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance_, nullptr);
  find_data_paths(services_.registry, services_.files, data_paths_);
  discovery_ = CreateThread(nullptr, 0, discovery_thread, this, 0, nullptr);
}

void MainWindow::on_close() {
  join_discovery();
  link_.close();
  services_.handle.store(nullptr);
  EndDialog(window_, 1);
}

void MainWindow::on_notice(Notice* notice) {
  if (notice->id == NoticeId::DiscoveryDone) join_discovery();
  services_.notice_pool.release(notice);
}

DWORD WINAPI MainWindow::discovery_thread(void* self) {
  static_cast<MainWindow*>(self)->discover();
  return 0;
}

void MainWindow::discover() {
  if (!services_.options.port_given) {
    set_status_text("Detecting mobile data device...");
  } else {
    set_status_text("Opening communications port...");
    if (link_.open_modem_link(services_.options.port_name)) set_status_text("Ready");
  }
  Notice done;
  done.id = NoticeId::DiscoveryDone;
  services_.notices.post(done);
}

void MainWindow::set_status_text(const char* text) {
  SendMessageA(status_bar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void MainWindow::join_discovery() {
  if (discovery_ == nullptr) return;
  join_thread(discovery_);
  discovery_ = nullptr;
}

}  // namespace kivo

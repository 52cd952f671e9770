#pragma once

#include <windows.h>

#include <atomic>

#include "app/command_set.h"
#include "app/data_paths.h"
#include "app/file_system.h"
#include "app/message_boxes.h"
#include "app/notice_pool.h"
#include "app/options.h"
#include "app/registry.h"
#include "app/trace.h"
#include "link/modem_link.h"
#include "link/notices.h"
#include "link/serial_port.h"

namespace kivo {

struct MainWindowServices {
  const Trace& trace;
  MessageBoxes& boxes;
  Registry& registry;
  FileSystem& files;
  SerialPortOpener& opener;
  NoticeSink& notices;
  NoticePool& notice_pool;
  // Published while the dialog exists, for owned message boxes and posted notices.
  std::atomic<HWND>& handle;
  const Options& options;
  const CommandSet& command_set;
};

// The main dialog: creates the status bar, fixes the data paths, runs discovery on its own
// thread and owns the modem link.
class MainWindow {
 public:
  explicit MainWindow(MainWindowServices services);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Runs the dialog modally until it ends.
  void run(HINSTANCE instance, HICON icon);

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static DWORD WINAPI discovery_thread(void* self);

  void on_init_dialog(HWND window);
  void on_close();
  void on_notice(Notice* notice);
  void discover();
  void set_status_text(const char* text);
  void join_discovery();

  MainWindowServices services_;
  std::atomic<CommandSet> command_set_{CommandSet::Standard};
  ModemLink link_;
  DataPaths data_paths_;
  HINSTANCE instance_ = nullptr;
  HICON icon_ = nullptr;
  HWND window_ = nullptr;
  HWND status_bar_ = nullptr;
  HANDLE discovery_ = nullptr;
};

}  // namespace kivo

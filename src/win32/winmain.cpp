#include <windows.h>

#include <atomic>
#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "app/main_window_controller.h"
#include "app/notice_pool.h"
#include "app/startup.h"
#include "debugger_trace_sink.h"
#include "dialog_main_view.h"
#include "link/modem_link.h"
#include "main_window.h"
#include "overlapped_serial_port.h"
#include "startup_platform.h"
#include "system_clock.h"
#include "system_file_system.h"
#include "system_message_boxes.h"
#include "system_process_starter.h"
#include "system_registry.h"
#include "system_worker_threads.h"
#include "window_notice_sink.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  kivo::DebuggerTraceSink trace_sink;
  const kivo::Trace trace(trace_sink);
  std::atomic<HWND> main_window_handle{nullptr};
  kivo::SystemMessageBoxes boxes(main_window_handle);
  kivo::SystemRegistry registry;
  kivo::SystemFileSystem files;
  kivo::SystemClock clock;
  kivo::SystemProcessStarter processes;
  kivo::OverlappedSerialPortOpener opener;
  kivo::NoticePool notice_pool;
  kivo::WindowNoticeSink notices(notice_pool, main_window_handle, trace);
  kivo::AppState state;
  kivo::CommandSet command_set = kivo::CommandSet::Standard;
  kivo::ModemLink link({opener, notices, trace, boxes, state.device.command_set});
  kivo::SystemWorkerThreads workers;
  kivo::DialogMainView view(notices, main_window_handle);
  kivo::MainWindowController controller(
      {state, view, workers, link, registry, files, trace, clock, processes, boxes});

  kivo::MainWindow main_window(controller, view, notice_pool, state, command_set);
  kivo::SystemStartupPlatform platform(instance, main_window);

  // The command line is upper-cased in place, so it gets a buffer of its own.
  std::vector<char> text(command_line, command_line + std::strlen(command_line) + 1);
  kivo::StartupContext context{platform, boxes, trace, state.options, command_set};
  // Workers still running (a discovery waiting for its modem, a box still open) end with the
  // process, not by using the objects above after they are gone.
  ExitProcess(static_cast<UINT>(kivo::run_startup(context, text.data())));
}

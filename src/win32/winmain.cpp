#include <windows.h>
// windows.h first: ntsecapi.h needs its types.
#include <ntsecapi.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/app_state.h"
#include "app/main_window_controller.h"
#include "app/notice_courier.h"
#include "app/startup.h"
#include "debugger_trace_sink.h"
#include "dialog_main_view.h"
#include "link/modem_link.h"
#include "main_window.h"
#include "overlapped_serial_port.h"
#include "pin_dialog.h"
#include "startup_platform.h"
#include "system_clock.h"
#include "system_file_system.h"
#include "system_message_boxes.h"
#include "system_process_starter.h"
#include "system_registry.h"
#include "system_worker_threads.h"
#include "window_notice_sink.h"

namespace {

// A number other programs cannot know, so the main window tells its own WM_APP posts from
// those of another program.
std::uintptr_t notice_token() {
  std::uint64_t token = 0;
  if (!RtlGenRandom(&token, sizeof token)) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    token = (static_cast<std::uint64_t>(counter.QuadPart) ^ GetCurrentProcessId()) *
            0x9E3779B97F4A7C15u;
  }
  return static_cast<std::uintptr_t>(token | 1);  // never 0, which a stray post would carry
}

}  // namespace

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
  kivo::NoticeCourier notice_courier(notice_pool, notice_token());
  kivo::WindowNoticeSink notices(notice_courier, main_window_handle, trace);
  kivo::AppState state;
  kivo::CommandSet command_set = kivo::CommandSet::Standard;
  kivo::ModemLink link({opener, notices, trace, boxes, state.device.command_set});
  kivo::SystemWorkerThreads workers;
  kivo::DialogMainView view(notices, main_window_handle);
  // For the modem's initialization on the discovery thread, when the SIM wants its PIN.
  kivo::DialogPinPrompt pin_prompt(instance, main_window_handle);
  kivo::MainWindowController controller({state, view, workers, link, registry, files, trace, clock,
                                         processes, boxes, opener, pin_prompt});

  kivo::MainWindow main_window(controller, view, notice_courier, state, command_set);
  kivo::SystemStartupPlatform platform(instance, main_window);

  // The command line is upper-cased in place, so it gets a buffer of its own.
  std::vector<char> text(command_line, command_line + std::strlen(command_line) + 1);
  kivo::StartupContext context{platform, boxes, trace, state.options, command_set};
  // Workers still running (a discovery waiting for its modem, a box still open) end with the
  // process, not by using the objects above after they are gone.
  ExitProcess(static_cast<UINT>(kivo::run_startup(context, text.data())));
}

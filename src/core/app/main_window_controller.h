#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "base/clock.h"
#include "base/file_system.h"
#include "base/message_boxes.h"
#include "base/process_starter.h"
#include "base/registry.h"
#include "base/sleeper.h"
#include "base/trace.h"
#include "base/worker_slots.h"
#include "base/worker_threads.h"
#include "link/link_control.h"
#include "link/notices.h"
#include "link/serial_port.h"
#include "messaging/apn_setting.h"
#include "messaging/ussd_context.h"
#include "setup/pin_prompt.h"
#include "status/network_context.h"
#include "usage/connection.h"
#include "usage/usage_context.h"
#include "view/main_view.h"

namespace kivo {

struct MainWindowContext {
  AppState& state;
  MainView& view;
  WorkerThreads& workers;
  LinkControl& link;
  Registry& registry;
  FileSystem& files;
  const Trace& trace;
  Clock& clock;
  // The dialer and the boxes of the threads the window starts.
  ProcessStarter& processes;
  MessageBoxes& boxes;
  // What discovery opens the modem's port with, and asks for the SIM PIN through.
  SerialPortOpener& ports;
  PinPrompt& pin_prompt;
  // The waits of the threads the window starts, and of reading a held usage.bin.
  Sleeper& sleeper = system_sleeper();
};

// The logic of the main window: creation, the command and notification routing, the timers,
// the worker slots and closing. The Win32 dialog procedure forwards its messages here.
class MainWindowController {
 public:
  explicit MainWindowController(MainWindowContext context);

  void on_init_dialog();                                     // window creation
  void on_command(int control, unsigned notification_code);  // WM_COMMAND
  void on_timer(unsigned timer);                             // WM_TIMER
  void on_notice(const Notice& notice);                      // WM_APP + n
  void on_close();                                           // WM_CLOSE
  void on_end_session(bool ending, std::uint32_t flags);     // WM_ENDSESSION

  // Any thread.
  void set_status_text(const char* text);

  // The window's thread.
  int close_modem_link(bool farewell);
  // The two-second poll: the readings the command set does not report by itself.
  void poll_tick();
  void reset_modem();
  void detect_modem();

 private:
  void setup_main_window();
  NetworkContext network() {
    return {context_.link,         context_.view,  context_.state.network,
            context_.state.device, context_.files, context_.clock};
  }
  UsageContext usage() {
    const Options& options = context_.state.options;
    return {context_.link,        context_.view,
            context_.state.usage, context_.files,
            context_.clock,       context_.sleeper,
            context_.trace,       {options.session_log, options.hex_profiles}};
  }
  DialerContext dialer() { return {context_.processes, context_.boxes, context_.view}; }
  UssdContext ussd() {
    return {context_.link, context_.view, context_.boxes, context_.state.ussd,
            !slots_.is_free(Worker::discovery)};
  }
  ApnContext apn() { return {context_.link, context_.view, context_.boxes}; }
  void reset_usage();
  void ask_reset_totals();
  void show_device_info();
  void on_click(int control);
  void on_messaging_click(int control);
  // Enables `button` and makes it the default while `input` holds text; otherwise the
  // connect button is the default.
  void follow_input(int input, int button);
  void on_discovery_done();
  void show_box(const char* text, BoxIcon icon);
  void start_discovery(unsigned wait_first_ms);

  MainWindowContext context_;
  WorkerSlots slots_;
};

}  // namespace kivo

#include "usage/connection.h"

#include <cstring>

#include "usage/session_log.h"
#include "usage/usage_store.h"

namespace kivo {

namespace {

constexpr std::uint32_t kEndSessionLogoff = 0x80000000;

}  // namespace

void on_connect_button(const UsageContext& context, WorkerSlots& slots,
                       const DialerContext& dialer) {
  // The caption stays "Disconnect" until the watchdog sees the context go down.
  if (context.usage.online) {
    hang_up(context.channel);
    return;
  }
  if (!slots.is_free(Worker::connect)) return;
  log_event(context, "CONNECTION ATTEMPTED");
  slots.start(Worker::connect, [dialer] { dialer_thread(dialer); });
}

void dialer_thread(const DialerContext& context) {
  // The dialer makes the connection; the flow reports tell that it is up.
  if (!context.processes.run_and_wait("rasphone.exe")) {
    BoxRequest request;
    request.owner = BoxOwner::MainWindow;
    request.text = "Unable to execute rasphone.exe.";
    request.icon = BoxIcon::Error;
    context.boxes.show(request);
  }
  Notice done;
  done.id = NoticeId::DialerWorkerDone;
  context.view.post(done);
}

void hang_up(AtChannel& channel) {
  channel.tx_at_command("AT+CGACT=0,1\r\n");
  channel.tx_at_command("ATH\r\n");
}

bool keep_ras_connections(Registry& registry) {
  char value[256];
  return registry.read_value(RegistryRoot::LocalMachine,
                             "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
                             "KeepRasConnections", value, sizeof value) &&
         std::strcmp(value, "1") == 0;
}

bool on_close_while_online(const UsageContext& context) {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text =
      "You are currently online.  Proceding will exit KIVO.\n"
      "Do you wish to disconnect and save the data counters?";
  request.icon = BoxIcon::Question;
  request.buttons = BoxButtons::YesNoCancel;
  request.default_button = 3;  // Cancel
  switch (context.view.show_box(request)) {
    case BoxAnswer::Yes:
      hang_up(context.channel);
      log_event(context, "DISCONNECT & EXIT");
      update_totals(context);
      context.usage.online = false;
      return true;
    case BoxAnswer::No:
      // Left connected, and the session is not added to the totals.
      return true;
    default:
      return false;
  }
}

void on_end_session(const UsageContext& context, Registry& registry, bool ending,
                    std::uint32_t flags) {
  if (!ending) return;
  if ((flags & kEndSessionLogoff) && keep_ras_connections(registry)) return;
  // Online or not: a connection the reports have not shown yet is dropped as well.
  hang_up(context.channel);
  log_event(context, "DISCONNECT & EXIT (WM_ENDSESSION)");
  update_totals(context);
  context.usage.online = false;
  // Closes without asking, as the window is offline now.
  context.view.post_close();
}

}  // namespace kivo

#include "app/discovery_stand_in.h"

#include <string>

#include "status/apn_read.h"
#include "status/command_set_profile.h"
#include "status/operator_poll.h"
#include "status/registration.h"
#include "status/signal.h"

namespace kivo {

namespace {

// What the end of the modem's initialization leaves behind: registration reports with the
// location where the modem takes them, and the first readings, so the window is filled before
// the first poll.
void take_first_readings(const DiscoveryContext& context) {
  AppState& state = context.state;
  const NetworkContext network{context.link, context.view, state.network, state.device};
  state.network.location_reports_enabled =
      context.link.tx_at_command("AT+CGREG=2\r\n").text.find("OK") != std::string::npos;
  const CommandSetProfile& profile = command_set_profile(state.device.command_set);
  if (profile.first_technology) profile.first_technology(network);
  if (profile.first_mode) profile.first_mode(network);
  read_apn(network);
  poll_signal(network);
  poll_operator(network);
  if (state.network.location_reports_enabled) poll_registration(network);
}

}  // namespace

void discovery_thread(const DiscoveryContext& context, unsigned wait_first_ms) {
  if (wait_first_ms != 0) context.sleeper.sleep_ms(wait_first_ms);
  if (!context.state.options.port_given) {
    context.view.set_status_text("Detecting mobile data device...");
    return;
  }
  context.view.set_status_text("Opening communications port...");
  if (context.link.open_modem_link(context.state.options.port_name)) {
    take_first_readings(context);
    context.state.device.device_ready = true;
    context.view.set_status_text("Ready");
  } else {
    context.view.set_status_text("Unable to open COM port.");
  }
  Notice done;
  done.id = NoticeId::DiscoveryDone;
  context.view.post(done);
}

}  // namespace kivo

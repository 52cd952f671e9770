#include "status/registration.h"

#include <string>

#include "link/registration_parser.h"
#include "status/command_set_profile.h"
#include "status/operator_poll.h"
#include "status/signal_log.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

// +CGREG stat values.
constexpr std::int32_t kNotRegistered = 0;
constexpr std::int32_t kHome = 1;
constexpr std::int32_t kSearching = 2;
constexpr std::int32_t kRoaming = 5;

void refresh_network(const NetworkContext& context) {
  poll_operator(context);
  const CommandSetProfile& profile = command_set_profile(context.device.command_set);
  if (profile.registered_technology) profile.registered_technology(context);
  if (profile.registered_mode) profile.registered_mode(context);
}

void clear_network(const NetworkContext& context) {
  for (int control :
       {IDC_MCC, IDC_MNC, IDC_OPERATOR, IDC_TECHNOLOGY, IDC_LAC, IDC_RNC_ID, IDC_CELL_ID})
    context.view.set_text(control, "");
  // The technology text stays for the log; the next registration shows everything again.
  NetworkSnapshot& snapshot = context.network.snapshot;
  snapshot.operator_code = 0;
  snapshot.lac = 0;
  snapshot.cell_id = 0;
}

}  // namespace

void poll_registration(const NetworkContext& context) {
  RegistrationReport report;
  if (parse_cgreg_read(context.channel.tx_at_command("AT+CGREG?\r\n").text, report))
    show_registration(context, report);
}

void show_registration(const NetworkContext& context, const RegistrationReport& report) {
  NetworkSnapshot& snapshot = context.network.snapshot;
  const auto stat = static_cast<std::int32_t>(report.stat);
  // The new status is kept before the refresh: a warning box of the network-mode read runs a
  // message loop, and the polls and reports handled meanwhile must not refresh again.
  if (snapshot.reg_status.exchange(stat) != stat) {
    if (stat == kHome || stat == kRoaming) {
      // During initialization the sequence takes these readings itself.
      if (context.device.device_ready) refresh_network(context);
    } else if (stat != kNotRegistered) {
      clear_network(context);
    }
  }
  if (stat == kSearching) return;
  if (report.lac == snapshot.lac.load() && report.ci == snapshot.cell_id.load()) return;
  MainView& view = context.view;
  view.set_text(IDC_LAC, std::to_string(report.lac).c_str());
  view.set_text(IDC_RNC_ID, std::to_string(report.ci >> 16).c_str());
  view.set_text(IDC_CELL_ID, std::to_string(report.ci & 0xFFFF).c_str());
  snapshot.lac = report.lac;
  snapshot.cell_id = report.ci;
  log_network_event(context, "CELLID");
}

}  // namespace kivo

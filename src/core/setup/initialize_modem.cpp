#include "setup/initialize_modem.h"

#include <cstdio>

#include "link/novatel.h"
#include "setup/answer_parsers.h"
#include "setup/checked_command.h"
#include "setup/init_steps.h"
#include "setup/sim_steps.h"
#include "status/apn_read.h"
#include "status/operator_poll.h"
#include "status/registration.h"
#include "status/signal.h"

namespace kivo {

namespace {

constexpr std::size_t kCommandTextSize = 256;

constexpr CheckedCommand kDefaults[] = {
    {"AT&F0\r\n", {"OK"}, "Sent: \"AT^&F0\"\nExpected: \"OK\"\nReceived: \"%s\"", false},
    {"ATE0\r\n", {"OK"}, "Sent: \"ATE0\"\nExpected: \"OK\"\nReceived: \"%s\"", false},
    {"AT+CMEE=1\r\n", {"OK"}, "Sent: \"AT+CMEE=1\"\nExpected: \"OK\"\nReceived: \"%s\"", false},
};

// Makes sure the port answers AT commands. The Novatel modem takes them only in diagnostic
// frames, which its two opening packets switch on; any other port first gets a line end that
// clears whatever it was left holding.
StepEnd wake_modem(const SetupContext& context) {
  AtChannel& channel = context.channel;
  if (context.device.command_set == CommandSet::Novatel) {
    channel.tx_data_and_get_response(DiagCommandZero, sizeof(DiagCommandZero));
    channel.tx_data_and_get_response(NovatelSubsysCommand0, sizeof(NovatelSubsysCommand0));
    if (channel.tx_at_command("AT+CFUN=1\r\n").result != 1) return InitResult::NotResponding;
    return std::nullopt;
  }
  channel.tx_data(EscapeLine, sizeof(EscapeLine));
  if (channel.tx_at_command("AT\r\n").result != 1) return run_diagnostic_probe(context);
  return std::nullopt;
}

// Huawei: reads the hardware-start information the modem wants confirmed by AT^BOOT. A modem
// that answers ERROR has none to confirm.
bool read_hs(const SetupContext& context, HsInfo& info) {
  const Reply reply = context.channel.tx_at_command("AT^HS=0,0\r\n");
  if (parse_hs(reply.text, info)) return true;
  if (!contains(reply, "ERROR"))
    show_unexpected_answer(
        context, "Sent: \"AT^HS=0,0\"\nExpected: \"^HS:a,b,c,d,e\" or \"ERROR\"\nReceived: \"%s\"",
        reply);
  return false;
}

// Factory profile, echo off, numeric error codes; Huawei's start confirmation.
bool set_defaults(const SetupContext& context) {
  const bool huawei = context.device.command_set == CommandSet::Huawei;
  HsInfo hs;
  const bool boot_wanted = huawei && read_hs(context, hs);
  for (const CheckedCommand& command : kDefaults) run_checked(context, command);
  if (!boot_wanted) return true;
  char boot[kCommandTextSize];
  std::snprintf(boot, sizeof(boot), "AT^BOOT=%d,0\r\n", static_cast<int>(hs.id));
  return run_checked(
      context,
      {boot,
       {"OK", "COMMAND NOT SUPPORT"},
       "Sent: \"AT^BOOT=x,0\"\nExpected: \"OK\" or \"COMMAND NOT SUPPORT\"\nReceived: \"%s\"",
       true});
}

// Fills the main window before the first poll.
void take_first_readings(const SetupContext& context) {
  const NetworkContext network = context.network_context();
  read_apn(network);
  poll_signal(network);
  poll_operator(network);
  if (context.network.location_reports_enabled) poll_registration(network);
}

}  // namespace

InitResult initialize_modem(const SetupContext& context) {
  const CommandSet command_set = context.device.command_set;
  if (const StepEnd end = wake_modem(context)) return *end;
  if (!set_defaults(context)) return InitResult::InitError;
  if (command_set != CommandSet::Novatel)
    if (const StepEnd end = check_radio(context)) return *end;
  if (!unlock_sim(context)) return InitResult::InitError;
  if (command_set == CommandSet::Huawei && !check_network_lock(context))
    return InitResult::InitError;
  if (!set_up_messages(context) || !set_up_reports(context) || !run_vendor_step(context))
    return InitResult::InitError;
  take_first_readings(context);
  return InitResult::Ready;
}

}  // namespace kivo

#include "link/link_profile.h"
#include "setup/checked_command.h"
#include "setup/init_steps.h"

namespace kivo {

namespace {

constexpr char kRadioBox[] = "Sent: \"AT+CFUN?\"\nExpected: \"+CFUN: x\"\nReceived: \"%s\"";

bool radio_on(const Reply& reply) {
  return contains(reply, "+CFUN: 1");
}

}  // namespace

StepEnd check_radio(const SetupContext& context) {
  AtChannel& channel = context.channel;
  const Reply state = channel.tx_at_command("AT+CFUN?\r\n");
  if (radio_on(state)) return std::nullopt;
  if (contains(state, "+CFUN: 4")) {
    // Flight mode: a restart brings the radio back.
    channel.tx_at_command("AT+CFUN=6\r\n");
    return InitResult::ResetByCfun;
  }
  channel.tx_at_command("AT+CFUN=1\r\n");
  const Reply again = channel.tx_at_command("AT+CFUN?\r\n");
  if (radio_on(again)) return std::nullopt;
  if (contains(again, "+CFUN: ")) {
    restart_with_cfun(channel);
    return InitResult::ResetByCfun;
  }
  show_unexpected_answer(context, kRadioBox, again);
  return InitResult::InitError;
}

}  // namespace kivo

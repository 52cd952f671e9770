#include <cctype>
#include <cstdio>
#include <string>

#include "base/message_boxes.h"
#include "link/pin_mask.h"
#include "setup/answer_parsers.h"
#include "setup/checked_command.h"
#include "setup/secret_text.h"
#include "setup/sim_steps.h"

namespace kivo {

namespace {

constexpr unsigned kBusyTries = 15;
constexpr unsigned kRetryPauseMs = 1000;
constexpr std::size_t kCommandTextSize = 256;
constexpr std::size_t kShortestPin = 4;

enum class PinOutcome { Accepted, Wrong, Failed };

// The SIM's state; while the SIM is busy, asked again a second later. False once a box has
// said why the SIM cannot be used.
bool query_sim_state(const SetupContext& context, PinState& state) {
  const CommandSet command_set = context.device.command_set;
  const char* query = command_set == CommandSet::Huawei ? "AT^CPIN?\r\n" : "AT+CPIN?\r\n";
  for (unsigned busy = 0;;) {
    const Reply reply = context.channel.tx_at_command(query);
    if (contains(reply, "+CME ERROR: 14")) {
      context.sleeper.sleep_ms(kRetryPauseMs);
      if (++busy < kBusyTries) continue;
      error_box(context.boxes, "Sent: \"AT+CPIN?\"\nError: Exceeded %d retries",
                static_cast<int>(kBusyTries));
      return false;
    }
    if (contains(reply, "+CME ERROR: 13") || contains(reply, "+CME ERROR: 10")) {
      error_box(context.boxes, "Error: SIM card failure or SIM card not present.");
      return false;
    }
    if (parse_cpin(reply.text, command_set, state)) return true;
    show_unexpected_answer(context,
                           "Sent: \"AT+CPIN?\"\nExpected: \"+CPIN: READY\", \"+CPIN: SIM PIN\" or "
                           "\"+CPIN: SIM PUK\"\nReceived: \"%s\"",
                           reply);
    return false;
  }
}

BoxAnswer show_warning(const SetupContext& context, const char* text, BoxButtons buttons) {
  BoxRequest request;
  request.text = text;
  request.icon = BoxIcon::Warning;
  request.buttons = buttons;
  return context.boxes.show(request);
}

// Only 4 to 8 digits go to the modem: anything else could end the command line early and
// carry further commands.
bool is_well_formed_pin(const char (&pin)[kPinBufferSize]) {
  std::size_t length = 0;
  while (length < kPinBufferSize && pin[length] != '\0') {
    if (!std::isdigit(static_cast<unsigned char>(pin[length]))) return false;
    ++length;
  }
  return length >= kShortestPin && length < kPinBufferSize;
}

PinOutcome send_pin(const SetupContext& context, const char (&pin)[kPinBufferSize]) {
  SecretText<kCommandTextSize> command;
  if (context.device.command_set == CommandSet::Huawei)
    std::snprintf(command.text, sizeof(command.text), "AT^CPIN=%s\r\n", pin);
  else
    std::snprintf(command.text, sizeof(command.text), "AT+CPIN=%s\r\n", pin);
  Reply reply = context.channel.tx_at_command(command.text);
  // A modem that still echoes shows the PIN in its answer, masked here as in the trace.
  char masked[kPinMaskBufferSize];
  reply.text = std::string(mask_pin_codes(reply.text, masked));
  if (contains(reply, "OK")) return PinOutcome::Accepted;
  if (contains(reply, "+CME ERROR: 16")) return PinOutcome::Wrong;
  show_unexpected_answer(
      context,
      "Sent: \"AT+CPIN=********\"\nExpected: \"OK\" or \"+CME ERROR: 16\"\nReceived: \"%s\"",
      reply);
  return PinOutcome::Failed;
}

PinOutcome enter_pin(const SetupContext& context, std::uint32_t attempts) {
  SecretText<kPinBufferSize> pin;
  if (!context.pin_prompt.ask_pin(attempts, pin.text)) return PinOutcome::Failed;
  // One attempt left: a wrong PIN now locks the SIM.
  if (attempts == 1 &&
      show_warning(context,
                   "Warning: An incorrect PIN will lock your SIM card.\r\nPlease have your PUK "
                   "code handy.",
                   BoxButtons::OkCancel) != BoxAnswer::Ok)
    return PinOutcome::Failed;
  if (!is_well_formed_pin(pin.text)) return PinOutcome::Wrong;
  return send_pin(context, pin.text);
}

}  // namespace

bool unlock_sim(const SetupContext& context) {
  for (;;) {  // a wrong PIN asks the modem again, for its new count of attempts
    PinState state;
    if (!query_sim_state(context, state)) return false;
    switch (state.state) {
      case SimState::Ready:
        return true;
      case SimState::PukWanted:
        error_box(context.boxes,
                  "Error: SIM card is locked.\r\nInsert the SIM card into a mobile "
                  "telephone\r\nand unlock the SIM card using your PUK code.");
        return false;
      case SimState::PinWanted:
        break;
    }
    switch (enter_pin(context, state.attempts)) {
      case PinOutcome::Accepted:
        return true;
      case PinOutcome::Failed:
        return false;
      case PinOutcome::Wrong:
        show_warning(context, "Warning: Incorrect PIN entered.", BoxButtons::Ok);
        break;
    }
  }
}

}  // namespace kivo

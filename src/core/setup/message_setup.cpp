#include "base/message_boxes.h"
#include "setup/checked_command.h"
#include "setup/init_steps.h"

namespace kivo {

namespace {

constexpr char kIndicationsCommand[] = "AT+CNMI=1,1,2,1,0\r\n";
constexpr unsigned kIndicationsTries = 15;
constexpr unsigned kRetryPauseMs = 1000;

constexpr CheckedCommand kPduMode{
    "AT+CMGF=0\r\n", {"OK"}, "Sent: \"AT+CMGF\"\nExpected: \"OK\"\nReceived: \"%s\"", true};

constexpr CheckedCommand kAllBroadcasts{
    "AT+CSCB=0,\"0-65535\",\"\"\r\n",
    {"OK"},
    "Sent: \"AT+CSCB=0,\"0-65535\",\"\"\"\nExpected: \"OK\"\nReceived: \"%s\"",
    false};

// Modems without SMS storage or service answer 302/303 or a plain ERROR: nothing to set up.
bool indications_accepted(const Reply& reply) {
  return contains(reply, "OK") || contains(reply, "+CMS ERROR: 302") ||
         contains(reply, "+CMS ERROR: 303") || begins_with_ignoring_case(reply, "ERROR");
}

// The SMS side of a modem that has just started answers 500 for a while.
bool enable_message_indications(const SetupContext& context) {
  for (unsigned tries = 1;; ++tries) {
    const Reply reply = context.channel.tx_at_command(kIndicationsCommand);
    if (indications_accepted(reply)) return true;
    if (!contains(reply, "+CMS ERROR: 500")) {
      show_unexpected_answer(context,
                             "Sent: \"AT+CNMI=1,1,2,1,0\"\nExpected: \"OK\" or \"+CMS ERROR: "
                             "500\"\nReceived: \"%s\"",
                             reply);
      return false;
    }
    context.sleeper.sleep_ms(kRetryPauseMs);
    if (tries == kIndicationsTries) {
      error_box(context.boxes, "Sent: \"AT+CNMI=1,1,2,1,0\"\nError: Exceeded %d retries",
                static_cast<int>(kIndicationsTries));
      return false;
    }
  }
}

// Cell broadcasts are optional: a modem without them answers ERROR or 500.
void enable_cell_broadcasts(const SetupContext& context) {
  const Reply reply = context.channel.tx_at_command("AT+CSCB=1\r\n");
  if (contains(reply, "OK")) {
    run_checked(context, kAllBroadcasts);
  } else if (!begins_with_ignoring_case(reply, "ERROR") &&
             !begins_with_ignoring_case(reply, "+CMS ERROR: 500")) {
    show_unexpected_answer(
        context,
        "Sent: \"AT+CSCB=1\"\nExpected: \"OK\", \"ERROR\" or \"+CMS ERROR: 500\"\nReceived: \"%s\"",
        reply);
  }
}

}  // namespace

bool set_up_messages(const SetupContext& context) {
  if (!run_checked(context, kPduMode) || !enable_message_indications(context)) return false;
  enable_cell_broadcasts(context);
  return true;
}

}  // namespace kivo

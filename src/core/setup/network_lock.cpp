#include "base/message_boxes.h"
#include "setup/answer_parsers.h"
#include "setup/checked_command.h"
#include "setup/sim_steps.h"
#include "status/mode_setting_parsers.h"

namespace kivo {

namespace {

constexpr char kLockQuery[] = "AT^CARDLOCK?\r\n";
constexpr unsigned kBusyTries = 15;
constexpr unsigned kRetryPauseMs = 1000;
constexpr std::uint32_t kNotLocked = 2;

bool accept_lock_state(const SetupContext& context, const CardLockInfo& lock) {
  if (lock.status == kNotLocked) return true;
  error_box(context.boxes,
            "Your mobile data device is network locked.\r\nYou can only use a SIM card from "
            "operator %d.\r\nPlease contact them for an 8-digit unlock code.\r\nYou have %d "
            "remaining attempts to enter the unlock code.",
            as_int(lock.operator_number), as_int(lock.attempts));
  return false;
}

}  // namespace

bool check_network_lock(const SetupContext& context) {
  Reply reply = context.channel.tx_at_command(kLockQuery);
  if (contains(reply, "COMMAND NOT SUPPORT")) return true;  // a modem without the lock
  for (unsigned busy = 0;;) {
    CardLockInfo lock;
    if (parse_cardlock(reply.text, lock)) return accept_lock_state(context, lock);
    if (!contains(reply, "+CME ERROR: 14")) {
      show_unexpected_answer(context,
                             "Sent: \"AT^CARDLOCK?\"\nExpected: \"^CARDLOCK: 2,0,0\" or \"+CME "
                             "ERROR: 14\" or \"COMMAND NOT SUPPORT\"\nReceived: \"%s\"",
                             reply);
      return false;
    }
    context.sleeper.sleep_ms(kRetryPauseMs);
    if (++busy == kBusyTries) {
      error_box(context.boxes, "Sent: \"AT^CARDLOCK?\"\nError: Exceed %d retries",
                static_cast<int>(kBusyTries));
      return false;
    }
    reply = context.channel.tx_at_command(kLockQuery);
  }
}

}  // namespace kivo

#include "usage/watchdog.h"

#include "link/number_reader.h"
#include "usage/session_log.h"
#include "usage/usage_store.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

// Checks in a row without a usable answer after which the connection counts as lost.
constexpr std::uint32_t kMaxMisses = 5;
constexpr std::uint32_t kActivated = 1;
constexpr std::string_view kCgactPrefix = "+CGACT: ";

// "<cid>,<state>" behind the prefix of one line.
PdpContextStatus read_context(std::string_view line) {
  PdpContextStatus context;
  const NumberReading cid = read_number(line, kCgactPrefix.size());
  context.cid = cid.value;
  context.state = read_number(line, cid.end + 1).value;
  return context;
}

}  // namespace

bool parse_cgact(std::string_view response, PdpContextStatus& status) {
  if (!starts_with(response, kCgactPrefix)) return false;
  status = read_context(first_line(response));
  // A modem lists each context on a line of its own, and the dial-up need not run on the first.
  for (std::string_view rest = response; status.state != kActivated;) {
    const std::size_t line_end = rest.find_first_of("\r\n");
    if (line_end == std::string_view::npos) break;
    rest.remove_prefix(line_end + 1);
    if (!starts_with(rest, kCgactPrefix)) continue;
    const PdpContextStatus context = read_context(first_line(rest));
    if (context.state == kActivated) status = context;
  }
  return true;
}

bool connection_watchdog(const UsageContext& context) {
  UsageState& state = context.usage;
  context.trace("timeout waiting for ^DSFLOWRPT response, checking PDP context status...");
  PdpContextStatus status;
  bool answered = false;
  const Reply reply = context.channel.tx_at_command("AT+CGACT?\r\n");
  if (!reply.result) {
    ++state.watchdog_miss_count;
    context.trace("no response received to PDP context status query");
  } else if (parse_cgact(reply.text, status)) {
    answered = true;
    state.watchdog_miss_count = 0;
    context.trace(status.state == kActivated
                      ? "PDP context status is activated, resetting connection timeout"
                      : "PDP context status is deactivated, assuming connection lost");
  } else {
    ++state.watchdog_miss_count;
    context.trace("unexpected response to AT+CGACT?: %s", reply.text.c_str());
    context.trace("resetting connection timeout");
  }

  if (status.state == kActivated || (!answered && state.watchdog_miss_count < kMaxMisses)) {
    context.view.set_timer(TIMER_WATCHDOG, kWatchdogPeriodMs);
    return false;
  }
  context.trace("updating data counter totals and resetting current connection counters");
  log_event(context, "DISCONNECTED");
  update_totals(context);
  state.online = false;
  context.view.set_text(IDC_CONNECT, "Connect");
  return true;
}

}  // namespace kivo

#include "usage/flow_report.h"

#include <cstdio>
#include <initializer_list>

#include "usage/formatters.h"
#include "usage/session_log.h"
#include "usage/usage_store.h"
#include "usage/usage_totals.h"
#include "usage/watchdog.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

// Two seconds into a connection a modem cannot have moved more than this; more means counters
// left over from before.
constexpr std::uint32_t kFirstReportDuration = 2;
constexpr std::int64_t kFirstReportMaxTxBytes = 0x18000;  // 98,304
constexpr std::int64_t kFirstReportMaxRxBytes = 0x70800;  // 460,800

// 2.1 and 7.3 Mbit/s, more than the link carries: such a report is garbage.
constexpr std::uint32_t kMaxTxRate = 262500;
constexpr std::uint32_t kMaxRxRate = 912500;

// The modem reports the negotiated profiles with an offset that depends on their encoding.
constexpr std::uint32_t kQosTxOffsetHigh = 185199178;
constexpr std::uint32_t kQosTxOffsetLow = 6321784;
constexpr std::uint32_t kQosRxOffsetHigh = 4517352;
constexpr std::uint32_t kQosRxOffsetLow = 1297872;
constexpr std::uint32_t kQosRxUnavailable = 0x10000000;

struct RateFields {
  int current;
  int max;
  int average;
  int max_average;
};
constexpr RateFields kTxFields{IDC_RATE_UP, IDC_RATE_UP_MAX, IDC_RATE_UP_AVERAGE,
                               IDC_RATE_UP_MAX_AVERAGE};
constexpr RateFields kRxFields{IDC_RATE_DOWN, IDC_RATE_DOWN_MAX, IDC_RATE_DOWN_AVERAGE,
                               IDC_RATE_DOWN_MAX_AVERAGE};

void show_rate(MainView& view, int control, std::uint32_t rate) {
  FormattedText text;
  view.set_text(control, format_rate(rate, text));
}

// The current rate, its maximum, the mean over the last five reports and the mean's maximum.
void track_rate(MainView& view, const RateFields& fields, std::uint32_t rate, std::uint32_t& max,
                std::uint32_t (&history)[RateStatistics::kHistory], std::uint32_t& average,
                std::uint32_t& max_average) {
  FormattedText text;
  format_rate(rate, text);
  view.set_text(fields.current, text);
  if (rate > max) {
    max = rate;
    view.set_text(fields.max, text);
  }
  std::uint64_t sum = rate;
  for (int i = 0; i < RateStatistics::kHistory; ++i) {
    sum += history[i];
    history[i] = i + 1 < RateStatistics::kHistory ? history[i + 1] : rate;
  }
  average = static_cast<std::uint32_t>(sum / (RateStatistics::kHistory + 1));
  show_rate(view, fields.average, average);
  if (average > max_average) {
    max_average = average;
    show_rate(view, fields.max_average, average);
  }
}

std::uint32_t minus_offset(std::uint32_t value, std::uint32_t high, std::uint32_t low) {
  if (value >= high) return value - high;
  if (value >= low) return value - low;
  return value;
}

void show_profiles(const UsageContext& context, const FlowReport& report) {
  MainView& view = context.view;
  FormattedText text;
  if (context.settings.hex_profiles) {
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(report.qos_tx));
    view.set_text(IDC_PROFILE_UP, text);
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(report.qos_rx));
    view.set_text(IDC_PROFILE_DOWN, text);
    return;
  }
  show_rate(view, IDC_PROFILE_UP, minus_offset(report.qos_tx, kQosTxOffsetHigh, kQosTxOffsetLow));
  if (report.qos_rx & kQosRxUnavailable)
    view.set_text(IDC_PROFILE_DOWN, "N/A");
  else
    show_rate(view, IDC_PROFILE_DOWN,
              minus_offset(report.qos_rx, kQosRxOffsetHigh, kQosRxOffsetLow));
}

void show_session(MainView& view, const SessionCounters& session) {
  FormattedText text;
  view.set_text(IDC_SESSION_DURATION, format_duration(session.duration, text));
  view.set_text(IDC_SESSION_SENT, format_byte_count(session.tx_bytes, text));
  view.set_text(IDC_SESSION_RECEIVED, format_byte_count(session.rx_bytes, text));
  view.set_text(IDC_SESSION_TOTAL,
                format_byte_count(byte_sum(session.tx_bytes, session.rx_bytes), text));
}

}  // namespace

void on_flow_report(const UsageContext& context, const FlowReport& report) {
  UsageState& state = context.usage;
  if (!state.online) {
    context.trace("^DSFLOWRPT received, assuming device is online");
    state.online = true;
    context.view.set_text(IDC_CONNECT, "Disconnect");
    log_event(context, "CONNECTION DETECTED");
  }
  // Every report, also one rejected below, puts the watchdog off for another period.
  state.watchdog_miss_count = 0;
  context.view.set_timer(TIMER_WATCHDOG, kWatchdogPeriodMs);

  if (report.duration == kFirstReportDuration &&
      (report.tx_bytes > kFirstReportMaxTxBytes || report.rx_bytes > kFirstReportMaxRxBytes ||
       report.tx_rate > kMaxTxRate || report.rx_rate > kMaxRxRate)) {
    context.trace("data counter values too high, resetting totals");
    log_event(context, "RESET TOTALS (UNEXPECTED VALUES)");
    context.channel.tx_at_command("AT^DSFLOWCLR\r\n");
    return;
  }
  if (report.tx_rate > kMaxTxRate || report.rx_rate > kMaxRxRate) {
    context.trace("data speed too high, resetting counters");
    reset_session_counters(context);
    return;
  }

  SessionCounters& session = state.session;
  session.duration = report.duration;
  session.tx_bytes = report.tx_bytes;
  session.rx_bytes = report.rx_bytes;
  show_session(context.view, session);

  RateStatistics& rates = state.rates;
  track_rate(context.view, kTxFields, report.tx_rate, rates.max_tx_rate, rates.tx_history,
             rates.avg_tx_rate, rates.max_avg_tx_rate);
  track_rate(context.view, kRxFields, report.rx_rate, rates.max_rx_rate, rates.rx_history,
             rates.avg_rx_rate, rates.max_avg_rx_rate);
  show_profiles(context, report);
}

void reset_session_counters(const UsageContext& context) {
  log_event(context, "RESET SESSION COUNTERS");
  update_totals(context);
  context.channel.tx_at_command("AT^DSFLOWCLR\r\n");
}

void reset_max_rates(const UsageContext& context) {
  RateStatistics& rates = context.usage.rates;
  rates.max_tx_rate = 0;
  rates.max_rx_rate = 0;
  show_rate(context.view, IDC_RATE_UP_MAX, 0);
  show_rate(context.view, IDC_RATE_DOWN_MAX, 0);
}

void reset_max_average_rates(const UsageContext& context) {
  RateStatistics& rates = context.usage.rates;
  rates.max_avg_tx_rate = 0;
  rates.max_avg_rx_rate = 0;
  show_rate(context.view, IDC_RATE_UP_MAX_AVERAGE, 0);
  show_rate(context.view, IDC_RATE_DOWN_MAX_AVERAGE, 0);
}

void clear_session_display(const UsageContext& context) {
  MainView& view = context.view;
  show_session(view, SessionCounters{});
  show_rate(view, IDC_RATE_UP, 0);
  show_rate(view, IDC_RATE_DOWN, 0);
  if (context.settings.hex_profiles) {
    view.set_text(IDC_PROFILE_UP, "00000000");
    view.set_text(IDC_PROFILE_DOWN, "00000000");
  } else {
    show_rate(view, IDC_PROFILE_UP, 0);
    show_rate(view, IDC_PROFILE_DOWN, 0);
  }
}

void clear_flow_display(const UsageContext& context) {
  context.usage.session = SessionCounters{};
  context.usage.rates = RateStatistics{};
  clear_session_display(context);
  for (int control : {IDC_RATE_UP_AVERAGE, IDC_RATE_DOWN_AVERAGE, IDC_RATE_UP_MAX,
                      IDC_RATE_DOWN_MAX, IDC_RATE_UP_MAX_AVERAGE, IDC_RATE_DOWN_MAX_AVERAGE})
    show_rate(context.view, control, 0);
}

}  // namespace kivo

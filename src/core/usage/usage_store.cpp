#include "usage/usage_store.h"

#include <cstring>

#include "usage/flow_report.h"
#include "usage/formatters.h"
#include "usage/session_log.h"
#include "usage/usage_totals.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

struct GroupFields {
  int duration;
  int sent;
  int received;
  int sum;
  int time;
};

void show_group(MainView& view, const GroupFields& fields, std::uint32_t duration,
                std::int64_t tx_bytes, std::int64_t rx_bytes, const LocalTime& time) {
  FormattedText text;
  view.set_text(fields.duration, format_duration(duration, text));
  view.set_text(fields.sent, format_byte_count(tx_bytes, text));
  view.set_text(fields.received, format_byte_count(rx_bytes, text));
  view.set_text(fields.sum, format_byte_count(byte_sum(tx_bytes, rx_bytes), text));
  view.set_text(fields.time, format_timestamp(time, text));
}

// The new record is written beside the store under the store's name with ".tmp" for its
// extension, then put in its place. False when that name does not fit.
bool temporary_path(const char* path, char (&out)[kMaxDataPathLength + 1]) {
  const char* name = std::strrchr(path, '\\');
  if (name == nullptr) name = path;
  const char* dot = std::strrchr(name, '.');
  const std::size_t stem = dot ? static_cast<std::size_t>(dot - path) : std::strlen(path);
  constexpr char kExtension[] = ".tmp";
  if (stem + sizeof kExtension > sizeof out) return false;
  std::memcpy(out, path, stem);
  std::memcpy(out + stem, kExtension, sizeof kExtension);
  return true;
}

}  // namespace

void load_usage(const UsageContext& context) {
  UsageTotals& usage = context.usage.totals;
  std::uint8_t bytes[kUsageFileSize];
  std::size_t length = 0;
  if (context.files.read_file(context.usage.data_paths.usage_file_path, bytes, sizeof bytes,
                              length) &&
      length == kUsageFileSize) {
    usage = decode_usage(bytes);
  } else {
    usage = UsageTotals{};
    const LocalTime now = context.clock.local_time();
    usage.last_session_end = now;
    usage.totals_since = now;
    usage.previous_since = now;
  }
  show_usage(context, kAllUsageGroups);
}

void update_totals(const UsageContext& context) {
  UsageTotals& usage = context.usage.totals;
  SessionCounters& session = context.usage.session;
  usage.last_session_end = context.clock.local_time();
  usage.last_duration = session.duration;
  usage.total_duration += session.duration;
  usage.last_tx_bytes = session.tx_bytes;
  usage.total_tx_bytes = byte_sum(usage.total_tx_bytes, session.tx_bytes);
  usage.last_rx_bytes = session.rx_bytes;
  usage.total_rx_bytes = byte_sum(usage.total_rx_bytes, session.rx_bytes);
  session = SessionCounters{};
  clear_session_display(context);
  show_usage(context, kLastSessionGroup | kTotalsGroup);
  save_usage(context);
}

void reset_totals(const UsageContext& context) {
  // Logged first, so that the row carries the totals being reset.
  log_event(context, "RESET TOTALS");
  UsageTotals& usage = context.usage.totals;
  usage.previous_since = usage.totals_since;
  usage.previous_duration = usage.total_duration;
  usage.previous_tx_bytes = usage.total_tx_bytes;
  usage.previous_rx_bytes = usage.total_rx_bytes;
  usage.totals_since = context.clock.local_time();
  usage.total_duration = 0;
  usage.total_tx_bytes = 0;
  usage.total_rx_bytes = 0;
  show_usage(context, kTotalsGroup | kPreviousPeriodGroup);
  save_usage(context);
}

// Never in place: a store truncated and then cut short by a crash or power loss would lose
// every total. The old file stays whole until the complete new one replaces it.
bool save_usage(const UsageContext& context) {
  std::uint8_t bytes[kUsageFileSize];
  encode_usage(context.usage.totals, bytes);
  const char* path = context.usage.data_paths.usage_file_path;
  char temporary[kMaxDataPathLength + 1];
  if (temporary_path(path, temporary) && context.files.write_file(temporary, bytes, sizeof bytes) &&
      context.files.replace_file(temporary, path))
    return true;
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = "An error occured while saving the data counters.";
  request.icon = BoxIcon::Warning;
  context.view.show_box(request);
  return false;
}

void show_usage(const UsageContext& context, unsigned groups) {
  const UsageTotals& u = context.usage.totals;
  MainView& view = context.view;
  if (groups & kLastSessionGroup)
    show_group(view,
               {IDC_LAST_DURATION, IDC_LAST_SENT, IDC_LAST_RECEIVED, IDC_LAST_TOTAL, IDC_LAST_END},
               u.last_duration, u.last_tx_bytes, u.last_rx_bytes, u.last_session_end);
  if (groups & kTotalsGroup)
    show_group(view,
               {IDC_TOTALS_DURATION, IDC_TOTALS_SENT, IDC_TOTALS_RECEIVED, IDC_TOTALS_TOTAL,
                IDC_TOTALS_SINCE},
               u.total_duration, u.total_tx_bytes, u.total_rx_bytes, u.totals_since);
  if (groups & kPreviousPeriodGroup)
    show_group(view,
               {IDC_PREVIOUS_DURATION, IDC_PREVIOUS_SENT, IDC_PREVIOUS_RECEIVED, IDC_PREVIOUS_TOTAL,
                IDC_PREVIOUS_SINCE},
               u.previous_duration, u.previous_tx_bytes, u.previous_rx_bytes, u.previous_since);
}

}  // namespace kivo

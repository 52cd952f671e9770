#include "usage/usage_store.h"

#include <cstdio>

#include "base/atomic_write.h"
#include "usage/flow_report.h"
#include "usage/formatters.h"
#include "usage/plan_tracking.h"
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

// A backup or a virus scan may hold the store with no sharing for a moment.
constexpr int kReadTries = 5;
constexpr unsigned kReadRetryMs = 100;

ReadResult read_store(const UsageContext& context, std::uint8_t (&bytes)[kUsageFileSize],
                      std::size_t& length) {
  ReadResult result = ReadResult::Unreadable;
  for (int attempt = 0; attempt < kReadTries && result == ReadResult::Unreadable; ++attempt) {
    if (attempt > 0) context.sleeper.sleep_ms(kReadRetryMs);
    result = context.files.read_file(context.usage.data_paths.usage_file_path, bytes, sizeof bytes,
                                     length);
  }
  return result;
}

void report_unreadable_store(const UsageContext& context) {
  const char* path = context.usage.data_paths.usage_file_path;
  context.trace("%s could not be read, it will not be saved over", path);
  char text[kMaxDataPathLength + 128];
  std::snprintf(text, sizeof text,
                "The stored data counters in %s could not be read. They will not be overwritten "
                "while Kivoscope runs.",
                path);
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text;
  request.icon = BoxIcon::Warning;
  context.view.show_box(request);
}

// Not in place when it can be helped: a store cut short by a crash or power loss midway would
// lose every total. The old file stays whole until the complete new one replaces it.
bool write_store(const UsageContext& context, const std::uint8_t (&bytes)[kUsageFileSize]) {
  FileSystem& files = context.files;
  const char* path = context.usage.data_paths.usage_file_path;
  const WriteResult written = write_through_temporary(files, path, bytes, kUsageFileSize);
  // A temporary file another account left behind cannot be opened by this one. Writing in
  // place risks the store only if this write fails midway; not saving would lose the totals.
  if (written == WriteResult::NotCreated)
    return files.write_file(path, bytes, kUsageFileSize) == WriteResult::Written;
  return written == WriteResult::Written;
}

}  // namespace

void load_usage(const UsageContext& context) {
  UsageTotals& usage = context.usage.totals;
  std::uint8_t bytes[kUsageFileSize];
  std::size_t length = 0;
  const ReadResult result = read_store(context, bytes, length);
  context.usage.store_unreadable = result == ReadResult::Unreadable;
  if (result == ReadResult::Read && length == kUsageFileSize) {
    usage = decode_usage(bytes);
  } else {
    usage = UsageTotals{};
    const LocalTime now = context.clock.local_time();
    usage.last_session_end = now;
    usage.totals_since = now;
    usage.previous_since = now;
  }
  show_usage(context, kAllUsageGroups);
  if (context.usage.store_unreadable) report_unreadable_store(context);
}

void update_totals(const UsageContext& context) {
  fold_into_history(context);
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

bool save_usage(const UsageContext& context) {
  // The user was told at start that the store there is kept as it is.
  if (context.usage.store_unreadable) return false;
  std::uint8_t bytes[kUsageFileSize];
  encode_usage(context.usage.totals, bytes);
  if (write_store(context, bytes)) return true;
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

#include "usage/session_log.h"

#include <cstdio>

namespace kivo {

bool write_session_log(const UsageContext& context, const char* event) {
  const UsageState& state = context.usage;
  // Without a data folder there is no log.
  if (state.data_paths.session_log_path[0] == '\0') return false;
  const LocalTime now = context.clock.local_time();
  const SessionCounters& session = state.session;
  const UsageTotals& totals = state.totals;
  char row[512];
  const int length = std::snprintf(
      row, sizeof row, "\"%d/%02d/%02d\",\"%02d:%02d:%02d\",\"%s\",%u,%llu,%llu,%u,%llu,%llu\r\n",
      now.year, now.month, now.day, now.hour, now.minute, now.second, event,
      static_cast<unsigned>(session.duration), static_cast<unsigned long long>(session.tx_bytes),
      static_cast<unsigned long long>(session.rx_bytes),
      static_cast<unsigned>(totals.total_duration),
      static_cast<unsigned long long>(totals.total_tx_bytes),
      static_cast<unsigned long long>(totals.total_rx_bytes));
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof row) return false;
  return context.files.append_to_file(state.data_paths.session_log_path, row,
                                      static_cast<std::size_t>(length));
}

void log_event(const UsageContext& context, const char* event) {
  if (context.settings.session_log) write_session_log(context, event);
}

}  // namespace kivo

#include "status/signal_log.h"

#include <cstdio>

#include "status/text_cut.h"

namespace kivo {

namespace {

std::size_t quoted_size(std::string_view text) {
  std::size_t size = text.size();
  for (char c : text)
    if (c == '"') ++size;
  return size;
}

// The longest start of `text` whose doubled-quote form fits in `room` bytes, not ending inside a
// multi-byte character.
std::string_view fitting_start(std::string_view text, std::size_t room) {
  std::size_t size = 0;
  std::size_t length = 0;
  for (; length < text.size(); ++length) {
    size += text[length] == '"' ? 2 : 1;
    if (size > room) break;
  }
  return cut_at_character_boundary(text, length);
}

void append_quoted(std::string& row, std::string_view text) {
  for (char c : text) {
    if (c == '"') row += '"';
    row += c;
  }
}

}  // namespace

std::string format_signal_log_row(const LocalTime& now, std::int32_t message_identifier,
                                  std::string_view message, const NetworkSnapshot& snapshot) {
  char start[64];
  std::snprintf(start, sizeof start, "\"%d/%02d/%02d\",\"%02d:%02d:%02d\",%d,\"", now.year,
                now.month, now.day, now.hour, now.minute, now.second,
                static_cast<int>(message_identifier));
  std::string rat = "\",";
  rat += std::to_string(snapshot.rssi.load());
  rat += ",\"";
  append_quoted(rat, snapshot.rat_text.get());
  const std::uint32_t cell_id = snapshot.cell_id.load();
  char end[64];
  std::snprintf(end, sizeof end, "\",%u,%04X,%08X,%u\r\n",
                static_cast<unsigned>(snapshot.operator_code.load()),
                static_cast<unsigned>(snapshot.lac.load()), static_cast<unsigned>(cell_id),
                static_cast<unsigned>(cell_id & 0xFFFF));

  std::string row = start;
  const std::size_t fixed = row.size() + rat.size() + std::string_view(end).size();
  const std::size_t room = fixed < kSignalLogRowLimit ? kSignalLogRowLimit - fixed : 0;
  append_quoted(row, quoted_size(message) <= room ? message : fitting_start(message, room));
  row += rat;
  row += end;
  return row;
}

bool append_signal_log_row(const NetworkContext& context, std::int32_t message_identifier,
                           std::string_view message) {
  const std::string path = context.network.signal_log_path.get();
  const std::string row = format_signal_log_row(context.clock.local_time(), message_identifier,
                                                message, context.network.snapshot);
  return context.files.append_to_file(path.c_str(), row.data(), row.size());
}

void log_network_event(const NetworkContext& context, std::string_view message) {
  if (context.network.signal_log_active) append_signal_log_row(context, 0, message);
}

}  // namespace kivo

#include "status/signal.h"

#include <string>

#include "link/number_reader.h"
#include "status/signal_log.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

constexpr std::int32_t kNoReading = 99;
constexpr std::int32_t kLowest = 0;    // -113 dBm or less
constexpr std::int32_t kHighest = 31;  // -51 dBm or more

// Bar colours as 0x00BBGGRR.
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kAmber = 0x00CCFF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;

std::uint32_t bar_colour(std::int32_t value) {
  if (value == kNoReading || value < 10) return kRed;
  if (value < 15) return kAmber;
  if (value < 20) return kGreen;
  return kBlue;
}

std::string signal_text(std::int32_t value) {
  if (value == kNoReading) return "";
  if (value == kLowest) return "<=-113dBm";
  if (value == kHighest) return ">=-51dBm";
  // 64-bit, so that no value a modem sends can overflow.
  return std::to_string(2 * static_cast<std::int64_t>(value) - 113) + "dBm";
}

}  // namespace

bool parse_csq(std::string_view text, std::uint32_t& rssi, std::uint32_t& ber) {
  constexpr std::string_view kPrefix = "+CSQ:";
  if (!starts_with(text, kPrefix)) return false;
  const std::string_view line = first_line(text);
  // Some modems send no blank behind the colon.
  const NumberReading r = read_number(line, kPrefix.size());
  rssi = r.value;
  ber = read_number(line, r.end + 1).value;
  return true;
}

void poll_signal(const NetworkContext& context) {
  const Reply reply = context.channel.tx_at_command("AT+CSQ\r\n");
  std::uint32_t rssi = 0;
  std::uint32_t ber = 0;
  if (parse_csq(reply.text, rssi, ber)) show_signal(context, static_cast<std::int32_t>(rssi));
}

void show_signal(const NetworkContext& context, std::int32_t value) {
  NetworkSnapshot& snapshot = context.network.snapshot;
  if (snapshot.rssi.load() == value) return;
  snapshot.rssi = value;
  // The row carries the new value, before the window shows it.
  log_network_event(context, "RSSI");
  MainView& view = context.view;
  view.set_text(IDC_SIGNAL_VALUE, signal_text(value).c_str());
  view.set_bar_colour(IDC_SIGNAL_BAR, bar_colour(value));
  // The bar shows values above its range as full; no reading shows it empty.
  view.set_bar_position(IDC_SIGNAL_BAR, value == kNoReading ? 0 : value);
}

}  // namespace kivo

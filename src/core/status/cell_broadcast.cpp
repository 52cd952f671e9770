#include "status/cell_broadcast.h"

#include <cstdio>
#include <string>

#include "status/signal_log.h"
#include "view/control_ids.h"

namespace kivo {

bool is_area_information(std::uint16_t message_identifier, std::uint32_t operator_code) {
  constexpr std::uint32_t kVodacom = 65501;
  constexpr std::uint32_t kMtn = 65510;
  switch (message_identifier) {
    case 50:
      return operator_code != kVodacom && operator_code != kMtn;
    case 60:
      return operator_code == kVodacom;
    case 250:
      return operator_code == kMtn;
    default:
      return false;
  }
}

void on_cell_broadcast(const NetworkContext& context, const CellBroadcastPage& page) {
  NetworkState& network = context.network;
  const LocalTime now = context.clock.local_time();
  // A page holds at most 93 characters; the header line needs about 110 more.
  char entry[256];
  std::snprintf(entry, sizeof entry,
                "%s%d/%02d/%02d %02d:%02d:%02d, Serial Number: %d,\r\nMessage Identifier: %d, "
                "DCS: %d, Page %d/%d\r\n%s",
                network.broadcast_box_empty ? "" : "\r\n\r\n", now.year, now.month, now.day,
                now.hour, now.minute, now.second, page.serial_number, page.message_identifier,
                page.dcs, page.page, page.pages, page.text);
  MainView& view = context.view;
  view.append_text(IDC_BROADCAST_TEXT, entry);
  if (is_area_information(page.message_identifier, network.snapshot.operator_code)) {
    network.cell_info_text.set(page.text);
    view.set_text(IDC_AREA_INFO, page.text);
  }
  network.broadcast_box_empty = false;
  view.enable(IDC_BROADCAST_COPY, true);
  view.enable(IDC_BROADCAST_CLEAR, true);
  if (network.signal_log_active) append_signal_log_row(context, page.message_identifier, page.text);
}

void clear_broadcast_box(const NetworkContext& context) {
  MainView& view = context.view;
  view.set_text(IDC_BROADCAST_TEXT, "");
  view.enable(IDC_BROADCAST_COPY, false);
  view.enable(IDC_BROADCAST_CLEAR, false);
  context.network.broadcast_box_empty = true;
}

}  // namespace kivo

#pragma once

#include <cstdint>

#include "link/reports.h"
#include "status/network_context.h"

namespace kivo {

// Whether a page of channel `message_identifier` carries the area information on the network
// `operator_code`: channel 60 on 65501, 250 on 65510, 50 everywhere else.
bool is_area_information(std::uint16_t message_identifier, std::uint32_t operator_code);

// Appends the page with its time and header to the broadcast box 1021 (a blank line before it
// unless the box is empty), keeps an area-information page's text and shows it in 1028, enables
// Copy and Clear, and writes the page to the signal log while logging is on.
void on_cell_broadcast(const NetworkContext& context, const CellBroadcastPage& page);

// Empties the broadcast box and disables Copy and Clear.
void clear_broadcast_box(const NetworkContext& context);

}  // namespace kivo

#pragma once

#include <atomic>
#include <cstddef>

#include "base/shared_text.h"
#include "status/network_snapshot.h"

namespace kivo {

constexpr std::size_t kSignalLogPathSize = 261;  // up to 260 bytes and a NUL
constexpr char kDefaultSignalLogName[] = "kivo_log.csv";
constexpr std::size_t kCellInfoTextSize = 94;  // a page's text: up to 93 characters and a NUL

// The network-status slice of the program's state.
struct NetworkState {
  // The modem accepted location reports; the registration poll runs only then.
  std::atomic<bool> location_reports_enabled{false};
  NetworkSnapshot snapshot;
  // The signal log: on from a start to a stop of its button, into the file last chosen (the
  // next start proposes it again).
  std::atomic<bool> signal_log_active{false};
  SharedText signal_log_path{kSignalLogPathSize - 1};
  // The cell-broadcast box: whether it is empty (the next page then needs no blank line before
  // it), and the text of the last area-information page.
  bool broadcast_box_empty = true;
  SharedText cell_info_text{kCellInfoTextSize - 1};
};

// What each new main window starts with: no readings, no log, no broadcasts. A re-detection of
// the modem keeps them.
void reset_network_state(NetworkState& network);

}  // namespace kivo

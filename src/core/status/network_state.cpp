#include "status/network_state.h"

namespace kivo {

void reset_network_state(NetworkState& network) {
  NetworkSnapshot& snapshot = network.snapshot;
  snapshot.rssi = 99;
  snapshot.rat_text.set("");
  snapshot.operator_code = 0;
  snapshot.lac = 0;
  snapshot.cell_id = 0;
  snapshot.reg_status = 0;
  network.signal_log_active = false;
  network.signal_log_path.set(kDefaultSignalLogName);
  network.broadcast_box_empty = true;
  network.cell_info_text.set("");
}

}  // namespace kivo

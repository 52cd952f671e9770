#pragma once

#include <atomic>

#include "status/network_snapshot.h"

namespace kivo {

// The network-status slice of the program's state.
struct NetworkState {
  // The modem accepted location reports; the registration poll runs only then.
  std::atomic<bool> location_reports_enabled{false};
  NetworkSnapshot snapshot;
};

}  // namespace kivo

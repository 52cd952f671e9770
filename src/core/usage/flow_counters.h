#pragma once

#include <cstdint>

namespace kivo {

// The current session as last accepted from a flow report; zero at start and after each fold
// into the totals.
struct SessionCounters {
  std::uint32_t duration = 0;  // seconds
  std::int64_t tx_bytes = 0;
  std::int64_t rx_bytes = 0;
};

// Byte rates over the whole run: a disconnect keeps them; only the reset buttons clear the maxima.
struct RateStatistics {
  static constexpr int kHistory = 4;  // the mean is over these and the current rate
  std::uint32_t max_tx_rate = 0;
  std::uint32_t max_rx_rate = 0;
  std::uint32_t avg_tx_rate = 0;
  std::uint32_t avg_rx_rate = 0;
  std::uint32_t max_avg_tx_rate = 0;
  std::uint32_t max_avg_rx_rate = 0;
  std::uint32_t tx_history[kHistory] = {};  // oldest first
  std::uint32_t rx_history[kHistory] = {};
};

}  // namespace kivo

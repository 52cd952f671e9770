#pragma once

#include <cstddef>
#include <cstdint>

#include "base/clock.h"

namespace kivo {

// The whole content of usage.bin: the last completed session, the totals since the user last
// reset them and the totals period before that.
struct UsageTotals {
  std::uint32_t last_duration = 0;
  std::int64_t last_tx_bytes = 0;
  std::int64_t last_rx_bytes = 0;
  LocalTime last_session_end;
  std::uint32_t total_duration = 0;
  std::int64_t total_tx_bytes = 0;
  std::int64_t total_rx_bytes = 0;
  LocalTime totals_since;  // start of the current period
  std::uint32_t previous_duration = 0;
  std::int64_t previous_tx_bytes = 0;
  std::int64_t previous_rx_bytes = 0;
  LocalTime previous_since;  // the previous period ended at `totals_since`
  // The padding behind each duration, never set here; written back as it was read.
  std::uint32_t reserved[3] = {};
};

// Byte counts add as 64-bit patterns: a sum beyond the signed range wraps instead of being
// undefined.
inline std::int64_t byte_sum(std::int64_t a, std::int64_t b) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

// usage.bin: 120 bytes, little-endian, no header. Offsets 0, 40 and 80 start the three groups
// (last session, totals, previous period), each a duration, 4 reserved bytes, bytes sent and
// received (signed 64-bit) and a SYSTEMTIME (eight 16-bit fields).
constexpr std::size_t kUsageFileSize = 120;

void encode_usage(const UsageTotals& totals, std::uint8_t (&bytes)[kUsageFileSize]);
UsageTotals decode_usage(const std::uint8_t (&bytes)[kUsageFileSize]);

}  // namespace kivo

#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "base/shared_text.h"

namespace kivo {

constexpr std::size_t kRatTextSize = 96;  // up to 95 bytes and a NUL

// The readings last shown in the signal group, and the columns of every signal-log row. The
// window's thread writes them, and so does the discovery thread when it takes the first readings
// while the window already handles reports, and the signal log reads them on any thread: the
// numbers are atomic for that, and the technology text is read as a copy.
struct NetworkSnapshot {
  std::atomic<std::int32_t> rssi{99};  // the modem's 0..31 scale, 99: no reading
  // The MCC and MNC digits as one decimal number (65501, 310410); 0: none.
  std::atomic<std::uint32_t> operator_code{0};
  std::atomic<std::int32_t> reg_status{0};  // +CGREG stat
  std::atomic<std::uint32_t> lac{0};
  std::atomic<std::uint32_t> cell_id{0};  // RNC ID in the upper 16 bits, cell in the lower
  SharedText rat_text{kRatTextSize - 1};
};

}  // namespace kivo

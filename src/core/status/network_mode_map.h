#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo {

// How each entry of the network-mode list 1051 maps to the modem's own setting, per command
// set. Reading a setting selects the entry; applying an entry writes the setting back, so both
// use these tables.

constexpr int kNoModeEntry = -1;

// Option's _OPSYS mode and Novatel's $NWRAT mode, by list entry.
constexpr std::uint32_t kOptionModes[] = {2, 3, 0, 1};
constexpr std::uint32_t kNovatelModes[] = {1, 2, 0};

// The entry of `mode` in one of the tables above, or kNoModeEntry.
template <std::size_t N>
constexpr int mode_entry(const std::uint32_t (&modes)[N], std::uint32_t mode) {
  for (std::size_t i = 0; i < N; ++i)
    if (modes[i] == mode) return static_cast<int>(i);
  return kNoModeEntry;
}

// Huawei's ^SYSCFG and Sierra's ^SYSCONFIG: mode 2 is automatic with an acquisition order
// (1: GSM first, 2: WCDMA first; 0, automatic, reads as WCDMA first), 13 GSM only, 14 WCDMA only.
struct Preference {
  std::uint32_t mode;
  std::uint32_t acq_order;
};

int preference_entry(std::uint32_t mode, std::uint32_t acq_order);
// The setting of entry `item` (0 to 3); the "only" entries keep the order the modem had.
Preference preference_for(std::uint32_t item, std::uint32_t acq_order_read);

}  // namespace kivo

#include "status/network_mode_map.h"

namespace kivo {

namespace {

constexpr std::uint32_t kAutomatic = 2;
constexpr std::uint32_t kGsmOnly = 13;
constexpr std::uint32_t kWcdmaOnly = 14;
constexpr std::uint32_t kGsmFirst = 1;
constexpr std::uint32_t kWcdmaFirst = 2;
constexpr std::uint32_t kOrderAutomatic = 0;

}  // namespace

int preference_entry(std::uint32_t mode, std::uint32_t acq_order) {
  if (mode == kAutomatic && acq_order == kGsmFirst) return 0;
  if (mode == kAutomatic && (acq_order == kOrderAutomatic || acq_order == kWcdmaFirst)) return 1;
  if (mode == kGsmOnly) return 2;
  if (mode == kWcdmaOnly) return 3;
  return kNoModeEntry;
}

Preference preference_for(std::uint32_t item, std::uint32_t acq_order_read) {
  switch (item) {
    case 0:
      return {kAutomatic, kGsmFirst};
    case 1:
      return {kAutomatic, kWcdmaFirst};
    case 2:
      return {kGsmOnly, acq_order_read};
    default:
      return {kWcdmaOnly, acq_order_read};
  }
}

}  // namespace kivo

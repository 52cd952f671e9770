#pragma once

#include <cstdint>
#include <string_view>

#include "base/command_set.h"

namespace kivo {

// The answers the modem setup reads, in the order the modem writes their numbers.

struct HsInfo {  // "^HS:" (Huawei); the first number is sent back in AT^BOOT
  std::uint32_t id = 0;
  std::uint32_t protocol = 0;
  std::uint32_t is_offline = 0;
  std::uint32_t product_class = 0;
  std::uint32_t product_id = 0;
};

enum class SimState : std::int32_t { PinWanted = 1, Ready = 2, PukWanted = 3 };

struct PinState {  // "+CPIN:", or "^CPIN:" with the remaining attempts (Huawei)
  SimState state = SimState::Ready;
  // Remaining attempts for the code asked for; 0 when ready, 99 when the modem does not say.
  std::uint32_t attempts = 0;
};

constexpr std::uint32_t kAttemptsNotReported = 99;

struct CardLockInfo {        // "^CARDLOCK:" (Huawei)
  std::uint32_t status = 0;  // 2: not locked
  std::uint32_t attempts = 0;
  std::uint32_t operator_number = 0;
};

// Each reads its numbers from the first line, each one character past the end of the one
// before, a missing one as 0, and fails only when the text does not begin with its prefix.
bool parse_hs(std::string_view text, HsInfo& info);
bool parse_cardlock(std::string_view text, CardLockInfo& info);

// "+CPIN: " behind any first character, then "SIM PIN", "READY" or "SIM PUK"; anything else
// fails. Only Huawei's "^CPIN:" reports the attempts (behind the comma that follows the code).
bool parse_cpin(std::string_view text, CommandSet command_set, PinState& state);

}  // namespace kivo

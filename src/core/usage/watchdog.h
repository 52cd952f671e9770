#pragma once

#include <cstdint>
#include <string_view>

#include "usage/usage_context.h"

namespace kivo {

// Timer 1201 runs the watchdog when no flow report has re-armed it for this long.
constexpr unsigned kWatchdogPeriodMs = 2500;

// A context the answer to "AT+CGACT?" lists.
struct PdpContextStatus {
  std::uint32_t cid = 0;
  std::uint32_t state = 0;  // 1: activated
};

// "+CGACT: <cid>,<state>", one line per context: the first active context listed, else the first
// line. False unless the text begins with "+CGACT: " (case-sensitive); later lines without the
// prefix are passed over.
bool parse_cgact(std::string_view response, PdpContextStatus& status);

// Runs when no flow report has come for 2.5 s: asks the modem for the PDP context. An active
// context, or a missing or unexpected answer before the fifth in a row, arms another check;
// otherwise the connection is lost and the session folded into the totals. True when lost.
bool connection_watchdog(const UsageContext& context);

}  // namespace kivo

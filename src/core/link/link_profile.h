#pragma once

#include "base/command_set.h"
#include "link/at_channel.h"

namespace kivo {

// What differs between the vendor command sets in talking to the modem, in one table.
struct LinkProfile {
  // Every AT command travels inside a diagnostic frame, and the end of each received chunk
  // ends the exchange waiting for it.
  bool diagnostic_framing = false;
  // Sent before the closing "ATE1" to a modem that finished its initialization; null: none.
  const char* farewell_command = nullptr;
  // Takes the radio off and restarts the modem; the answers are not looked at.
  void (*restart)(AtChannel& channel) = nullptr;
};

// The two ways of restarting a modem: AT+CFUN=4 then AT+CFUN=6, or the diagnostic mode changes.
void restart_with_cfun(AtChannel& channel);
void restart_with_diagnostic_packets(AtChannel& channel);

inline constexpr LinkProfile kPlainAtLink{false, nullptr, restart_with_cfun};
inline constexpr LinkProfile kNovatelLink{true, "AT$NWPDN=0\r\n", restart_with_diagnostic_packets};

// Inline: the receive thread asks it at the end of every chunk.
inline const LinkProfile& link_profile(CommandSet command_set) {
  return command_set == CommandSet::Novatel ? kNovatelLink : kPlainAtLink;
}

}  // namespace kivo

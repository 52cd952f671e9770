#include "link/link_profile.h"

#include "link/novatel.h"

namespace kivo {

void restart_with_cfun(AtChannel& channel) {
  channel.tx_at_command("AT+CFUN=4\r\n");
  channel.tx_at_command("AT+CFUN=6\r\n");
}

// The diagnostic mode changes, sent as they are (never framed).
void restart_with_diagnostic_packets(AtChannel& channel) {
  channel.tx_data_and_get_response(DiagModeOffline, sizeof(DiagModeOffline));
  channel.tx_data_and_get_response(DiagModeReset, sizeof(DiagModeReset));
}

}  // namespace kivo

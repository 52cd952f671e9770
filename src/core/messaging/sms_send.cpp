#include "messaging/sms_send.h"

#include <cstdio>
#include <cstdlib>

namespace kivo {
namespace {

constexpr char kCtrlZ = '\x1A';

// The octets after the service-centre address and its length octet.
long tpdu_length(const std::string& pdu) {
  const long smsc_length = std::strtol(pdu.substr(0, 2).c_str(), nullptr, 16);
  return static_cast<long>(pdu.size() / 2) - smsc_length - 1;
}

}  // namespace

bool send_pdu(LinkControl& link, const std::string& pdu) {
  char command[32];
  std::snprintf(command, sizeof command, "AT+CMGS=%ld\r\n", tpdu_length(pdu));
  const std::string text = pdu + kCtrlZ;
  bool sent = false;
  link.exclusive([&] {
    const Reply reply = link.tx_at_command(command);
    // A time-out leaves the previous response in the buffer, so only a fresh answer counts.
    if (reply.result == 1 && !reply.text.empty() && reply.text[0] == '>') {
      link.set_sms_send_pending(true);
      sent = link.tx_data(text.data(), text.size()) == 1;
      if (sent) return;
      link.set_sms_send_pending(false);
    } else if (reply.result == 1) {
      return;  // refused: the modem waits for no text
    }
    // A prompt that comes late, or a text cut short, would take the next command as text.
    link.tx_data(EscapeLine, sizeof EscapeLine);
  });
  return sent;
}

}  // namespace kivo

#include "status/apn_read.h"

#include <string>

#include "view/control_ids.h"

namespace kivo {

void read_apn(const NetworkContext& context) {
  const std::string text = context.channel.tx_at_command("AT+CGDCONT?\r\n").text;
  const std::size_t list = text.find("+CGDCONT:");
  if (text.find("OK") != std::string::npos && list != std::string::npos) {
    // +CGDCONT: <cid>,"<type>","<apn>",...: the APN stands between the third and fourth quote.
    std::size_t quotes[4];
    std::size_t from = list + 9;
    bool found = true;
    for (std::size_t& quote : quotes) {
      quote = text.find('"', from);
      if (quote == std::string::npos) {
        found = false;
        break;
      }
      from = quote + 1;
    }
    if (found)
      context.view.set_text(IDC_APN_INPUT,
                            text.substr(quotes[2] + 1, quotes[3] - quotes[2] - 1).c_str());
  }
  context.view.enable(IDC_APN_SET, false);
}

}  // namespace kivo

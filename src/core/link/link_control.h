#pragma once

#include <functional>

#include "link/at_channel.h"

namespace kivo {

// The modem link as the main window and discovery use it: the send operations plus opening
// and closing the port.
class LinkControl : public AtChannel {
 public:
  // 1 once the port is open and the receive thread listens, 0 otherwise.
  virtual int open_modem_link(const char* port_name) = 0;
  // Ends the receive thread and closes the port; safe when nothing is open.
  virtual void close() = 0;
  virtual bool is_open() const = 0;

  // Runs `exchanges` with no other thread's exchange in between: the SMS text must follow its
  // prompt, not a poll that slipped in.
  virtual void exclusive(const std::function<void()>& exchanges) = 0;
  // Set once an SMS text has gone to the modem: its "+CMGS:" or "+CMS ERROR:" is then a notice.
  // The receive thread clears it.
  virtual void set_sms_send_pending(bool pending) = 0;
};

}  // namespace kivo

#pragma once

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
};

}  // namespace kivo

#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/command_set.h"
#include "app/message_boxes.h"
#include "app/trace.h"
#include "link/at_channel.h"
#include "link/notices.h"
#include "link/serial_port.h"

namespace kivo {

// Everything the link needs from the rest of the program.
struct ModemLinkContext {
  SerialPortOpener& opener;
  NoticeSink& notices;
  const Trace& trace;
  MessageBoxes& boxes;
  const std::atomic<CommandSet>& command_set;
};

// The open AT port, its receive thread and the three send operations.
class ModemLink : public AtChannel {
 public:
  explicit ModemLink(ModemLinkContext context);
  ~ModemLink() override;  // closes the link
  ModemLink(const ModemLink&) = delete;
  ModemLink& operator=(const ModemLink&) = delete;

  // Opens the port and starts the receive thread; 1 once it listens, 0 otherwise.
  int open_modem_link(const char* port_name);
  // Ends the receive thread (waiting at most 1000 ms), purges and closes the port.
  // Safe to call when nothing is open.
  void close();
  bool is_open() const;

  Reply tx_at_command(const char* command) override;
  int tx_data(const void* bytes, std::size_t count) override;
  Reply tx_data_and_get_response(const void* bytes, std::size_t count) override;

  // Set by the SMS sender once its body is written; cleared by the receive thread.
  void set_sms_send_pending(bool pending);

 private:
  struct Shared;  // state shared with the receive thread, which may outlive a close()
  ModemLinkContext context_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace kivo

#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "base/command_set.h"
#include "base/message_boxes.h"
#include "base/trace.h"
#include "link/link_control.h"
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

// The waits of the link, in milliseconds. The program uses the defaults; tests shorten them.
struct ModemLinkTimings {
  unsigned exchange_wait_ms = 2000;  // each wait of a send operation (write, response)
  unsigned close_wait_ms = 1000;     // how long close() waits for the receive thread to end
};

// The open AT port, its receive thread and the three send operations.
class ModemLink : public LinkControl {
 public:
  explicit ModemLink(ModemLinkContext context, ModemLinkTimings timings = {});
  ~ModemLink() override;  // closes the link
  ModemLink(const ModemLink&) = delete;
  ModemLink& operator=(const ModemLink&) = delete;

  // Opens the port and starts the receive thread; 1 once it listens, 0 otherwise (a port name
  // longer than 15 characters, a port that does not open, or a receive thread that cannot
  // listen: it shows "SetCommMask failed with error %d.\n" and ends). An open link is closed
  // first. Traces "opened port %s" on success.
  int open_modem_link(const char* port_name) override;
  // Ends the receive thread (waiting at most 1000 ms), purges and closes the port.
  // Safe to call when nothing is open.
  void close() override;
  bool is_open() const override;

  Reply tx_at_command(const char* command) override;
  int tx_data(const void* bytes, std::size_t count) override;
  Reply tx_data_and_get_response(const void* bytes, std::size_t count) override;

  void exclusive(const std::function<void()>& exchanges) override;
  void set_sms_send_pending(bool pending) override;
  bool sms_send_pending() const;

 private:
  struct Shared;     // state shared with the receive thread, which may outlive a close()
  struct RxSession;  // one open port and the receive thread that reads it
  static void rx_thread_proc(std::shared_ptr<Shared> shared, std::shared_ptr<RxSession> session);
  void close_locked();

  ModemLinkContext context_;
  ModemLinkTimings timings_;
  std::shared_ptr<Shared> shared_;
  std::mutex lifecycle_mutex_;  // open_modem_link and close, one at a time
  std::thread rx_thread_;
};

}  // namespace kivo

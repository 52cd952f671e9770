#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace kivo {

// One command taken from a comma-separated list, and what is left of the list. Empty commands
// (commas in a row, or at the start) are skipped, so `command` is empty only when the list held
// none.
struct CommandSplit {
  std::string command;
  std::string rest;
};
CommandSplit take_first_command(std::string_view commands);

// The USSD session the main window and the send thread share: whether a session is open and the
// commands still to send, one at a time as the network asks for more input.
class UssdSession {
 public:
  bool active() const;
  void set_active(bool active);
  void set_pending(std::string commands);
  // The next pending command, taken off the list; empty when none is left.
  std::string take_pending();
  // No session, nothing pending.
  void end();

 private:
  mutable std::mutex mutex_;
  bool active_ = false;
  std::string pending_;
};

}  // namespace kivo

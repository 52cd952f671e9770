#include "messaging/ussd_session.h"

namespace kivo {

CommandSplit take_first_command(std::string_view commands) {
  const std::size_t start = commands.find_first_not_of(',');
  if (start == std::string_view::npos) return {};
  commands.remove_prefix(start);
  const std::size_t comma = commands.find(',');
  if (comma == std::string_view::npos) return {std::string(commands), {}};
  const std::size_t next = commands.find_first_not_of(',', comma);
  return {std::string(commands.substr(0, comma)),
          next == std::string_view::npos ? std::string() : std::string(commands.substr(next))};
}

bool UssdSession::active() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return active_;
}

void UssdSession::set_active(bool active) {
  std::lock_guard<std::mutex> lock(mutex_);
  active_ = active;
}

void UssdSession::set_pending(std::string commands) {
  std::lock_guard<std::mutex> lock(mutex_);
  pending_ = std::move(commands);
}

std::string UssdSession::take_pending() {
  std::lock_guard<std::mutex> lock(mutex_);
  CommandSplit split = take_first_command(pending_);
  pending_ = std::move(split.rest);
  return std::move(split.command);
}

void UssdSession::end() {
  std::lock_guard<std::mutex> lock(mutex_);
  active_ = false;
  pending_.clear();
}

}  // namespace kivo

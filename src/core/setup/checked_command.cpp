#include "setup/checked_command.h"

#include <cctype>
#include <string>

#include "base/message_boxes.h"

namespace kivo {

bool contains(const Reply& reply, const char* text) {
  return reply.text.find(text) != std::string::npos;
}

bool begins_with_ignoring_case(const Reply& reply, std::string_view prefix) {
  if (reply.text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    if (lower(reply.text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

void show_unexpected_answer(const SetupContext& context, const char* format, const Reply& reply) {
  error_box(context.boxes, format, reply.text.c_str());
}

bool run_checked(const SetupContext& context, const CheckedCommand& checked) {
  const Reply reply = context.channel.tx_at_command(checked.command);
  for (const char* accepted : checked.accepted)
    if (accepted && contains(reply, accepted)) return true;
  show_unexpected_answer(context, checked.box, reply);
  return !checked.stops;
}

}  // namespace kivo

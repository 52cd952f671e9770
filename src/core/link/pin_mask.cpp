#include "link/pin_mask.h"

#include <algorithm>
#include <cstring>

namespace kivo {

namespace {

constexpr std::string_view kPinCommand = "CPIN=";
constexpr std::string_view kMask = "********";

bool is_line_end(char c) {
  return c == '\r' || c == '\n';
}

// The next "CPIN=" at or behind `from`. Modem output rarely holds an '=', so the search hops
// from one '=' to the next with memchr: every received chunk passes through here.
std::size_t find_pin_command(std::string_view text, std::size_t from) {
  const std::size_t head = kPinCommand.size() - 1;
  std::size_t at = from + head;
  while (at < text.size()) {
    const void* equals = std::memchr(text.data() + at, '=', text.size() - at);
    if (!equals) break;
    at = static_cast<std::size_t>(static_cast<const char*>(equals) - text.data());
    if (text.compare(at - head, kPinCommand.size(), kPinCommand) == 0) return at - head;
    ++at;
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view mask_pin_codes(std::string_view text, char (&buffer)[kPinMaskBufferSize]) {
  std::size_t found = find_pin_command(text, 0);
  if (found == std::string_view::npos) return text;
  std::size_t used = 0;
  auto append = [&](std::string_view part) {
    const std::size_t count = std::min(part.size(), sizeof buffer - used);
    std::memcpy(buffer + used, part.data(), count);
    used += count;
  };
  std::size_t from = 0;
  while (found != std::string_view::npos) {
    const std::size_t codes = found + kPinCommand.size();
    append(text.substr(from, codes - from));
    append(kMask);
    from = codes;
    while (from < text.size() && !is_line_end(text[from])) ++from;
    found = find_pin_command(text, from);
  }
  append(text.substr(from));
  return {buffer, used};
}

}  // namespace kivo

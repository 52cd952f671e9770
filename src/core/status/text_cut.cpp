#include "status/text_cut.h"

namespace kivo {

namespace {

bool is_continuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The length of the sequence a UTF-8 lead byte opens; 1 for any other byte.
std::size_t sequence_length(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

// Whether a multi-byte UTF-8 sequence starts at `lead`: a lead byte followed by all the
// continuation bytes it announces.
bool is_sequence(std::string_view text, std::size_t lead) {
  const std::size_t length = sequence_length(static_cast<unsigned char>(text[lead]));
  if (length == 1 || text.size() - lead < length) return false;
  for (std::size_t i = lead + 1; i < lead + length; ++i)
    if (!is_continuation(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

}  // namespace

std::string_view cut_at_character_boundary(std::string_view text, std::size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  // Only a cut right before a continuation byte can split a sequence; its lead byte stands at
  // most three bytes before the cut.
  if (is_continuation(static_cast<unsigned char>(text[max_bytes]))) {
    for (std::size_t back = 1; back <= 3 && back <= max_bytes; ++back) {
      const std::size_t lead = max_bytes - back;
      if (is_continuation(static_cast<unsigned char>(text[lead]))) continue;
      const bool reaches_past_cut = sequence_length(static_cast<unsigned char>(text[lead])) > back;
      if (reaches_past_cut && is_sequence(text, lead)) return text.substr(0, lead);
      break;
    }
  }
  return text.substr(0, max_bytes);
}

}  // namespace kivo

#include "messaging/at_text.h"

namespace kivo {

bool fits_in_quoted_at_string(std::string_view text) {
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

}  // namespace kivo

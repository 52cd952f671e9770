#pragma once

#include <cstddef>
#include <string_view>

namespace kivo {

constexpr std::size_t kPinMaskBufferSize = 2048;

// The SIM codes travel in "AT+CPIN=<pin>" and "AT^CPIN=<pin>" (or a PUK and a new PIN), and come
// back in the echo of a modem that still echoes. Traces show such a command with everything
// behind its "=" up to the line end as eight asterisks, whatever the codes' length.
// Returns `text` itself when it holds no code; otherwise the masked copy in `buffer` (cut to
// fit).
std::string_view mask_pin_codes(std::string_view text, char (&buffer)[kPinMaskBufferSize]);

}  // namespace kivo

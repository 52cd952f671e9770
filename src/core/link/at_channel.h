#pragma once

#include <cstddef>
#include <string>

namespace kivo {

// ESC CR LF, written raw before the first command: it ends whatever half-written line or SMS text
// the modem may still be holding from an earlier program.
constexpr unsigned char EscapeLine[] = {0x1B, 0x0D, 0x0A};

// The outcome of one exchange: `result` is 1 on success, 0 when a 2000 ms wait timed out.
// `text` is the ResponseBuffer as it stood when the exchange ended; after a time-out it still
// holds the previous response, exactly as the modem link keeps it.
struct Reply {
  int result = 0;
  std::string text;
};

// The send operations every part of the program talks to the modem through. Each call is one
// whole exchange (write, wait, capture); exchanges from different threads never interleave.
class AtChannel {
 public:
  virtual ~AtChannel() = default;
  // Sends one complete command line (it carries its own "\r\n").
  virtual Reply tx_at_command(const char* command) = 0;
  // Writes raw bytes, never framed, and waits only for the write. 1 written, 0 timed out.
  virtual int tx_data(const void* bytes, std::size_t count) = 0;
  // Writes raw bytes, never framed, and waits for a response.
  virtual Reply tx_data_and_get_response(const void* bytes, std::size_t count) = 0;
};

}  // namespace kivo

#pragma once

#include <cstddef>

namespace kivo {

// Overwrites a buffer that held a secret. The volatile writes are kept even when the buffer is
// never read again, where a plain memset may be dropped.
inline void wipe_secret(char* bytes, std::size_t count) {
  volatile char* p = bytes;
  for (std::size_t i = 0; i < count; ++i) p[i] = '\0';
}

// A text buffer for a secret (the PIN, a command carrying it), wiped when it goes out of scope
// whichever way its function ends.
template <std::size_t N>
struct SecretText {
  char text[N] = {};
  SecretText() = default;
  SecretText(const SecretText&) = delete;
  SecretText& operator=(const SecretText&) = delete;
  ~SecretText() { wipe_secret(text, N); }
};

}  // namespace kivo

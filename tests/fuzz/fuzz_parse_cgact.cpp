// parse_cgact on any text, in an exact-size buffer: the watchdog's answer must never be read
// outside the response.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "usage/watchdog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<char> text(data, data + size);
  kivo::PdpContextStatus status;
  (void)kivo::parse_cgact(std::string_view(text.data(), text.size()), status);
  return 0;
}

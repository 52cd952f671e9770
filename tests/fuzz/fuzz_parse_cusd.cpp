// parse_cusd on any text, in an exact-size buffer: it must not read outside it, the position it
// returns lies within the text, and the string is NUL-terminated.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "link/ussd_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<char> text(data, data + size);
  kivo::UssdResponse response;
  const auto pos = kivo::parse_cusd(std::string_view(text.data(), text.size()), response);
  if (pos) KIVO_FUZZ_CHECK(*pos <= size);
  KIVO_FUZZ_CHECK(std::memchr(response.text, '\0', sizeof response.text) != nullptr);
  return 0;
}

// parse_mode on any text, in an exact-size buffer: it must not read outside it.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "link/mode_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<char> text(data, data + size);
  kivo::ModeReport report;
  (void)kivo::parse_mode(std::string_view(text.data(), text.size()), report);
  return 0;
}

// read_number on any text, base and start position: it stays inside the text and its end lies
// behind the start.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "link/number_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const unsigned base = (data[0] & 1) ? 16 : 10;
  const std::size_t pos = data[1];
  const std::size_t max_digits = (data[2] & 0x0F) ? (data[2] & 0x0F) : kivo::kUnlimitedDigits;
  const std::vector<char> text(data + 3, data + size);
  const std::string_view view(text.data(), text.size());
  const kivo::NumberReading n = kivo::read_number(view, pos, base, max_digits);
  KIVO_FUZZ_CHECK(n.end <= view.size());
  KIVO_FUZZ_CHECK(n.end >= (pos < view.size() ? pos : view.size()));
  if (!n.found) KIVO_FUZZ_CHECK(n.value == 0);
  return 0;
}

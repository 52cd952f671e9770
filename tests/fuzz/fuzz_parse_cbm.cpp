// parse_cbm on any text, in an exact-size buffer: it must not read outside it, the position it
// returns lies within the text, and the page is well-formed. Half of the inputs get a header
// line ("+CBM: 88\r\n" or the short page's "+CBM: 65\r\n") put in front, so the fuzzer spends
// its time on the page itself.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "link/cbm_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<char> text;
  if (data[0] & 1) {
    const char* header = data[0] & 2 ? "+CBM: 65\r\n" : "+CBM: 88\r\n";
    text.assign(header, header + std::strlen(header));
  }
  text.insert(text.end(), data + 1, data + size);
  kivo::CellBroadcastPage page;
  const auto pos = kivo::parse_cbm(std::string_view(text.data(), text.size()), page);
  if (pos) {
    KIVO_FUZZ_CHECK(*pos <= text.size());
    KIVO_FUZZ_CHECK(page.page >= 1 && page.page <= 15 && page.pages >= 1 && page.pages <= 15);
  }
  KIVO_FUZZ_CHECK(std::memchr(page.text, '\0', sizeof page.text) != nullptr);
  return 0;
}

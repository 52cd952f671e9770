// parse_csq and parse_cgreg_read on any text, in an exact-size buffer: the answers of the
// signal and registration polls must never be read outside the response.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "link/registration_parser.h"
#include "status/signal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<char> text(data, data + size);
  const std::string_view view(text.data(), text.size());
  std::uint32_t rssi = 0;
  std::uint32_t ber = 0;
  (void)kivo::parse_csq(view, rssi, ber);
  kivo::RegistrationReport report;
  (void)kivo::parse_cgreg_read(view, report);
  return 0;
}

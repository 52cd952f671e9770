// novatel_rx_unwrap on any chunk (the dispatcher calls it only for chunks that begin with the
// reply header; the first input byte decides whether the header is forced on).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "link/novatel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kivo;
  if (size == 0) return 0;
  const bool force_header = data[0] & 1;
  std::vector<std::uint8_t> chunk(data + 1, data + size);
  if (force_header && chunk.size() >= 4) {
    chunk[0] = 0x4B;
    chunk[1] = 0xFA;
    chunk[2] = (data[0] & 2) ? 4 : 3;
    chunk[3] = 0;
  }
  const std::size_t n = chunk.size();
  if (n == 0) return 0;
  const std::vector<std::uint8_t> original = chunk;
  fuzz::NullTraceSink trace_sink;
  Trace trace(trace_sink);
  fuzz::NullMessageBoxes boxes;
  std::uint8_t status = 0x55;
  const int r = novatel_rx_unwrap(chunk.data(), n, status, &trace, boxes);
  if (r == 1) {
    // The text is NUL-terminated inside the chunk and is the bytes that stood from offset 4.
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(chunk.data(), 0, n));
    KIVO_FUZZ_CHECK(nul != nullptr);
    KIVO_FUZZ_CHECK(original[n - 1] == 0x7E);
    KIVO_FUZZ_CHECK(status == 0 || status == 99);
  } else {
    KIVO_FUZZ_CHECK(r == 0);
    KIVO_FUZZ_CHECK(chunk[0] == 0);
  }
  // The check sequence of any bytes is defined.
  (void)novatel_crc16(data, size);
  return 0;
}

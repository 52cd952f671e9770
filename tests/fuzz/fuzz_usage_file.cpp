// usage.bin as another program or a damaged disk may leave it: any 120 bytes decode, every field
// formats into the window's texts within their buffers, and writing the record back gives the
// same bytes (nothing in the file is lost by a load and save).

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_support.h"
#include "usage/formatters.h"
#include "usage/usage_totals.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size != kivo::kUsageFileSize) return 0;
  std::uint8_t bytes[kivo::kUsageFileSize];
  std::memcpy(bytes, data, size);
  const kivo::UsageTotals totals = kivo::decode_usage(bytes);

  kivo::FormattedText text;
  for (std::uint32_t duration :
       {totals.last_duration, totals.total_duration, totals.previous_duration})
    kivo::format_duration(duration, text);
  for (std::int64_t count :
       {totals.last_tx_bytes, totals.last_rx_bytes, totals.total_tx_bytes, totals.total_rx_bytes,
        totals.previous_tx_bytes, totals.previous_rx_bytes})
    kivo::format_byte_count(count, text);
  for (const kivo::LocalTime& time :
       {totals.last_session_end, totals.totals_since, totals.previous_since})
    kivo::format_timestamp(time, text);

  std::uint8_t again[kivo::kUsageFileSize];
  kivo::encode_usage(totals, again);
  KIVO_FUZZ_CHECK(std::memcmp(bytes, again, sizeof(bytes)) == 0);
  return 0;
}

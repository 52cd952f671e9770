#include "usage/formatters.h"

#include <cstdio>
#include <cstring>

namespace kivo {

const char* format_duration(std::uint32_t seconds, FormattedText& out) {
  std::snprintf(out, sizeof out, "%02u:%02u:%02u", static_cast<unsigned>(seconds / 3600),
                static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
  return out;
}

const char* format_byte_count(std::int64_t bytes, FormattedText& out) {
  if (bytes < 1024) {
    std::snprintf(out, sizeof out, "%lld bytes", static_cast<long long>(bytes));
    return out;
  }
  // bytes * 1000 / 1024 without the product, which overflows from 9.2 PB on.
  const std::uint64_t n = static_cast<std::uint64_t>(bytes);
  std::uint64_t thousandths = n / 1024 * 1000 + n % 1024 * 1000 / 1024;
  const char* unit = "KB";
  if (thousandths > 1024000) {
    thousandths /= 1024;
    unit = "MB";
    if (thousandths > 1024000) {
      thousandths /= 1024;
      unit = "GB";
    }
  }
  char digits[24];
  const int length =
      std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(thousandths));
  // Four significant digits with the point where the unit's thousandths put it; from seven
  // digits on, the whole units alone.
  switch (length) {
    case 4:
      std::snprintf(out, sizeof out, "%.1s.%.3s%s", digits, digits + 1, unit);
      break;
    case 5:
      std::snprintf(out, sizeof out, "%.2s.%.2s%s", digits, digits + 2, unit);
      break;
    case 6:
      std::snprintf(out, sizeof out, "%.3s.%.1s%s", digits, digits + 3, unit);
      break;
    default:
      std::snprintf(out, sizeof out, "%.*s%s", length - 3, digits, unit);
      break;
  }
  return out;
}

// In 64 bits: rates of 536,870,912 bytes/s and more (QoS values) do not wrap.
const char* format_rate(std::uint32_t bytes_per_second, FormattedText& out) {
  const unsigned long long bits = static_cast<unsigned long long>(bytes_per_second) * 8;
  std::snprintf(out, sizeof out, "%llu.%03llu", bits / 1000, bits % 1000);
  return out;
}

const char* format_timestamp(const LocalTime& time, FormattedText& out) {
  std::snprintf(out, sizeof out, "%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return out;
}

}  // namespace kivo

#pragma once

#include <cstddef>
#include <cstdint>

#include "base/clock.h"

namespace kivo {

// Room for the longest text of any formatter: a timestamp of six 5-digit fields read from a
// damaged usage.bin takes 35 characters.
constexpr std::size_t kFormattedTextSize = 48;
using FormattedText = char[kFormattedTextSize];

// Each writes its text into `out` and returns `out`.

// "hh:mm:ss"; the hours take as many digits as they need ("123:04:05").
const char* format_duration(std::uint32_t seconds, FormattedText& out);
// "1023 bytes", "1.000KB", "97.65KB", "976.5KB", "1024KB", "117.7MB", "5.000GB": thousandths of
// the unit cut to four significant digits (never rounded), whole units from 1000 on.
const char* format_byte_count(std::int64_t bytes, FormattedText& out);
// Kilobits per second with three decimals and no unit: 125 bytes/s gives "1.000".
const char* format_rate(std::uint32_t bytes_per_second, FormattedText& out);
// "yyyy/mm/dd hh:mm:ss".
const char* format_timestamp(const LocalTime& time, FormattedText& out);

}  // namespace kivo

#include "usage/usage_totals.h"

#include <initializer_list>

namespace kivo {

namespace {

// Little-endian fields one after another, whatever the machine's byte order.
class Writer {
 public:
  explicit Writer(std::uint8_t* bytes) : at_(bytes) {}
  void put(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) *at_++ = static_cast<std::uint8_t>(value >> (8 * i));
  }
  // duration, reserved, bytes sent, bytes received, time: 40 bytes.
  void put_group(std::uint32_t duration, std::uint32_t reserved, std::int64_t tx_bytes,
                 std::int64_t rx_bytes, const LocalTime& t) {
    put(duration, 4);
    put(reserved, 4);
    put(static_cast<std::uint64_t>(tx_bytes), 8);
    put(static_cast<std::uint64_t>(rx_bytes), 8);
    for (std::uint16_t field :
         {t.year, t.month, t.day_of_week, t.day, t.hour, t.minute, t.second, t.milliseconds})
      put(field, 2);
  }

 private:
  std::uint8_t* at_;
};

class Reader {
 public:
  explicit Reader(const std::uint8_t* bytes) : at_(bytes) {}
  std::uint64_t get(int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) value |= std::uint64_t{*at_++} << (8 * i);
    return value;
  }
  void get_group(std::uint32_t& duration, std::uint32_t& reserved, std::int64_t& tx_bytes,
                 std::int64_t& rx_bytes, LocalTime& t) {
    duration = static_cast<std::uint32_t>(get(4));
    reserved = static_cast<std::uint32_t>(get(4));
    tx_bytes = static_cast<std::int64_t>(get(8));
    rx_bytes = static_cast<std::int64_t>(get(8));
    for (std::uint16_t* field : {&t.year, &t.month, &t.day_of_week, &t.day, &t.hour, &t.minute,
                                 &t.second, &t.milliseconds})
      *field = static_cast<std::uint16_t>(get(2));
  }

 private:
  const std::uint8_t* at_;
};

}  // namespace

void encode_usage(const UsageTotals& u, std::uint8_t (&bytes)[kUsageFileSize]) {
  Writer out(bytes);
  out.put_group(u.last_duration, u.reserved[0], u.last_tx_bytes, u.last_rx_bytes,
                u.last_session_end);
  out.put_group(u.total_duration, u.reserved[1], u.total_tx_bytes, u.total_rx_bytes,
                u.totals_since);
  out.put_group(u.previous_duration, u.reserved[2], u.previous_tx_bytes, u.previous_rx_bytes,
                u.previous_since);
}

UsageTotals decode_usage(const std::uint8_t (&bytes)[kUsageFileSize]) {
  UsageTotals u;
  Reader in(bytes);
  in.get_group(u.last_duration, u.reserved[0], u.last_tx_bytes, u.last_rx_bytes,
               u.last_session_end);
  in.get_group(u.total_duration, u.reserved[1], u.total_tx_bytes, u.total_rx_bytes, u.totals_since);
  in.get_group(u.previous_duration, u.reserved[2], u.previous_tx_bytes, u.previous_rx_bytes,
               u.previous_since);
  return u;
}

}  // namespace kivo

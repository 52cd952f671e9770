#pragma once

#include <cstddef>
#include <cstdint>

// The records of the unsolicited reports the receive thread parses. Each is
// a fixed-size, trivially copyable value: a notification carries its own copy, and copying one
// allocates nothing.

namespace kivo {

// "^BOOT:": five unsigned numbers, in the order they stand in the line.
struct BootReport {
  static constexpr std::size_t kCount = 5;
  std::uint32_t values[kCount] = {};
};

// "^MODE:": the Huawei system mode and system sub-mode.
struct ModeReport {
  std::uint32_t sys_mode = 0;
  std::uint32_t sub_mode = 0;
};

// Unsolicited "+CGREG:": registration status and, when present, location area code
// and cell identity (RNC ID in the upper 16 bits). Absent fields are 0.
struct RegistrationReport {
  std::uint32_t stat = 0;
  std::uint32_t lac = 0;
  std::uint32_t ci = 0;
};

// "+CUSD:".
struct UssdResponse {
  static constexpr std::int32_t kMalformed = 255;
  static constexpr std::size_t kTextSize = 184;  // up to 183 characters and a NUL
  std::int32_t status = 0;                       // 0 to 5 per the standard; 255 = malformed
  char text[kTextSize] = {};  // the string, each LF not preceded by CR turned into CR LF
};

// "+CBM:": one decoded cell-broadcast page.
struct CellBroadcastPage {
  static constexpr std::size_t kTextSize = 94;  // up to 93 characters and a NUL
  std::uint16_t serial_number = 0;
  std::uint16_t message_identifier = 0;
  std::uint8_t dcs = 0;
  std::uint8_t page = 0;   // 1 to 15
  std::uint8_t pages = 0;  // 1 to 15
  char text[kTextSize] = {};
};

// "^DSFLOWRPT:".
struct FlowReport {
  std::uint32_t duration = 0;  // seconds since the connection started
  std::uint32_t tx_rate = 0;   // bytes per second
  std::uint32_t rx_rate = 0;   // bytes per second
  std::int64_t tx_bytes = 0;   // bytes sent since the connection started
  std::int64_t rx_bytes = 0;   // bytes received since the connection started
  std::uint32_t qos_tx = 0;    // negotiated upload QoS value, as reported
  std::uint32_t qos_rx = 0;    // negotiated download QoS value, as reported
};

}  // namespace kivo

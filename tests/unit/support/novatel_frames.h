#pragma once

#include <cstdint>
#include <string>

#include "link/novatel.h"

namespace kivo::test {

// A Novatel reply frame as a modem sends it: 4B FA, channel, the text, its length (16-bit LE),
// 0, status, CRC over all that (LE), 7E. A CRC byte equal to 7D or 7E is sent escaped (7D, then
// the byte XOR 20), as HDLC-like framing does.
inline std::string novatel_reply(const std::string& text, std::uint8_t status,
                                 std::uint16_t channel = 3) {
  std::string f;
  f += '\x4B';
  f += '\xFA';
  f += static_cast<char>(channel & 0xFF);
  f += static_cast<char>(channel >> 8);
  f += text;
  f += static_cast<char>(text.size() & 0xFF);
  f += static_cast<char>(text.size() >> 8);
  f += '\0';
  f += static_cast<char>(status);
  const std::uint16_t crc = novatel_crc16(f.data(), f.size());
  for (std::uint8_t b :
       {static_cast<std::uint8_t>(crc & 0xFF), static_cast<std::uint8_t>(crc >> 8)}) {
    if (b == 0x7D || b == 0x7E) {
      f += '\x7D';
      f += static_cast<char>(b ^ 0x20);
    } else {
      f += static_cast<char>(b);
    }
  }
  f += '\x7E';
  return f;
}

// The command text carried by a request frame (NovatelFrame), or "" when `bytes` is none.
inline std::string novatel_request_text(const std::string& bytes) {
  if (bytes.size() != NovatelFrame::kSize) return "";
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const unsigned length =
      b[NovatelFrame::kLengthOffset] | (b[NovatelFrame::kLengthOffset + 1] << 8);
  return bytes.substr(NovatelFrame::kTextOffset, length);
}

inline unsigned novatel_request_channel(const std::string& bytes) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
  return b[2] | (b[3] << 8);
}

}  // namespace kivo::test

#pragma once

#include <cstddef>
#include <cstdint>

#include "base/message_boxes.h"
#include "base/trace.h"

// The Novatel diagnostic channel. With the Novatel command set every AT command goes to
// the modem inside a diagnostic frame, and the modem answers inside such frames.

namespace kivo {

// CRC-16/X-25 (the FCS-16 of RFC 1662): reflected polynomial 0x8408, initial value 0xFFFF, final
// value inverted. Check value 0x906E for "123456789". Stored low byte first behind its bytes.
std::uint16_t novatel_crc16(const void* bytes, std::size_t count);

constexpr std::uint8_t kNovatelFlag = 0x7E;
constexpr std::uint8_t kNovatelEscape = 0x7D;
constexpr std::uint8_t kNovatelStatusDone = 0;
constexpr std::uint8_t kNovatelStatusResend = 99;
constexpr unsigned kNovatelMaxResends = 3;  // of one command, answered by status 99
constexpr std::uint16_t kNovatelChannel = 3;
constexpr std::uint16_t kNovatelAlternateChannel = 4;
constexpr std::size_t kNovatelTextArea = 640;          // the text and its NUL
constexpr std::size_t kNovatelMaxCommandLength = 639;  // "\r\n" included

// The frame that carries one AT command (651 bytes): 4B FA, channel (16-bit LE), 640 bytes of
// text with its NUL and zero padding, text length (16-bit LE), 0, status, CRC over bytes 0-647
// (LE), 7E. Written unchanged: no leading flag, nothing escaped.
struct NovatelFrame {
  static constexpr std::size_t kSize = 651;
  static constexpr std::size_t kChannelOffset = 2;
  static constexpr std::size_t kTextOffset = 4;
  static constexpr std::size_t kLengthOffset = 644;
  static constexpr std::size_t kStatusOffset = 647;
  static constexpr std::size_t kCrcOffset = 648;
  static constexpr std::size_t kFlagOffset = 650;
  std::uint8_t bytes[kSize] = {};

  // Builds the frame for `command` (at most 639 characters) on `channel`, check sequence
  // included. False, and the frame untouched, when the command does not fit.
  bool build(const char* command, std::uint16_t channel);
  // Puts another channel into a built frame and computes the check sequence again.
  void set_channel(std::uint16_t channel);
  std::uint16_t channel() const;
};

// The fixed diagnostic packets: body, its novatel_crc16 low byte first, 7E.
constexpr std::uint8_t DiagCommandZero[] = {0x00, 0x78, 0xF0, 0x7E};
constexpr std::uint8_t NovatelSubsysCommand0[] = {0x4B, 0xFA, 0x00, 0x00, 0x32, 0xD5, 0x7E};
constexpr std::uint8_t DiagProbe[] = {0x0C, 0x14, 0x3A, 0x7E};
constexpr std::uint8_t DiagModeOffline[] = {0x29, 0x01, 0x00, 0x31, 0x40, 0x7E};
constexpr std::uint8_t DiagModeReset[] = {0x29, 0x02, 0x00, 0x59, 0x6A, 0x7E};

// What novatel_tx_command needs of the link it runs in.
class NovatelChannel {
 public:
  virtual ~NovatelChannel() = default;
  // Writes the bytes; false when they were not written within the write wait (2000 ms), the
  // pending write then cancelled.
  virtual bool write(const void* bytes, std::size_t count) = 0;
  virtual void reset_response_event() = 0;
  // Waits for the receive thread's response event (2000 ms); false on time-out.
  virtual bool wait_response_event() = 0;
  // NovatelStatus: the status byte of the last reply the receive thread unwrapped.
  virtual std::uint8_t novatel_status() const = 0;
};

// Sends `command` framed on channel 3 and waits for the reply; while the reply's status is 99,
// traces "novatel status = 99, resending command on alternate channel" and sends the frame again
// on channel 4, at most kNovatelMaxResends times. 1 when a reply had status 0; 0 after "novatel
// status = 99 on every resend, giving up after %u resends", after "timeout waiting for command
// response", after "novatel unexpected status byte: 0x%02X", or when a write failed (then
// `write_failed` is set and nothing more is waited for). A command longer than 639 characters is
// not sent: trace "novatel command too long: %u characters" and it counts as a failed write.
int novatel_tx_command(NovatelChannel& channel, const char* command, const Trace& trace,
                       bool& write_failed);

// Replaces a received chunk of `length` bytes that begins with 4B FA 03 00 or 4B FA 04 00 by the
// text its reply frame carries, NUL-terminated in place, and returns 1; or makes it empty (NUL
// at its start) and returns 0 when the frame is not acceptable: not ending in 7E ("novatel
// unexpected terminating byte: 0x%02X"), shorter than the 8 bytes of the trailer ("novatel reply
// too short: %u bytes"; NovatelStatus unchanged in both cases), two or more escaped trailer bytes
// or a status other than 0 and 99 (the error box naming the last eight bytes), a text length over
// 640 or over the bytes present between offset 4 and the length field ("novatel unexpected data
// size: %d bytes (0x%04X)"). Writes nothing outside the chunk and reads nothing outside it.
// `trace` may be null (no trace lines).
int novatel_rx_unwrap(std::uint8_t* chunk, std::size_t length, std::uint8_t& novatel_status,
                      const Trace* trace, MessageBoxes& boxes);

// Whether a chunk begins with the header of a Novatel reply (4B FA 03 00 or 4B FA 04 00). Inline:
// the receive thread asks it of every chunk.
inline bool is_novatel_reply(const std::uint8_t* chunk, std::size_t length) {
  return length >= 4 && chunk[0] == 0x4B && chunk[1] == 0xFA && (chunk[2] == 3 || chunk[2] == 4) &&
         chunk[3] == 0;
}

}  // namespace kivo

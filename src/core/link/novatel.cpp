#include "link/novatel.h"

#include <array>
#include <cstring>

namespace kivo {

namespace {

constexpr std::array<std::uint16_t, 256> make_crc_table() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1u) ? (crc >> 1) ^ 0x8408u : crc >> 1;
    table[i] = static_cast<std::uint16_t>(crc);
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> kCrcTable = make_crc_table();

void put_le16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value & 0xFF);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t get_le16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

std::uint16_t novatel_crc16(const void* bytes, std::size_t count) {
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  unsigned crc = 0xFFFF;
  for (std::size_t i = 0; i < count; ++i) crc = (crc >> 8) ^ kCrcTable[(crc ^ p[i]) & 0xFF];
  return static_cast<std::uint16_t>(~crc & 0xFFFF);
}

bool NovatelFrame::build(const char* command, std::uint16_t channel) {
  const std::size_t length = std::strlen(command);
  if (length > kNovatelMaxCommandLength) return false;
  std::memset(bytes, 0, sizeof(bytes));
  bytes[0] = 0x4B;
  bytes[1] = 0xFA;
  std::memcpy(bytes + kTextOffset, command, length);  // the NUL and padding stay zero
  put_le16(bytes + kLengthOffset, static_cast<std::uint16_t>(length));
  bytes[kFlagOffset] = kNovatelFlag;
  set_channel(channel);
  return true;
}

void NovatelFrame::set_channel(std::uint16_t channel) {
  put_le16(bytes + kChannelOffset, channel);
  put_le16(bytes + kCrcOffset, novatel_crc16(bytes, kCrcOffset));
}

std::uint16_t NovatelFrame::channel() const {
  return get_le16(bytes + kChannelOffset);
}

namespace {

// Writes the frame and waits for its reply. False when the write failed (`write_failed` set) or
// after "timeout waiting for command response".
bool exchange_frame(NovatelChannel& channel, const NovatelFrame& frame, const Trace& trace,
                    bool& write_failed) {
  if (!channel.write(frame.bytes, sizeof(frame.bytes))) {
    write_failed = true;
    return false;
  }
  if (!channel.wait_response_event()) {
    trace("timeout waiting for command response");
    return false;
  }
  return true;
}

}  // namespace

int novatel_tx_command(NovatelChannel& channel, const char* command, const Trace& trace,
                       bool& write_failed) {
  write_failed = false;
  NovatelFrame frame;
  if (!frame.build(command, kNovatelChannel)) {
    trace("novatel command too long: %u characters", static_cast<unsigned>(std::strlen(command)));
    write_failed = true;
    return 0;
  }
  if (!exchange_frame(channel, frame, trace, write_failed)) return 0;
  if (channel.novatel_status() == kNovatelStatusDone) return 1;
  frame.set_channel(kNovatelAlternateChannel);
  std::uint8_t status;
  for (unsigned resends = 0; (status = channel.novatel_status()) == kNovatelStatusResend;
       ++resends) {
    // The caller holds the one-exchange lock: a modem that never stops asking for a resend must
    // not keep every other command out.
    if (resends == kNovatelMaxResends) {
      trace("novatel status = 99 on every resend, giving up after %u resends", resends);
      return 0;
    }
    trace("novatel status = 99, resending command on alternate channel");
    channel.reset_response_event();
    if (!exchange_frame(channel, frame, trace, write_failed)) return 0;
  }
  if (status == kNovatelStatusDone) return 1;
  trace("novatel unexpected status byte: 0x%02X", static_cast<unsigned>(status));
  return 0;
}

int novatel_rx_unwrap(std::uint8_t* chunk, std::size_t length, std::uint8_t& novatel_status,
                      const Trace* trace, MessageBoxes& boxes) {
  constexpr std::size_t kTrailer = 8;  // the most the trailer reads: n-8 to n-1
  if (length == 0) return 0;
  const std::size_t n = length;
  if (chunk[n - 1] != kNovatelFlag) {
    if (trace) (*trace)("novatel unexpected terminating byte: 0x%02X", chunk[n - 1]);
    chunk[0] = 0;
    return 0;
  }
  if (n < kTrailer) {
    if (trace) (*trace)("novatel reply too short: %u bytes", static_cast<unsigned>(n));
    chunk[0] = 0;
    return 0;
  }
  std::uint8_t status = chunk[n - 4];
  int escapes = 0;
  for (std::size_t i = n - 4; i <= n - 2; ++i)
    if (chunk[i] == kNovatelEscape) ++escapes;
  std::size_t length_offset = n - 7;
  if (escapes > 0) {
    status = chunk[n - 5];
    length_offset = n - 8;
  }
  novatel_status = status;
  const unsigned text_length = get_le16(chunk + length_offset);

  if (escapes >= 2 || (status != kNovatelStatusDone && status != kNovatelStatusResend)) {
    const std::uint8_t* last = chunk + n - 8;
    error_box(boxes,
              "An unexpected data sequence was encountered.\nPlease contact the author and quote "
              "the following bytes:\n%02X %02X %02X %02X %02X %02X %02X %02X",
              last[0], last[1], last[2], last[3], last[4], last[5], last[6], last[7]);
    chunk[0] = 0;
    return 0;
  }
  // The text lies between offset 4 and the length field; a length that claims more than the
  // bytes present there is refused like one over 640.
  const std::size_t present =
      length_offset > NovatelFrame::kTextOffset ? length_offset - NovatelFrame::kTextOffset : 0;
  if (text_length > kNovatelTextArea || text_length > present) {
    if (trace)
      (*trace)("novatel unexpected data size: %d bytes (0x%04X)", static_cast<int>(text_length),
               text_length);
    chunk[0] = 0;
    return 0;
  }
  std::memmove(chunk, chunk + NovatelFrame::kTextOffset, text_length);
  chunk[text_length] = 0;
  return 1;
}

}  // namespace kivo

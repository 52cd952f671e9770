#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace modemsim {

// CRC-16/X-25 (the FCS-16 of HDLC framing): reflected polynomial 0x8408, initial 0xFFFF, final
// inversion. Check value 0x906E for "123456789".
std::uint16_t crc16_x25(std::string_view bytes);

// The frame that carries one AT command on the diagnostic port: 4B FA, 16-bit channel, 640 bytes
// of text area, 16-bit text length, a zero, the status, the CRC (low byte first) and 7E.
constexpr std::size_t kAtFrameSize = 651;
constexpr std::size_t kAtFrameTextArea = 640;
constexpr unsigned kStatusDone = 0;
constexpr unsigned kStatusResend = 99;

// True for the first bytes of an AT frame (channel 3 or 4), given at least four of them.
bool is_at_frame_header(std::string_view bytes);

struct AtFrame {
  unsigned channel = 3;
  std::string text;  // as carried, line end included
  unsigned status = 0;
  bool crc_ok = false;
};

// Reads a complete 651-byte AT frame; nothing when the size or the layout is wrong.
std::optional<AtFrame> decode_at_frame(std::string_view frame);

// Which trailer byte of a reply goes out escaped (0x7D, then the byte XOR 0x20).
enum class EscapedByte { None, Status, CrcLow, CrcHigh };

// A reply in the request's layout. Trailer bytes that equal 7D or 7E are always escaped, as HDLC
// framing wants; `forced` escapes one more.
std::string encode_at_reply(unsigned channel, std::string_view text, unsigned status,
                            EscapedByte forced = EscapedByte::None);

// A diagnostic packet: its body and the body's CRC (low byte first), 7D and 7E escaped, then 7E.
std::string diag_packet(std::string_view body);

struct DiagReply {
  std::string bytes;
  bool resets_modem = false;  // the mode-reset command: the modem restarts after answering
};

// The answer to one 7E-terminated diagnostic packet. Known commands are echoed with a fresh
// CRC; unknown ones (the status request 0C among them) and packets with a bad CRC get the
// bad-command reply 13 followed by the packet's body.
DiagReply answer_diag_packet(std::string_view packet);

}  // namespace modemsim

#include "diag_frames.h"

namespace modemsim {
namespace {

constexpr char kFlag = '\x7e';
constexpr char kEscape = '\x7d';
constexpr std::size_t kTextOffset = 4;
constexpr std::size_t kLengthOffset = 644;
constexpr std::size_t kStatusOffset = 647;
constexpr std::size_t kCrcOffset = 648;

constexpr unsigned char kDiagBadCommand = 0x13;
constexpr unsigned char kDiagVersionInfo = 0x00;
constexpr unsigned char kDiagControl = 0x29;
constexpr unsigned char kDiagSubsystem = 0x4b;
constexpr unsigned char kControlModeReset = 0x02;

unsigned byte_at(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

void put_u16(std::string& bytes, std::size_t offset, unsigned value) {
  bytes[offset] = static_cast<char>(value & 0xff);
  bytes[offset + 1] = static_cast<char>((value >> 8) & 0xff);
}

void append_escaped(std::string& out, char byte, bool forced) {
  if (forced || byte == kFlag || byte == kEscape) {
    out += kEscape;
    out += static_cast<char>(byte ^ 0x20);
  } else {
    out += byte;
  }
}

bool known_diag_command(std::string_view body) {
  switch (byte_at(body, 0)) {
    case kDiagVersionInfo:
    case kDiagSubsystem:
      return true;
    case kDiagControl:
      return body.size() >= 2;
    default:
      return false;
  }
}

}  // namespace

std::uint16_t crc16_x25(std::string_view bytes) {
  unsigned crc = 0xffff;
  for (char c : bytes) {
    crc ^= static_cast<unsigned char>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0x8408 : crc >> 1;
  }
  return static_cast<std::uint16_t>(crc ^ 0xffff);
}

bool is_at_frame_header(std::string_view bytes) {
  return bytes.size() >= 4 && byte_at(bytes, 0) == 0x4b && byte_at(bytes, 1) == 0xfa &&
         (byte_at(bytes, 2) == 3 || byte_at(bytes, 2) == 4) && byte_at(bytes, 3) == 0;
}

std::optional<AtFrame> decode_at_frame(std::string_view frame) {
  if (frame.size() != kAtFrameSize || !is_at_frame_header(frame) || frame.back() != kFlag) {
    return std::nullopt;
  }
  unsigned length = byte_at(frame, kLengthOffset) | byte_at(frame, kLengthOffset + 1) << 8;
  if (length >= kAtFrameTextArea) return std::nullopt;
  AtFrame decoded;
  decoded.channel = byte_at(frame, 2);
  decoded.text = std::string(frame.substr(kTextOffset, length));
  decoded.status = byte_at(frame, kStatusOffset);
  unsigned crc = byte_at(frame, kCrcOffset) | byte_at(frame, kCrcOffset + 1) << 8;
  decoded.crc_ok = crc == crc16_x25(frame.substr(0, kCrcOffset));
  return decoded;
}

std::string encode_at_reply(unsigned channel, std::string_view text, unsigned status,
                            EscapedByte forced) {
  std::string body(kCrcOffset, '\0');
  body[0] = '\x4b';
  body[1] = '\xfa';
  put_u16(body, 2, channel);
  std::string_view carried = text.substr(0, kAtFrameTextArea - 1);
  body.replace(kTextOffset, carried.size(), carried);
  put_u16(body, kLengthOffset, static_cast<unsigned>(carried.size()));
  body[kStatusOffset] = static_cast<char>(status);
  unsigned crc = crc16_x25(body);

  std::string out = body.substr(0, kStatusOffset);
  append_escaped(out, static_cast<char>(status), forced == EscapedByte::Status);
  append_escaped(out, static_cast<char>(crc & 0xff), forced == EscapedByte::CrcLow);
  append_escaped(out, static_cast<char>(crc >> 8), forced == EscapedByte::CrcHigh);
  out += kFlag;
  return out;
}

std::string diag_packet(std::string_view body) {
  std::string out;
  for (char c : body) append_escaped(out, c, false);
  unsigned crc = crc16_x25(body);
  append_escaped(out, static_cast<char>(crc & 0xff), false);
  append_escaped(out, static_cast<char>(crc >> 8), false);
  out += kFlag;
  return out;
}

DiagReply answer_diag_packet(std::string_view packet) {
  DiagReply reply;
  std::string plain;
  for (std::size_t i = 0; i + 1 < packet.size(); ++i) {
    if (packet[i] == kEscape && i + 2 < packet.size()) {
      plain += static_cast<char>(packet[++i] ^ 0x20);
    } else {
      plain += packet[i];
    }
  }
  if (plain.size() < 3 || packet.back() != kFlag) {
    reply.bytes = diag_packet(std::string(1, static_cast<char>(kDiagBadCommand)));
    return reply;
  }
  std::string_view body = std::string_view(plain).substr(0, plain.size() - 2);
  std::string_view crc = std::string_view(plain).substr(plain.size() - 2);
  unsigned received = byte_at(crc, 0) | byte_at(crc, 1) << 8;
  if (received != crc16_x25(body) || !known_diag_command(body)) {
    reply.bytes = diag_packet(static_cast<char>(kDiagBadCommand) + std::string(body));
    return reply;
  }
  reply.bytes = diag_packet(body);
  reply.resets_modem = byte_at(body, 0) == kDiagControl && byte_at(body, 1) == kControlModeReset;
  return reply;
}

}  // namespace modemsim

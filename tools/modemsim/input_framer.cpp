#include "input_framer.h"

#include "diag_frames.h"

namespace modemsim {
namespace {

constexpr char kCtrlZ = '\x1a';
constexpr char kEsc = '\x1b';
constexpr char kFlag = '\x7e';
// A packet without its flag after this many bytes is noise; the modem drops it.
constexpr std::size_t kMaxDiagPacket = 4096;

bool is_filler(char c) {
  return c == '\r' || c == '\n' || c == ' ';
}

// True while the bytes so far could still grow into the header of an AT frame.
bool frame_may_follow(std::string_view bytes) {
  constexpr std::string_view kStart("\x4b\xfa", 2);
  return bytes.size() < 4 && kStart.substr(0, bytes.size()) == bytes.substr(0, 2);
}

}  // namespace

std::optional<Unit> InputFramer::take(UnitKind kind, std::size_t text_end, std::size_t raw_end) {
  Unit unit;
  unit.kind = kind;
  unit.text = buffer_.substr(0, text_end);
  unit.raw = buffer_.substr(0, raw_end);
  buffer_.erase(0, raw_end);
  return unit;
}

std::optional<Unit> InputFramer::next() {
  if (buffer_.empty()) return std::nullopt;
  if (sms_body_) return next_sms_body();
  char first = buffer_[0];
  if (is_filler(first)) {
    std::size_t end = 0;
    while (end < buffer_.size() && is_filler(buffer_[end])) ++end;
    return take(UnitKind::Filler, end, end);
  }
  if (first == 'A' || first == 'a') return next_line(UnitKind::CommandLine);
  if (diag_ && first != kEsc) return next_diag();
  return next_line(UnitKind::Noise);
}

std::optional<Unit> InputFramer::next_sms_body() {
  // The line end of the AT+CMGS line may still be here; it is not part of the text.
  std::size_t start = 0;
  while (start < buffer_.size() && (buffer_[start] == '\r' || buffer_[start] == '\n')) ++start;
  std::size_t end = buffer_.find_first_of(std::string{kCtrlZ, kEsc}, start);
  if (end == std::string::npos) return std::nullopt;
  sms_body_ = false;
  bool cancelled = buffer_[end] == kEsc;
  auto unit = take(UnitKind::SmsBody, end, end + 1);
  unit->text.erase(0, start);
  unit->cancelled = cancelled;
  return unit;
}

std::optional<Unit> InputFramer::next_line(UnitKind kind) {
  std::size_t end = buffer_.find_first_of("\r\n");
  if (end == std::string::npos) return std::nullopt;
  std::size_t raw_end = end + 1;
  if (buffer_[end] == '\r' && raw_end < buffer_.size() && buffer_[raw_end] == '\n') ++raw_end;
  return take(kind, end, raw_end);
}

std::optional<Unit> InputFramer::next_diag() {
  if (frame_may_follow(buffer_)) return std::nullopt;
  if (is_at_frame_header(buffer_)) {
    if (buffer_.size() < kAtFrameSize) return std::nullopt;
    return take(UnitKind::AtFrame, kAtFrameSize, kAtFrameSize);
  }
  std::size_t end = buffer_.find(kFlag);
  if (end == std::string::npos) {
    if (buffer_.size() <= kMaxDiagPacket) return std::nullopt;
    return take(UnitKind::DiagNoise, buffer_.size(), buffer_.size());
  }
  return take(UnitKind::DiagPacket, end + 1, end + 1);
}

}  // namespace modemsim

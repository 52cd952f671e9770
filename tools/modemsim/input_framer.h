#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace modemsim {

enum class UnitKind {
  Filler,       // CR, LF and blanks between command lines
  CommandLine,  // a line that begins with "AT"
  Noise,        // any other line
  SmsBody,      // what follows the SMS prompt, up to ctrl-Z or ESC
  AtFrame,      // a 651-byte diagnostic frame that carries an AT command
  DiagPacket,   // a 7E-terminated diagnostic packet
  DiagNoise,    // bytes on a diagnostic port that never ended in a packet
};

struct Unit {
  UnitKind kind = UnitKind::Filler;
  std::string text;        // the line without its end, the SMS text, or the packet's bytes
  std::string raw;         // every byte the unit took from the stream
  bool cancelled = false;  // an SMS body ended by ESC
};

// Cuts what the host sends into the units the modem acts on. Bytes may arrive in any pieces;
// a unit is returned once it is complete.
class InputFramer {
 public:
  void feed(std::string_view bytes) { buffer_ += bytes; }

  // Whether bytes that cannot begin a command line start a diagnostic packet (a port that
  // speaks the diagnostic protocol) or a line of noise.
  void set_diag(bool diag) { diag_ = diag; }

  // What follows, up to ctrl-Z or ESC, is the text of a short message.
  void expect_sms_body() { sms_body_ = true; }

  std::optional<Unit> next();

  // Forgets what has not been taken yet, as a modem that restarts does.
  void clear() {
    buffer_.clear();
    sms_body_ = false;
  }

 private:
  std::optional<Unit> take(UnitKind kind, std::size_t text_end, std::size_t raw_end);
  std::optional<Unit> next_sms_body();
  std::optional<Unit> next_line(UnitKind kind);
  std::optional<Unit> next_diag();

  std::string buffer_;
  bool diag_ = false;
  bool sms_body_ = false;
};

}  // namespace modemsim

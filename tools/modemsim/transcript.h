#pragma once

#include <ostream>
#include <string_view>

namespace modemsim {

// What the modem received, in two forms: `raw` gets every byte unchanged; `text` gets one line
// per command (or packet, or SMS text) in escaped form, see escape().
class Transcript {
 public:
  Transcript(std::ostream& text, std::ostream& raw) : text_(text), raw_(raw) {}

  void bytes(std::string_view received);
  // Starts a new line with `shown`.
  void line(std::string_view shown);
  // Adds to the current line (the line ends that follow a command).
  void append(std::string_view shown);
  void flush();

 private:
  std::ostream& text_;
  std::ostream& raw_;
  bool empty_ = true;
};

}  // namespace modemsim

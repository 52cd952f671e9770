#include "transcript.h"

namespace modemsim {

void Transcript::bytes(std::string_view received) {
  raw_.write(received.data(), static_cast<std::streamsize>(received.size()));
}

void Transcript::line(std::string_view shown) {
  if (!empty_) text_ << '\n';
  text_ << shown;
  empty_ = false;
}

void Transcript::append(std::string_view shown) {
  text_ << shown;
  empty_ = false;
}

void Transcript::flush() {
  text_.flush();
  raw_.flush();
}

}  // namespace modemsim

#pragma once

#include <cstdio>
#include <deque>
#include <optional>
#include <string>

#include "setup/pin_prompt.h"
#include "support/journal.h"

namespace kivo::test {

// The user at the PIN dialog: types the queued PINs and presses OK, or Cancel when the queue
// holds no PIN (or is empty). Records "pin <attempts shown>".
class FakePinPrompt : public PinPrompt {
 public:
  explicit FakePinPrompt(Journal& journal) : journal_(journal) {}

  void type(std::string pin) { answers_.push_back(std::move(pin)); }
  void cancel() { answers_.push_back(std::nullopt); }

  bool ask_pin(std::uint32_t attempts, char (&pin)[kPinBufferSize]) override {
    journal_.add("pin " + std::to_string(attempts));
    if (answers_.empty()) return false;
    const std::optional<std::string> answer = answers_.front();
    answers_.pop_front();
    if (!answer) return false;
    std::snprintf(pin, kPinBufferSize, "%s", answer->c_str());
    return true;
  }

 private:
  Journal& journal_;
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace kivo::test

#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo {

// PinBuffer: at most 8 digits and their terminator.
constexpr std::size_t kPinBufferSize = 9;

// Asks the user for the SIM PIN (dialog 104, owned by the main window). Called on the
// discovery thread, which waits until the user has answered.
class PinPrompt {
 public:
  virtual ~PinPrompt() = default;
  // Shows the remaining `attempts` ("Unknown" for 99). True when closed with OK
  // (PinDialogAccepted), with the PIN typed in `pin`; the caller wipes it after use.
  virtual bool ask_pin(std::uint32_t attempts, char (&pin)[kPinBufferSize]) = 0;
};

}  // namespace kivo

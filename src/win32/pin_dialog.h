#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "setup/pin_prompt.h"

namespace kivo {

// The SIM PIN dialog (template 104), owned by the main window while it exists. Runs on the
// thread that asks (discovery), in a modal loop of its own.
class DialogPinPrompt : public PinPrompt {
 public:
  DialogPinPrompt(HINSTANCE instance, const std::atomic<HWND>& owner);

  bool ask_pin(std::uint32_t attempts, char (&pin)[kPinBufferSize]) override;

 private:
  HINSTANCE instance_;
  HICON icon_;
  const std::atomic<HWND>& owner_;
};

}  // namespace kivo

#pragma once

#include <windows.h>

namespace kivo {

// Per-monitor v2 (Windows 10 1703 on) has the dialog manager scale a dialog's controls and font
// when the window moves to a monitor of another DPI. Per-monitor v1 (Windows 8.1, earlier
// Windows 10) leaves them as they were laid out, so this does it there.
class DialogRescaler {
 public:
  DialogRescaler() = default;
  DialogRescaler(const DialogRescaler&) = delete;
  DialogRescaler& operator=(const DialogRescaler&) = delete;
  ~DialogRescaler() { release(); }

  // Takes the dialog's template font and its DPI, from which every later font is scaled.
  void attach(HWND dialog, UINT dpi);
  // Frees the font made for the dialog; called once the dialog is gone.
  void release();
  // The window moved to a monitor of `dpi`: unless the dialog manager does it, scales every
  // control but `keep` (which places itself) and gives them the template font at that DPI.
  void follow(UINT dpi, HWND keep);

 private:
  HWND dialog_ = nullptr;
  LOGFONTW font_{};
  UINT font_dpi_ = 0;
  UINT dpi_ = 0;
  HFONT scaled_font_ = nullptr;
};

}  // namespace kivo

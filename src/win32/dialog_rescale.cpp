#include "dialog_rescale.h"

#include <vector>

#include "window_dpi.h"

namespace kivo {
namespace {

bool scales_itself(HWND dialog) {
  using ContextOf = HANDLE(WINAPI*)(HWND);
  using Equal = BOOL(WINAPI*)(HANDLE, HANDLE);
  static const auto context_of = newer_user32_function<ContextOf>("GetWindowDpiAwarenessContext");
  static const auto equal = newer_user32_function<Equal>("AreDpiAwarenessContextsEqual");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  const auto per_monitor_v2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  return context_of != nullptr && equal != nullptr &&
         equal(context_of(dialog), per_monitor_v2) != FALSE;
}

BOOL CALLBACK collect_child(HWND child, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

// The control's rectangle in the dialog; a drop-down list's reaches down to its open list,
// which SetWindowPos sizes with it.
RECT placed_rect(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  char class_name[16] = {};
  GetClassNameA(control, class_name, sizeof class_name);
  RECT list{};
  if (lstrcmpiA(class_name, "ComboBox") == 0 &&
      SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list)))
    rect.bottom = list.bottom;
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

void DialogRescaler::attach(HWND dialog, UINT dpi) {
  release();
  dialog_ = dialog;
  dpi_ = font_dpi_ = dpi;
  auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  if (font == nullptr || GetObjectW(font, sizeof font_, &font_) != sizeof font_) font_dpi_ = 0;
}

void DialogRescaler::release() {
  if (scaled_font_ != nullptr) DeleteObject(scaled_font_);
  scaled_font_ = nullptr;
  dialog_ = nullptr;
}

void DialogRescaler::follow(UINT dpi, HWND keep) {
  const UINT from = dpi_;
  dpi_ = dpi;
  if (dialog_ == nullptr || font_dpi_ == 0 || from == 0 || dpi == from || scales_itself(dialog_))
    return;
  LOGFONTW font = font_;
  font.lfHeight = MulDiv(font_.lfHeight, static_cast<int>(dpi), static_cast<int>(font_dpi_));
  HFONT scaled = CreateFontIndirectW(&font);
  const auto to = [from, dpi](LONG value) {
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(from));
  };
  std::vector<HWND> children;
  EnumChildWindows(dialog_, collect_child, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (GetParent(child) != dialog_ || child == keep) continue;
    const RECT rect = placed_rect(dialog_, child);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaled), FALSE);
    SetWindowPos(child, nullptr, to(rect.left), to(rect.top), to(rect.right - rect.left),
                 to(rect.bottom - rect.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(dialog_, nullptr, TRUE);
  if (scaled_font_ != nullptr) DeleteObject(scaled_font_);
  scaled_font_ = scaled;
}

}  // namespace kivo

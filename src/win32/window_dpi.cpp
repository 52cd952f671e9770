#include "window_dpi.h"

#include "res/resource_ids.h"

namespace kivo {
namespace {

// Functions of Windows 10 and later, looked up so the program still starts on Windows 7.
template <typename Function>
Function user32_function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

UINT system_dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// Without GetSystemMetricsForDpi every window has the system's DPI, which GetSystemMetrics
// already answers for.
int metric_for_dpi(int metric, UINT dpi) {
  using ForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto for_dpi = user32_function<ForDpiFunction>("GetSystemMetricsForDpi");
  return for_dpi ? for_dpi(metric, dpi) : GetSystemMetrics(metric);
}

}  // namespace

UINT window_dpi(HWND window) {
  using GetDpiFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi = user32_function<GetDpiFunction>("GetDpiForWindow");
  const UINT dpi = get_dpi != nullptr && window != nullptr ? get_dpi(window) : 0;
  return dpi != 0 ? dpi : system_dpi();
}

HFONT create_status_font(UINT dpi) {
  using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const auto for_dpi = user32_function<ForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (for_dpi == nullptr || !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return CreateFontIndirectW(&metrics.lfStatusFont);
}

HICON load_program_icon(HINSTANCE instance, UINT dpi, WPARAM which) {
  const bool small = which == ICON_SMALL;
  const int width = metric_for_dpi(small ? SM_CXSMICON : SM_CXICON, dpi);
  const int height = metric_for_dpi(small ? SM_CYSMICON : SM_CYICON, dpi);
  return static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON, width, height, 0));
}

}  // namespace kivo

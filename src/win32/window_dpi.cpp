#include "window_dpi.h"

#include "res/resource_ids.h"

namespace kivo {
namespace {

UINT system_dpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// Before Windows 10 the system answers at its own DPI, scaled here to the window's.
int metric_for_dpi(int metric, UINT dpi) {
  using ForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto for_dpi = newer_user32_function<ForDpiFunction>("GetSystemMetricsForDpi");
  if (for_dpi != nullptr) return for_dpi(metric, dpi);
  return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), static_cast<int>(system_dpi()));
}

}  // namespace

// A per-monitor aware window is drawn at its monitor's DPI. GetDpiForWindow would tell it too,
// but Wine answers 96 for such windows whatever the setting; GetDpiForMonitor (Windows 8.1 on,
// from shcore.dll, loaded from the system folder only) is right on both.
UINT window_dpi(HWND window) {
  using ForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto for_monitor = [] {
    HMODULE shcore = LoadLibraryExA("shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shcore == nullptr ? nullptr
                             : reinterpret_cast<ForMonitorFunction>(reinterpret_cast<void*>(
                                   GetProcAddress(shcore, "GetDpiForMonitor")));
  }();
  UINT dpi_x = 0, dpi_y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  if (for_monitor != nullptr &&
      SUCCEEDED(for_monitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi,
                            &dpi_x, &dpi_y)) &&
      dpi_y != 0)
    return dpi_y;
  return system_dpi();
}

HFONT create_status_font(UINT dpi) {
  using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const auto for_dpi = newer_user32_function<ForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (for_dpi == nullptr || !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LONG& height = metrics.lfStatusFont.lfHeight;
    height = MulDiv(height, static_cast<int>(dpi), static_cast<int>(system_dpi()));
  }
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

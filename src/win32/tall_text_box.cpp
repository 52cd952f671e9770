#include "tall_text_box.h"

#include <string>

#include "res/resource_ids.h"
#include "window_dpi.h"

namespace kivo {
namespace {

// Besides its text a message box has its caption, its margins and its button row: about
// 100 pixels at 96 DPI. It wraps its text at about 300 pixels.
constexpr int kBoxChrome = 100;
constexpr int kBoxTextWidth = 300;

struct TallTextBox {
  std::string text;  // lines ended by CR LF, as an edit control wants them
  const char* caption;
};

std::string with_crlf(const char* text) {
  std::string lines;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c == '\r' && c[1] != '\n') {
      lines += "\r\n";
    } else {
      lines += *c;
    }
  }
  return lines;
}

INT_PTR CALLBACK tall_text_box_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* box = reinterpret_cast<const TallTextBox*>(lparam);
      SetWindowTextA(dialog, box->caption);
      SetDlgItemTextA(dialog, IDC_BOX_TEXT, box->text.c_str());
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool too_tall_for_screen(HWND owner, const char* text) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  HMONITOR screen = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
  if (!GetMonitorInfoA(screen, &monitor)) return false;
  const UINT dpi = window_dpi(owner);
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
  HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  const RECT& work = monitor.rcWork;
  RECT text_rect{0, 0, MulDiv(kBoxTextWidth, static_cast<int>(dpi), 96), 0};
  DrawTextA(dc, text, -1, &text_rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(font);
  const int box_height = text_rect.bottom + MulDiv(kBoxChrome, static_cast<int>(dpi), 96);
  return box_height > work.bottom - work.top;
}

void show_tall_text_box(HWND owner, const char* text, const char* caption) {
  TallTextBox box{with_crlf(text), caption};
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TALL_TEXT_BOX), owner,
                  tall_text_box_proc, reinterpret_cast<LPARAM>(&box));
}

}  // namespace kivo

#include "history_dialog.h"

#include <cstring>

#include "history_chart_painter.h"
#include "res/resource_ids.h"

namespace kivo {
namespace {

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

struct HistoryDialog {
  HICON icon;
  const HistoryChart& chart;
  SIZE smallest;  // the template's size at `dpi`: the dialog never shrinks below it
  UINT dpi;
};

HistoryDialog* setup_of(HWND dialog) {
  return reinterpret_cast<HistoryDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// Windows 10 knows each window's DPI; older Windows and Wine without it use the screen's.
UINT dpi_of(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (get_dpi_for_window != nullptr) {
    const UINT dpi = get_dpi_for_window(window);
    if (dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The old bits of a moved control are never copied to its new place: under Wine they may be
// bits of another control or never painted yet.
constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOCOPYBITS;

// The buttons stay at the bottom right, the chart takes the rest; lengths in dialog units, so
// they follow the dialog's font and DPI.
void lay_out(HWND dialog) {
  RECT client;
  GetClientRect(dialog, &client);
  RECT units{7, 14, 50, 4};  // margin, button height, button width, gap
  MapDialogRect(dialog, &units);
  const int margin = units.left;
  const int button_height = units.top;
  const int button_width = units.right;
  const int button_top = client.bottom - margin - button_height;
  const int close_left = client.right - margin - button_width;
  const int copy_left = close_left - units.bottom - button_width;
  HDWP moves = BeginDeferWindowPos(3);
  moves = DeferWindowPos(moves, GetDlgItem(dialog, IDC_HISTORY_CHART), nullptr, margin, margin,
                         client.right - 2 * margin, button_top - 2 * margin, kMoveFlags);
  moves = DeferWindowPos(moves, GetDlgItem(dialog, IDC_HISTORY_COPY), nullptr, copy_left,
                         button_top, button_width, button_height, kMoveFlags);
  moves = DeferWindowPos(moves, GetDlgItem(dialog, IDCANCEL), nullptr, close_left, button_top,
                         button_width, button_height, kMoveFlags);
  EndDeferWindowPos(moves);
  // The chart covers what it erases itself; the rest of the dialog is drawn again.
  InvalidateRect(dialog, nullptr, TRUE);
}

// The rows as CF_TEXT; the system offers them as Unicode too.
void copy_to_clipboard(HWND dialog, const std::string& text) {
  if (!OpenClipboard(dialog)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory != nullptr) {
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
  }
  CloseClipboard();
}

void on_init(HWND dialog, HistoryDialog* setup) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(setup));
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(setup->icon));
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(setup->icon));
  RECT window;
  GetWindowRect(dialog, &window);
  setup->smallest = {window.right - window.left, window.bottom - window.top};
  setup->dpi = dpi_of(dialog);
  lay_out(dialog);
}

// Moved to a screen of another DPI: the system gives the size the dialog has there.
void on_dpi_changed(HWND dialog, HistoryDialog* setup, UINT dpi, const RECT& suggested) {
  if (setup != nullptr && setup->dpi != 0) {
    setup->smallest = {MulDiv(setup->smallest.cx, int(dpi), int(setup->dpi)),
                       MulDiv(setup->smallest.cy, int(dpi), int(setup->dpi))};
    setup->dpi = dpi;
  }
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR on_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  HistoryDialog* setup = setup_of(dialog);
  switch (message) {
    case WM_SIZE:
      if (setup != nullptr) lay_out(dialog);  // not before the controls exist
      return TRUE;
    case WM_GETMINMAXINFO:
      if (setup != nullptr)
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize =
            POINT{setup->smallest.cx, setup->smallest.cy};
      return TRUE;
    case WM_DPICHANGED:
      on_dpi_changed(dialog, setup, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (setup == nullptr || item->CtlID != IDC_HISTORY_CHART) return FALSE;
      paint_history_chart(item->hDC, item->rcItem, dpi_of(dialog), setup->chart);
      return TRUE;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) != BN_CLICKED) return FALSE;
      if (LOWORD(wparam) == IDC_HISTORY_COPY && setup != nullptr)
        copy_to_clipboard(dialog, setup->chart.csv);
      if (LOWORD(wparam) == IDCANCEL) EndDialog(dialog, IDCANCEL);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK history_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_INITDIALOG) return on_message(dialog, message, wparam, lparam);
  on_init(dialog, reinterpret_cast<HistoryDialog*>(lparam));
  return TRUE;
}

}  // namespace

void run_history_dialog(HINSTANCE instance, HWND owner, HICON icon, const HistoryChart& chart) {
  HistoryDialog setup{icon, chart, {0, 0}, 96};
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_USAGE_HISTORY), owner, history_dialog_proc,
                  reinterpret_cast<LPARAM>(&setup));
}

}  // namespace kivo

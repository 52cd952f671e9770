#include "layout_check.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "control_reader.h"
#include "json_writer.h"
#include "window_dpi.h"
#include "window_finder.h"

namespace uiprobe {
namespace {

// The font of the program's dialog templates (FONT in src/win32/res/kivoscope.rc). Another
// process cannot use the program's font handle, so the same face and size is made here.
constexpr char kDialogFace[] = "MS Shell Dlg";
constexpr int kDialogPoints = 8;
constexpr int kStatusBarId = 100;
constexpr int kMessageBoxTextId = 0xFFFF;

// What each kind of control draws around its text, in pixels at 96 DPI (scaled to the DPI):
// a push button's edge and focus frame on each side, a check box's or radio button's box and
// the gap behind it, the space a group box leaves before its caption and after it, a drop-down
// list's arrow and the margins of its text.
constexpr int kButtonMargin = 3;
constexpr int kCheckBoxSpace = 17;
constexpr int kGroupCaptionSpace = 16;
constexpr int kDropDownArrow = 17;
constexpr int kDropDownMargin = 3;

struct Size {
  int width;
  int height;
};

struct Offender {
  HWND control;
  const char* problem;
  Size needs;
  Size has;
};

// The program's own rules for a window's DPI and for functions Windows 7 lacks.
using kivo::newer_user32_function;
using kivo::window_dpi;

int scaled(int pixels_at_96, UINT dpi) {
  return MulDiv(pixels_at_96, static_cast<int>(dpi), 96);
}

// Message boxes (a static text with the identifier 0xFFFF) draw their text in the system's
// message font, the program's dialogs in the font of their template.
HFONT window_font(HWND window, UINT dpi) {
  HWND box_text = GetDlgItem(window, kMessageBoxTextId);
  if (box_text == nullptr || control_kind(box_text) != "text") {
    return CreateFontA(-MulDiv(kDialogPoints, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, kDialogFace);
  }
  using ForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const auto for_dpi = newer_user32_function<ForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!for_dpi || !for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

// The rightmost column of `width` x `height` white pixels that is not white, plus one.
int ink_width(const std::uint32_t* pixels, int width, int height) {
  int ink = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = width - 1; x >= ink; --x) {
      if ((pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF) {
        ink = x + 1;
        break;
      }
    }
  }
  return ink;
}

// The text's height as DrawText lays it out, and its width as far as it draws ink: Wine's
// outline advances run several pixels past the glyphs it draws, so a text that only seems to
// overflow by its trailing spacing shows whole.
Size measure(HDC dc, const std::string& text, UINT format, int wrap_width) {
  RECT rect{0, 0, wrap_width, 0};
  const int length = static_cast<int>(text.size());
  DrawTextA(dc, text.c_str(), length, &rect, format | DT_CALCRECT);
  const int width = rect.right + 2, height = rect.bottom;
  if (width <= 2 || height <= 0) return {0, height};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return {rect.right, height};
  HGDIOBJ previous = SelectObject(dc, bitmap);
  RECT area{0, 0, width, height};
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT layout{0, 0, wrap_width > 0 ? wrap_width : width, height};
  DrawTextA(dc, text.c_str(), length, &layout, format | DT_NOCLIP);
  GdiFlush();
  const int ink = ink_width(static_cast<const std::uint32_t*>(bits), width, height);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  return {ink, height};
}

RECT client_rect(HWND control) {
  RECT rect{};
  GetClientRect(control, &rect);
  return rect;
}

// Texts that wrap (the plain left, centred and right statics) must fit their height once
// wrapped at the control's width, and no word may be wider than it; the others fit one line.
Size static_needs(HDC dc, const std::string& text, LONG style, int width) {
  const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  const LONG type = style & SS_TYPEMASK;
  if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT)
    return measure(dc, text, DT_WORDBREAK | DT_EXPANDTABS | prefix, width);
  return measure(dc, text, DT_SINGLELINE | DT_EXPANDTABS | prefix, 0);
}

bool draws_text(HWND control, const std::string& kind) {
  if (kind != "text") return true;
  const LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
         type == SS_LEFTNOWORDWRAP;
}

// The widest entry plus the arrow must fit the closed list, which shows the chosen entry.
Size drop_down_needs(HDC dc, HWND list, UINT dpi) {
  Size needs{0, 0};
  DWORD_PTR count = 0;
  send(list, CB_GETCOUNT, 0, 0, &count);
  for (int i = 0; i < static_cast<int>(count); ++i) {
    const Size size = measure(dc, list_entry_text(list, i), DT_SINGLELINE | DT_NOPREFIX, 0);
    needs.width = std::max(needs.width, size.width);
    needs.height = std::max(needs.height, size.height);
  }
  if (needs.width > 0) needs.width += scaled(kDropDownArrow + 2 * kDropDownMargin, dpi);
  return needs;
}

// A read-only single-line edit shows its whole value between its margins; what the user types
// scrolls, and a multi-line edit wraps, so there only the line height counts.
Size edit_needs(HDC dc, HWND edit, const std::string& text, LONG style) {
  const Size size =
      measure(dc, text.empty() ? std::string("X") : text, DT_SINGLELINE | DT_NOPREFIX, 0);
  if ((style & ES_MULTILINE) || !(style & ES_READONLY)) return {0, size.height};
  DWORD_PTR margins = 0;
  send(edit, EM_GETMARGINS, 0, 0, &margins);
  return {size.width + LOWORD(margins) + HIWORD(margins) + 1, size.height};
}

// The room the control's text needs, by what the control draws besides it.
Size text_needs(HDC dc, HWND control, const std::string& kind, const RECT& client, UINT dpi) {
  const std::string text = window_text(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const UINT line = DT_SINGLELINE | DT_EXPANDTABS;
  if (kind == "text") return static_needs(dc, text, style, client.right);
  if (kind == "edit") return edit_needs(dc, control, text, style);
  if (kind == "drop-down list" || kind == "combo box") return drop_down_needs(dc, control, dpi);
  if (text.empty()) return {0, 0};
  Size size = measure(dc, text, line, 0);
  if (kind == "button") {
    size.width += 2 * scaled(kButtonMargin, dpi);
    size.height += 2 * scaled(kButtonMargin - 1, dpi);
  } else if (kind == "check box" || kind == "radio button") {
    size.width += scaled(kCheckBoxSpace, dpi);
  } else if (kind == "group box") {
    size.width += scaled(kGroupCaptionSpace, dpi);
  } else {
    return {0, 0};
  }
  return size;
}

RECT rect_in(HWND window, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

Size size_of(const RECT& rect) {
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Controls stay inside the client area and, but for the bar itself, above the status bar.
void check_places(HWND window, const std::vector<HWND>& controls, std::vector<Offender>& found) {
  RECT area = client_rect(window);
  HWND bar = GetDlgItem(window, kStatusBarId);
  const bool has_bar = bar != nullptr && IsWindowVisible(bar);
  for (HWND control : controls) {
    const RECT rect = rect_in(window, control);
    if (!inside(rect, area)) {
      found.push_back({control, "outside the window", size_of(rect), size_of(area)});
    } else if (has_bar && control != bar && rect.bottom > rect_in(window, bar).top) {
      found.push_back({control, "under the status bar", size_of(rect), size_of(area)});
    }
  }
}

// The face the font matched and its height, for the report.
std::string font_description(HDC dc) {
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, sizeof face, face);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return std::string(face) + ", " + std::to_string(metrics.tmHeight) + " px";
}

std::string check_texts(HWND window, const std::vector<HWND>& controls, UINT dpi,
                        std::vector<Offender>& found) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = window_font(window, dpi);
  HGDIOBJ previous = SelectObject(dc, font);
  const std::string description = font_description(dc);
  for (HWND control : controls) {
    const std::string kind = control_kind(control);
    if (GetDlgCtrlID(control) == kStatusBarId || !draws_text(control, kind)) continue;
    const RECT client = client_rect(control);
    const Size needs = text_needs(dc, control, kind, client, dpi);
    if (needs.width > client.right || needs.height > client.bottom)
      found.push_back({control, "text cut", needs, {client.right, client.bottom}});
  }
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
  return description;
}

std::string size_json(Size size) {
  return json_array({std::to_string(size.width), std::to_string(size.height)});
}

std::string offender_json(HWND window, const Offender& offender) {
  const RECT rect = rect_in(window, offender.control);
  return JsonObject()
      .add("id", static_cast<int>(static_cast<short>(GetDlgCtrlID(offender.control))))
      .add("kind", control_kind(offender.control))
      .add("text", window_text(offender.control))
      .add("problem", offender.problem)
      .add_raw("rect", json_array({std::to_string(rect.left), std::to_string(rect.top),
                                   std::to_string(rect.right), std::to_string(rect.bottom)}))
      .add_raw("needs", size_json(offender.needs))
      .add_raw("has", size_json(offender.has))
      .str();
}

// The window itself must be where the user can see all of it.
bool on_work_area(HWND window, RECT& work) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  work = monitor.rcWork;
  RECT outer{};
  GetWindowRect(window, &outer);
  return inside(outer, work);
}

}  // namespace

LayoutReport check_layout(HWND window) {
  std::vector<HWND> controls;
  for (HWND control : dialog_controls(window))
    if (IsWindowVisible(control)) controls.push_back(control);
  const UINT dpi = window_dpi(window);
  std::vector<Offender> found;
  check_places(window, controls, found);
  const std::string font = check_texts(window, controls, dpi, found);
  std::vector<std::string> offenders;
  for (const Offender& offender : found) offenders.push_back(offender_json(window, offender));
  RECT work{}, outer{};
  const bool on_screen = on_work_area(window, work);
  GetWindowRect(window, &outer);
  JsonObject report;
  if (!on_screen || !offenders.empty()) report.add("error", "the layout does not fit");
  report.add("title", window_text(window))
      .add("dpi", static_cast<long>(dpi))
      .add("font", font)
      .add_raw("size", size_json(size_of(outer)))
      .add_raw("work_area", size_json(size_of(work)))
      .add("on_screen", on_screen)
      .add("checked", static_cast<long>(controls.size()))
      .add_raw("offenders", json_array(offenders));
  return {report.str(), on_screen && offenders.empty()};
}

void become_dpi_aware() {
  using ContextFunction = BOOL(WINAPI*)(HANDLE);
  static const auto set_context =
      newer_user32_function<ContextFunction>("SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, from Windows 10 1703 on.
  if (set_context && set_context(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
  SetProcessDPIAware();
}

}  // namespace uiprobe

#include "dialog_main_view.h"

#include <commctrl.h>
#include <commdlg.h>
#include <uxtheme.h>

#include <string>

#include "device_info_dialog.h"
#include "history_dialog.h"
#include "plan_dialog.h"
#include "res/resource_ids.h"
#include "sms_dialog.h"
#include "system_message_boxes.h"
#include "window_dpi.h"

namespace kivo {
namespace {

// Visual styles draw progress bars in the theme's colour and ignore PBM_SETBARCOLOR; the
// classic bar shows the signal colour.
BOOL CALLBACK unthemed_progress_bar(HWND child, LPARAM) {
  char class_name[32] = {};
  GetClassNameA(child, class_name, sizeof class_name);
  if (lstrcmpiA(class_name, PROGRESS_CLASSA) == 0) SetWindowTheme(child, L" ", L" ");
  return TRUE;
}

// Sets the window's icon of that size and frees the one it had, which this view made.
void replace_icon(HWND window, WPARAM which, HICON icon, HICON& held) {
  SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  if (held != nullptr) DestroyIcon(held);
  held = icon;
}

}  // namespace

void DialogMainView::attach(HWND dialog, HINSTANCE instance, HICON icon) {
  dialog_ = dialog;
  instance_ = instance;
  icon_ = icon;
  EnumChildWindows(dialog, unthemed_progress_bar, 0);
  rescaler_.attach(dialog, window_dpi(dialog));
  window_.store(dialog);
}

void DialogMainView::detach() {
  window_.store(nullptr);
  status_bar_.store(nullptr);
  if (status_font_ != nullptr) DeleteObject(status_font_);
  status_font_ = nullptr;
  rescaler_.release();
  // The icons go with the window; the handles held here are freed with them.
  if (small_icon_ != nullptr) DestroyIcon(small_icon_);
  if (big_icon_ != nullptr) DestroyIcon(big_icon_);
  small_icon_ = big_icon_ = nullptr;
  dialog_ = nullptr;
}

void DialogMainView::on_dpi_changed(UINT dpi, const RECT& suggested) {
  SetWindowPos(dialog_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  rescaler_.follow(dpi, status_bar_.load());
  load_icons(dpi);
  fit_status_bar_to_dpi(dpi);
  // Once more after the dialog manager has scaled the controls, the bar among them.
  HWND bar = status_bar_.load();
  if (bar != nullptr) PostMessageA(bar, WM_SIZE, 0, 0);
}

// The bar's font follows the window's DPI; the bar places itself along the bottom edge when it
// is told of a size.
void DialogMainView::fit_status_bar_to_dpi(UINT dpi) {
  HWND bar = status_bar_.load();
  if (bar == nullptr) return;
  HFONT font = create_status_font(dpi);
  SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (status_font_ != nullptr) DeleteObject(status_font_);
  status_font_ = font;
  SendMessageA(bar, WM_SIZE, 0, 0);
}

// Each in the size Windows shows it at that DPI, not one scaled from the other.
void DialogMainView::load_icons(UINT dpi) {
  replace_icon(dialog_, ICON_SMALL, load_program_icon(instance_, dpi, ICON_SMALL), small_icon_);
  replace_icon(dialog_, ICON_BIG, load_program_icon(instance_, dpi, ICON_BIG), big_icon_);
}

void DialogMainView::set_text(int control, const char* text) {
  SetDlgItemTextA(dialog_, control, text);
}

std::string DialogMainView::text(int control) const {
  HWND item = GetDlgItem(dialog_, control);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(item, &text[0], static_cast<int>(text.size()))));
  return text;
}

void DialogMainView::enable(int control, bool enabled) {
  EnableWindow(GetDlgItem(dialog_, control), enabled ? TRUE : FALSE);
}

// DM_SETDEFID only records the identifier; the buttons' frames follow their styles.
void DialogMainView::set_default_button(int control) {
  const LRESULT current = SendMessageA(dialog_, DM_GETDEFID, 0, 0);
  const int previous = HIWORD(current) == DC_HASDEFID ? LOWORD(current) : 0;
  if (previous != 0 && previous != control) send(previous, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  SendMessageA(dialog_, DM_SETDEFID, static_cast<WPARAM>(control), 0);
  send(control, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void DialogMainView::limit_text(int control, unsigned characters) {
  send(control, EM_LIMITTEXT, characters);
}

void DialogMainView::append_text(int control, const char* text) {
  const int end = GetWindowTextLengthA(GetDlgItem(dialog_, control));
  send(control, EM_SETSEL, static_cast<WPARAM>(end), end);
  send(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

void DialogMainView::copy_text_to_clipboard(int control) {
  send(control, EM_SETSEL, 0, -1);
  send(control, WM_COPY);
}

void DialogMainView::set_bar_range(int control, int low, int high) {
  send(control, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void DialogMainView::set_bar_position(int control, int position) {
  send(control, PBM_SETPOS, static_cast<WPARAM>(position));
}

void DialogMainView::set_bar_colour(int control, std::uint32_t colour) {
  send(control, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(colour));
}

void DialogMainView::set_bar_background(int control, std::uint32_t colour) {
  send(control, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
}

void DialogMainView::clear_list(int control) {
  send(control, CB_RESETCONTENT);
}

void DialogMainView::add_list_entry(int control, const char* text, std::uint32_t value) {
  const LRESULT index = send(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (index >= 0) send(control, CB_SETITEMDATA, static_cast<WPARAM>(index), value);
}

void DialogMainView::select_list_entry(int control, int index) {
  send(control, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int DialogMainView::selected_list_entry(int control) const {
  const LRESULT index = send(control, CB_GETCURSEL);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

std::uint32_t DialogMainView::list_entry_value(int control, int index) const {
  return static_cast<std::uint32_t>(send(control, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void DialogMainView::set_icons() {
  load_icons(window_dpi(dialog_));
}

// The bar places itself along the bottom edge; the position given here does not matter.
void DialogMainView::create_status_bar() {
  status_bar_.store(CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | WS_BORDER,
                                    -100, -100, 10, 10, dialog_,
                                    reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance_, nullptr));
  fit_status_bar_to_dpi(window_dpi(dialog_));
}

// Sent, so a worker's text is on screen before it goes on.
void DialogMainView::set_status_text(const char* text) {
  HWND bar = status_bar_.load();
  if (bar != nullptr) SendMessageA(bar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void DialogMainView::set_timer(unsigned timer, unsigned period_ms) {
  SetTimer(dialog_, timer, period_ms, nullptr);
}

void DialogMainView::kill_timer(unsigned timer) {
  KillTimer(dialog_, timer);
}

BoxAnswer DialogMainView::show_box(const BoxRequest& request) {
  return show_message_box(dialog_, request);
}

void DialogMainView::show_device_info(const std::function<void(DeviceInfoView&)>& fill) {
  run_device_info_dialog(instance_, dialog_, icon_, fill);
}

void DialogMainView::run_sms_dialog(SmsDialogEvents& dialog) {
  kivo::run_sms_dialog(instance_, dialog_, icon_, dialog);
}

bool DialogMainView::edit_data_plan(PlanEntry& entry,
                                    const std::function<bool(const PlanEntry&)>& acceptable) {
  return run_plan_dialog(instance_, dialog_, icon_, entry, acceptable);
}

bool DialogMainView::choose_save_file(const SaveFileRequest& request, char* path,
                                      std::size_t size) {
  // The filter is its name and its pattern, each ended by a NUL, and one more NUL at the end.
  std::string filter = request.filter_name;
  filter += '\0';
  filter += request.pattern;
  filter += '\0';
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_.load();
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = static_cast<DWORD>(size);
  dialog.lpstrTitle = request.title;
  dialog.lpstrDefExt = request.default_extension;
  return GetSaveFileNameA(&dialog) != FALSE;
}

void DialogMainView::post(const Notice& notice) {
  notices_.post(notice);
}

void DialogMainView::post_close() {
  HWND window = window_.load();
  if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
}

void DialogMainView::end_dialog(int result) {
  EndDialog(dialog_, result);
}

void DialogMainView::run_history_dialog(const HistoryChart& chart) {
  kivo::run_history_dialog(instance_, dialog_, icon_, chart);
}

}  // namespace kivo

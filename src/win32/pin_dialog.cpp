#include "pin_dialog.h"

#include <cstdio>
#include <cstring>

#include "res/resource_ids.h"

namespace kivo {
namespace {

constexpr int kShortestPin = 4;
constexpr int kLongestPin = static_cast<int>(kPinBufferSize) - 1;
constexpr std::uint32_t kAttemptsUnknown = 99;

struct PinDialog {
  HICON icon;
  std::uint32_t attempts;
  char pin[kPinBufferSize];
  bool accepted;
};

// 4 to 8 digits. The edit takes only digits from the keyboard, but a paste brings anything,
// and the PIN goes into an AT command.
bool holds_usable_pin(HWND edit) {
  char text[kPinBufferSize + 1] = {};
  const int length = GetWindowTextA(edit, text, sizeof text);
  bool usable = length >= kShortestPin && length <= kLongestPin;
  for (int i = 0; i < length; ++i) usable = usable && text[i] >= '0' && text[i] <= '9';
  SecureZeroMemory(text, sizeof text);
  return usable;
}

// Writes over the typed PIN in the edit's own buffer before the edit frees it.
void wipe_edit(HWND edit) {
  char mask[kPinBufferSize + 1] = {};
  const int length = GetWindowTextLengthA(edit);
  std::memset(mask, '*', static_cast<std::size_t>(length < kLongestPin ? length : kLongestPin));
  SetWindowTextA(edit, mask);
  SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
  SetWindowTextA(edit, "");
}

void open_pin_dialog(HWND dialog, PinDialog& state) {
  state.accepted = false;
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state.icon));
  char attempts[16] = "Unknown";
  if (state.attempts != kAttemptsUnknown)
    std::snprintf(attempts, sizeof attempts, "%u", static_cast<unsigned>(state.attempts));
  SetDlgItemTextA(dialog, IDC_PIN_ATTEMPTS, attempts);
  HWND edit = GetDlgItem(dialog, IDC_PIN_INPUT);
  SendMessageA(edit, EM_LIMITTEXT, kLongestPin, 0);
  EnableWindow(GetDlgItem(dialog, IDC_PIN_OK), FALSE);
  PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
}

void on_command(HWND dialog, PinDialog& state, int control, unsigned code) {
  HWND edit = GetDlgItem(dialog, IDC_PIN_INPUT);
  if (control == IDC_PIN_INPUT && (code == EN_UPDATE || code == EN_CHANGE)) {
    EnableWindow(GetDlgItem(dialog, IDC_PIN_OK), holds_usable_pin(edit) ? TRUE : FALSE);
  } else if (control == IDC_PIN_OK && code == BN_CLICKED && holds_usable_pin(edit)) {
    GetWindowTextA(edit, state.pin, sizeof state.pin);
    state.accepted = true;
    EndDialog(dialog, 1);
  } else if (control == IDC_PIN_CANCEL && code == BN_CLICKED) {
    EndDialog(dialog, 1);
  }
}

INT_PTR CALLBACK pin_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    open_pin_dialog(dialog, *reinterpret_cast<PinDialog*>(lparam));
    return TRUE;
  }
  auto* state = reinterpret_cast<PinDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      on_command(dialog, *state, LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return TRUE;
    case WM_DESTROY:  // the edit still exists here
      wipe_edit(GetDlgItem(dialog, IDC_PIN_INPUT));
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

DialogPinPrompt::DialogPinPrompt(HINSTANCE instance, const std::atomic<HWND>& owner)
    : instance_(instance),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON))),
      owner_(owner) {}

bool DialogPinPrompt::ask_pin(std::uint32_t attempts, char (&pin)[kPinBufferSize]) {
  PinDialog state{icon_, attempts, {}, false};
  const INT_PTR result = DialogBoxParamA(instance_, MAKEINTRESOURCEA(IDD_SIM_PIN), owner_.load(),
                                         pin_dialog_proc, reinterpret_cast<LPARAM>(&state));
  const bool accepted = result != -1 && state.accepted;
  if (accepted) std::memcpy(pin, state.pin, sizeof pin);
  SecureZeroMemory(state.pin, sizeof state.pin);
  return accepted;
}

}  // namespace kivo

#include "sms_dialog.h"

#include <optional>

#include "res/resource_ids.h"
#include "system_message_boxes.h"

namespace kivo {
namespace {

class DialogControls : public SmsDialogView {
 public:
  DialogControls(HWND dialog, HINSTANCE instance, HICON icon)
      : dialog_(dialog), instance_(instance), icon_(icon) {}

  std::u16string text(int control) const override {
    HWND edit = GetDlgItem(dialog_, control);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), int(text.size()))));
    return std::u16string(text.begin(), text.end());
  }
  void set_text(int control, const char* text) override { SetDlgItemTextA(dialog_, control, text); }
  void enable(int control, bool enabled) override {
    EnableWindow(GetDlgItem(dialog_, control), enabled ? TRUE : FALSE);
  }
  void limit_text(int control, unsigned characters) override {
    SendDlgItemMessageW(dialog_, control, EM_LIMITTEXT, characters, 0);
  }
  // Moved once the dialog has finished initializing, as the dialog manager does it.
  void focus(int control) override {
    PostMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, control)),
                 TRUE);
  }
  BoxAnswer show_box(const BoxRequest& request) override {
    return show_message_box(dialog_, request);
  }
  void run_dialog(SmsDialogEvents& dialog) override {
    run_sms_dialog(instance_, dialog_, icon_, dialog);
  }
  void end_dialog() override { EndDialog(dialog_, 1); }

 private:
  HWND dialog_;
  HINSTANCE instance_;
  HICON icon_;
};

struct SmsDialog {
  HINSTANCE instance;
  HICON icon;
  SmsDialogEvents& events;
  std::optional<DialogControls> controls;  // from WM_INITDIALOG on
};

INT_PTR on_init_dialog(HWND dialog, SmsDialog& state) {
  state.controls.emplace(dialog, state.instance, state.icon);
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state.icon));
  SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state.icon));
  state.events.on_open(*state.controls);
  return TRUE;
}

INT_PTR CALLBACK sms_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG)
    return on_init_dialog(dialog, *reinterpret_cast<SmsDialog*>(lparam));
  auto* state = reinterpret_cast<SmsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == EN_CHANGE)
        state->events.on_change(*state->controls, LOWORD(wparam));
      else if (HIWORD(wparam) == BN_CLICKED)
        state->events.on_click(*state->controls, LOWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void run_sms_dialog(HINSTANCE instance, HWND owner, HICON icon, SmsDialogEvents& events) {
  const int template_id =
      events.kind() == SmsDialogKind::AnyNumber ? IDD_SMS_ANY_NUMBER : IDD_SMS_FIXED_RECIPIENT;
  SmsDialog state{instance, icon, events, std::nullopt};
  DialogBoxParamW(instance, MAKEINTRESOURCEW(template_id), owner, sms_dialog_proc,
                  reinterpret_cast<LPARAM>(&state));
}

}  // namespace kivo

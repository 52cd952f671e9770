#include "plan_dialog.h"

#include "res/resource_ids.h"

namespace kivo {
namespace {

struct PlanDialog {
  HICON icon;
  PlanEntry& entry;
  const std::function<bool(const PlanEntry&)>& acceptable;
  bool accepted;
};

constexpr int kEdits[] = {IDC_PLAN_ALLOWANCE, IDC_PLAN_BILLING_DAY, IDC_PLAN_WARN_PERCENT};
// Seven digits of megabytes, two of the day and of the percentage.
constexpr unsigned kEditLimits[] = {7, 2, 2};

std::string edit_text(HWND dialog, int control) {
  char text[16] = {};
  GetDlgItemTextA(dialog, control, text, sizeof text);
  return text;
}

// The edits take only digits from the keyboard, but a paste brings anything.
PlanEntry typed(HWND dialog) {
  return PlanEntry{edit_text(dialog, IDC_PLAN_ALLOWANCE), edit_text(dialog, IDC_PLAN_BILLING_DAY),
                   edit_text(dialog, IDC_PLAN_WARN_PERCENT)};
}

void open_plan_dialog(HWND dialog, PlanDialog& state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state.icon));
  SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state.icon));
  const std::string* texts[] = {&state.entry.allowance_mb, &state.entry.billing_day,
                                &state.entry.warn_percent};
  for (int i = 0; i < 3; ++i) {
    SendDlgItemMessageA(dialog, kEdits[i], EM_LIMITTEXT, kEditLimits[i], 0);
    SetDlgItemTextA(dialog, kEdits[i], texts[i]->c_str());
  }
  EnableWindow(GetDlgItem(dialog, IDOK), state.acceptable(typed(dialog)) ? TRUE : FALSE);
}

void on_command(HWND dialog, PlanDialog& state, int control, unsigned code) {
  if (code == EN_CHANGE) {
    EnableWindow(GetDlgItem(dialog, IDOK), state.acceptable(typed(dialog)) ? TRUE : FALSE);
  } else if (control == IDOK && code == BN_CLICKED) {
    // Enter may send IDOK whatever state the button is in.
    const PlanEntry entry = typed(dialog);
    if (!state.acceptable(entry)) return;
    state.entry = entry;
    state.accepted = true;
    EndDialog(dialog, IDOK);
  } else if (control == IDCANCEL && code == BN_CLICKED) {
    EndDialog(dialog, IDCANCEL);
  }
}

INT_PTR CALLBACK plan_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    open_plan_dialog(dialog, *reinterpret_cast<PlanDialog*>(lparam));
    return TRUE;
  }
  auto* state = reinterpret_cast<PlanDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      on_command(dialog, *state, LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool run_plan_dialog(HINSTANCE instance, HWND owner, HICON icon, PlanEntry& entry,
                     const std::function<bool(const PlanEntry&)>& acceptable) {
  PlanDialog state{icon, entry, acceptable, false};
  const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_DATA_PLAN), owner,
                                         plan_dialog_proc, reinterpret_cast<LPARAM>(&state));
  return result != -1 && state.accepted;
}

}  // namespace kivo

#include "device_info_dialog.h"

#include "res/resource_ids.h"

namespace kivo {
namespace {

struct DeviceInfoDialog {
  HICON icon;
  const std::function<void(DeviceInfoView&)>& fill;
};

class DialogFields : public DeviceInfoView {
 public:
  explicit DialogFields(HWND dialog) : dialog_(dialog) {}
  void set_field(int control, const char* text) override {
    SetDlgItemTextA(dialog_, control, text);
  }

 private:
  HWND dialog_;
};

// The queries run while the dialog initializes, before it shows.
INT_PTR CALLBACK device_info_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* setup = reinterpret_cast<const DeviceInfoDialog*>(lparam);
      SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(setup->icon));
      SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(setup->icon));
      DialogFields fields(dialog);
      setup->fill(fields);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_INFO_CLOSE && HIWORD(wparam) == BN_CLICKED)
        PostMessageA(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void run_device_info_dialog(HINSTANCE instance, HWND owner, HICON icon,
                            const std::function<void(DeviceInfoView&)>& fill) {
  DeviceInfoDialog setup{icon, fill};
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_DEVICE_INFO), owner, device_info_dialog_proc,
                  reinterpret_cast<LPARAM>(&setup));
}

}  // namespace kivo

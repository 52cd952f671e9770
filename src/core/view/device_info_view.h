#pragma once

namespace kivo {

// The fields of the device-information dialog (IDC_INFO_... in view/control_ids.h). A field
// that is never set keeps the dialog template's text.
class DeviceInfoView {
 public:
  virtual ~DeviceInfoView() = default;
  virtual void set_field(int control, const char* text) = 0;
};

}  // namespace kivo

#pragma once

#include <windows.h>

#include <functional>

#include "view/device_info_view.h"

namespace kivo {

// Runs the device-information dialog (template 109) modally, owned by `owner`, with `icon` as
// its icons; `fill` sets the fields while the dialog initializes.
void run_device_info_dialog(HINSTANCE instance, HWND owner, HICON icon,
                            const std::function<void(DeviceInfoView&)>& fill);

}  // namespace kivo

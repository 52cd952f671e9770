#pragma once

#include <windows.h>

#include "view/sms_dialog_view.h"

namespace kivo {

// Runs an SMS dialog (template 106 or 108) modally on the calling thread, owned by `owner`, with
// `icon` as its icons. The dialog is a Unicode window, so its edits hold whatever the user types
// or pastes, in any language, and the core reads it as UTF-16.
void run_sms_dialog(HINSTANCE instance, HWND owner, HICON icon, SmsDialogEvents& events);

}  // namespace kivo

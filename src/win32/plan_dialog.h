#pragma once

#include <windows.h>

#include <functional>

#include "view/plan_entry.h"

namespace kivo {

// Runs the data-plan dialog (template 110) modally, owned by `owner`, with `icon` as its icons.
// The edits start with `entry`; OK is enabled only while `acceptable` holds for their texts and
// puts them into `entry`. False when the user cancels or closes the dialog.
bool run_plan_dialog(HINSTANCE instance, HWND owner, HICON icon, PlanEntry& entry,
                     const std::function<bool(const PlanEntry&)>& acceptable);

}  // namespace kivo

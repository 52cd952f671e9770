#pragma once

#include <windows.h>

#include <atomic>

#include "base/message_boxes.h"

namespace kivo {

// MessageBoxA owned by `owner` (null: no owner); the request's owner field is not looked at.
BoxAnswer show_message_box(HWND owner, const BoxRequest& request);

// MessageBoxA; boxes owned by the main window use the handle it publishes while it exists.
class SystemMessageBoxes : public MessageBoxes {
 public:
  explicit SystemMessageBoxes(const std::atomic<HWND>& main_window) : main_window_(main_window) {}
  BoxAnswer show(const BoxRequest& request) override;

 private:
  const std::atomic<HWND>& main_window_;
};

}  // namespace kivo

#pragma once

#include <string>

#include "base/message_boxes.h"

namespace kivo {

enum class SmsDialogKind { FixedRecipient, AnyNumber };

class SmsDialogEvents;

// The controls of an open SMS dialog (IDC_SMS_... in view/control_ids.h), on the thread that
// runs it.
class SmsDialogView {
 public:
  virtual ~SmsDialogView() = default;
  // What the user typed, as UTF-16, so that text in any language reaches the encoder whole.
  virtual std::u16string text(int control) const = 0;
  virtual void set_text(int control, const char* text) = 0;
  virtual void enable(int control, bool enabled) = 0;
  // The most UTF-16 units the edit takes.
  virtual void limit_text(int control, unsigned characters) = 0;
  virtual void focus(int control) = 0;
  // A message box owned by this dialog.
  virtual BoxAnswer show_box(const BoxRequest& request) = 0;
  // Runs another SMS dialog modally over this one; returns once it is closed.
  virtual void run_dialog(SmsDialogEvents& dialog) = 0;
  virtual void end_dialog() = 0;
};

// What an SMS dialog does with its events; the dialog procedure forwards them here.
class SmsDialogEvents {
 public:
  virtual ~SmsDialogEvents() = default;
  virtual SmsDialogKind kind() const = 0;
  virtual void on_open(SmsDialogView& view) = 0;
  // An edit's text changed.
  virtual void on_change(SmsDialogView& view, int control) = 0;
  virtual void on_click(SmsDialogView& view, int control) = 0;
};

}  // namespace kivo

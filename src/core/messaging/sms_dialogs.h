#pragma once

#include "link/device_state.h"
#include "link/link_control.h"
#include "view/main_view.h"
#include "view/sms_dialog_view.h"

namespace kivo {

// Where the fixed-recipient dialog sends to: an international number of 11 digits.
constexpr char kFixedRecipient[] = "12025550100";

constexpr unsigned kGsm7MessageLimit = 160;  // septets
constexpr unsigned kUcs2MessageLimit = 70;   // UTF-16 units
constexpr unsigned kNumberLimit = 20;        // characters, a '+' among them

struct SmsContext {
  LinkControl& link;
  const DeviceState& device;
};

// Sends a text of up to 70 characters in UCS2 to the number typed (template 108).
class AnyNumberDialog : public SmsDialogEvents {
 public:
  explicit AnyNumberDialog(SmsContext context) : context_(context) {}
  SmsDialogKind kind() const override { return SmsDialogKind::AnyNumber; }
  void on_open(SmsDialogView& view) override;
  void on_change(SmsDialogView& view, int control) override;
  void on_click(SmsDialogView& view, int control) override;

 private:
  SmsContext context_;
};

// Sends a text of up to 160 septets in the GSM 7-bit alphabet to kFixedRecipient (template 106);
// opens the any-number dialog over itself.
class FixedRecipientDialog : public SmsDialogEvents {
 public:
  explicit FixedRecipientDialog(SmsContext context) : context_(context), any_number_(context) {}
  SmsDialogKind kind() const override { return SmsDialogKind::FixedRecipient; }
  void on_open(SmsDialogView& view) override;
  void on_change(SmsDialogView& view, int control) override;
  void on_click(SmsDialogView& view, int control) override;

 private:
  SmsContext context_;
  AnyNumberDialog any_number_;
};

// Build the dialog's PDU and hand it to the modem; the dialog stays open.
void send_fixed_recipient_sms(const SmsContext& context, SmsDialogView& dialog);
void send_any_number_sms(const SmsContext& context, SmsDialogView& dialog);

// The SMS worker: the fixed-recipient dialog, owned by the main window, then SmsWorkerDone.
void sms_thread(const SmsContext& context, MainView& view);

}  // namespace kivo

#include "messaging/sms_dialogs.h"

#include <cstdio>
#include <string>

#include "messaging/gsm_alphabet.h"
#include "messaging/sms_pdu.h"
#include "messaging/sms_send.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

void show_count(SmsDialogView& view, long remaining) {
  char text[24];
  std::snprintf(text, sizeof text, "%ld", remaining);
  view.set_text(IDC_SMS_REMAINING, text);
}

BoxAnswer show_box(SmsDialogView& view, const char* text, BoxIcon icon,
                   BoxButtons buttons = BoxButtons::Ok) {
  BoxRequest request;
  request.text = text;
  request.icon = icon;
  request.buttons = buttons;
  return view.show_box(request);
}

// The user is told at once: without the prompt the modem took nothing.
void send_or_tell(const SmsContext& context, SmsDialogView& view, const std::string& pdu) {
  if (!send_pdu(context.link, pdu)) show_box(view, "SMS message sending failed.", BoxIcon::Error);
}

// Characters the alphabet lacks go out as '?' only when the user agrees.
bool accept_replacements(SmsDialogView& view, std::size_t replaced) {
  if (replaced == 0) return true;
  char text[160];
  std::snprintf(text, sizeof text,
                "%zu character(s) of the message are not in the SMS alphabet and will be sent "
                "as '?'. Send it anyway?",
                replaced);
  return show_box(view, text, BoxIcon::Warning, BoxButtons::YesNo) == BoxAnswer::Yes;
}

}  // namespace

void send_fixed_recipient_sms(const SmsContext& context, SmsDialogView& dialog) {
  const std::u16string message = dialog.text(IDC_SMS_MESSAGE);
  if (message.empty()) return;
  const Gsm7Text gsm = to_gsm7(message);
  // The edit holds 160 characters, but an extension-table character takes two septets.
  if (gsm.septets.size() > kGsm7MessageLimit) return;
  if (!accept_replacements(dialog, gsm.replaced)) return;
  const SmsAddress to{kFixedRecipient, true};
  send_or_tell(context, dialog, gsm7_submit_pdu(to, gsm.septets));
}

void send_any_number_sms(const SmsContext& context, SmsDialogView& dialog) {
  const std::u16string number = dialog.text(IDC_SMS_NUMBER);
  const std::u16string message = dialog.text(IDC_SMS_MESSAGE);
  if (number.empty() || message.empty() || message.size() > kUcs2MessageLimit) return;
  const std::optional<SmsAddress> to = parse_sms_number(number);
  if (!to) {
    show_box(dialog, "The number may hold only digits, after an optional '+'.", BoxIcon::Warning);
    return;
  }
  send_or_tell(context, dialog, ucs2_submit_pdu(*to, message));
}

void FixedRecipientDialog::on_open(SmsDialogView& view) {
  view.set_text(IDC_SMS_RECIPIENT, (std::string("+") + kFixedRecipient).c_str());
  view.limit_text(IDC_SMS_MESSAGE, kGsm7MessageLimit);
  show_count(view, kGsm7MessageLimit);
  view.enable(IDC_SMS_SEND, false);
  view.focus(IDC_SMS_MESSAGE);
}

void FixedRecipientDialog::on_change(SmsDialogView& view, int control) {
  if (control != IDC_SMS_MESSAGE) return;
  const std::u16string message = view.text(IDC_SMS_MESSAGE);
  const std::size_t septets = to_gsm7(message).septets.size();
  show_count(view, static_cast<long>(kGsm7MessageLimit) - static_cast<long>(septets));
  view.enable(IDC_SMS_SEND, !message.empty() && septets <= kGsm7MessageLimit);
}

void FixedRecipientDialog::on_click(SmsDialogView& view, int control) {
  if (control == IDC_SMS_SEND) {
    // Only a modem that finished its initialization is in PDU mode.
    if (context_.device.device_ready) send_fixed_recipient_sms(context_, view);
  } else if (control == IDC_SMS_ANY_NUMBER) {
    view.run_dialog(any_number_);
  } else if (control == IDC_SMS_CLOSE) {
    view.end_dialog();
  }
}

void AnyNumberDialog::on_open(SmsDialogView& view) {
  view.limit_text(IDC_SMS_NUMBER, kNumberLimit);
  view.limit_text(IDC_SMS_MESSAGE, kUcs2MessageLimit);
  show_count(view, kUcs2MessageLimit);
  view.enable(IDC_SMS_SEND, false);
  view.focus(IDC_SMS_NUMBER);
}

void AnyNumberDialog::on_change(SmsDialogView& view, int control) {
  if (control != IDC_SMS_MESSAGE && control != IDC_SMS_NUMBER) return;
  const std::size_t length = view.text(IDC_SMS_MESSAGE).size();
  if (control == IDC_SMS_MESSAGE)
    show_count(view, static_cast<long>(kUcs2MessageLimit) - static_cast<long>(length));
  view.enable(IDC_SMS_SEND, length > 0 && !view.text(IDC_SMS_NUMBER).empty());
}

// Sends even before the modem is ready: with the link closed AT+CMGS gets no prompt.
void AnyNumberDialog::on_click(SmsDialogView& view, int control) {
  if (control == IDC_SMS_SEND) {
    send_any_number_sms(context_, view);
  } else if (control == IDC_SMS_CLOSE) {
    view.end_dialog();
  }
}

void sms_thread(const SmsContext& context, MainView& view) {
  FixedRecipientDialog dialog(context);
  view.run_sms_dialog(dialog);
  Notice done;
  done.id = NoticeId::SmsWorkerDone;
  view.post(done);
}

}  // namespace kivo

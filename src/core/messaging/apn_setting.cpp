#include "messaging/apn_setting.h"

#include <string>

#include "messaging/at_text.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

constexpr std::size_t kApnLimit = 79;

void warn(const ApnContext& context, const char* text) {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text;
  request.icon = BoxIcon::Warning;
  context.boxes.show(request);
}

void write_apn(const ApnContext& context, const std::string& apn) {
  if (!fits_in_quoted_at_string(apn)) {
    warn(context, "The APN may not contain double quotes or control characters.");
    return;
  }
  const std::string command = "AT+CGDCONT=1,\"IP\",\"" + apn + "\"\r\n";
  const Reply reply = context.channel.tx_at_command(command.c_str());
  // After a time-out the buffer still holds an earlier answer, so its "OK" says nothing.
  if (reply.result != 1 || reply.text.find("OK") == std::string::npos) {
    warn(context, "Set APN failed.");
    return;
  }
  context.view.enable(IDC_APN_SET, false);
  context.view.set_default_button(IDC_CONNECT);
}

}  // namespace

void set_apn_thread(const ApnContext& context) {
  write_apn(context, context.view.text(IDC_APN_INPUT).substr(0, kApnLimit));
  Notice done;
  done.id = NoticeId::ApnWorkerDone;
  context.view.post(done);
}

}  // namespace kivo

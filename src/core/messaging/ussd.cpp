#include "messaging/ussd.h"

#include "messaging/at_text.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

constexpr unsigned kSessionTimeoutMs = 20000;

bool refuse(const UssdContext& context, const char* text) {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text;
  request.icon = BoxIcon::Warning;
  context.boxes.show(request);
  return false;
}

// Without touching the timers, so that the send thread may do it.
void end_network_session(const UssdContext& context) {
  context.channel.tx_at_command("AT+CUSD=2\r\n");
  context.view.set_text(IDC_USSD_REPLY, "");
}

void show_session_active(const UssdContext& context) {
  context.view.enable(IDC_USSD_END, true);
  context.view.set_status_text("USSD session active");
}

const char* final_answer_text(const UssdResponse& response) {
  switch (response.status) {
    case 2:
      return response.text[0] ? response.text : "*** USSD terminated by network ***";
    case 3:
      return "*** other local client has responded ***";
    case 4:
      return "*** operation not supported ***";
    case 5:
      return "*** network time out ***";
    case UssdResponse::kMalformed:
      return "*** bad USSD response received ***";
    default:  // 0, and statuses the standard does not know: what the network said
      return response.text;
  }
}

}  // namespace

void on_ussd_send_button(const UssdContext& context, WorkerSlots& slots) {
  if (!slots.is_free(Worker::ussd_send)) return;
  context.view.kill_timer(TIMER_POLL);
  // Timers belong to the window's thread, so the time-out starts here rather than on the thread.
  context.view.set_timer(TIMER_USSD_SESSION, kSessionTimeoutMs);
  slots.start(Worker::ussd_send, [context] { ussd_send_thread(context); });
}

void ussd_send_thread(const UssdContext& context) {
  const std::string typed = context.view.text(IDC_USSD_INPUT).substr(0, kUssdInputLimit);
  CommandSplit split = take_first_command(typed);
  context.session.set_pending(std::move(split.rest));
  send_ussd(context, split.command);
  Notice done;
  done.id = NoticeId::UssdSendWorkerDone;
  context.view.post(done);
}

bool send_ussd(const UssdContext& context, const std::string& command) {
  const bool in_session = context.session.active();
  const bool is_code = !command.empty() && command[0] == '*';
  if (!in_session && !is_code)
    return refuse(context, "USSD commands must start with '*' when not in a session.");
  if (is_code && command.back() != '#') return refuse(context, "USSD commands must end with '#'.");
  if (command.empty()) return false;
  if (!fits_in_quoted_at_string(command))
    return refuse(context, "The USSD code may not contain double quotes or control characters.");
  // A new code ends the running session; its time-out goes on for the new exchange.
  if (is_code && in_session) end_network_session(context);

  const std::string line = "AT+CUSD=1,\"" + command + "\",15\r\n";
  const Reply reply = context.channel.tx_at_command(line.c_str());
  // After a time-out the buffer still holds an earlier answer, so its "OK" says nothing.
  if (reply.result != 1 || reply.text.find("OK") == std::string::npos)
    return refuse(context, "USSD send failed.");

  context.session.set_active(true);
  MainView& view = context.view;
  view.set_text(IDC_USSD_INPUT, "");
  view.set_text(IDC_USSD_REPLY, "");
  view.enable(IDC_USSD_SEND, false);
  show_session_active(context);
  view.set_default_button(IDC_CONNECT);
  return true;
}

void on_ussd_response(const UssdContext& context, const UssdResponse& response) {
  MainView& view = context.view;
  view.kill_timer(TIMER_USSD_SESSION);
  if (response.status != 1) {
    view.set_text(IDC_USSD_REPLY, final_answer_text(response));
    Notice ended;
    ended.id = NoticeId::UssdSessionEnded;
    view.post(ended);
    return;
  }
  // The network asks for more: the next command typed ahead answers it.
  context.session.set_active(true);
  show_session_active(context);
  view.set_timer(TIMER_USSD_SESSION, kSessionTimeoutMs);
  const std::string next = context.session.take_pending();
  if (!next.empty()) send_ussd(context, next);
  view.set_text(IDC_USSD_REPLY, response.text);
}

void cancel_ussd(const UssdContext& context) {
  context.view.kill_timer(TIMER_USSD_SESSION);
  end_network_session(context);
}

void ussd_ready(const UssdContext& context) {
  context.session.end();
  context.view.enable(IDC_USSD_END, false);
  context.view.set_status_text("Ready");
  if (!context.discovery_running) context.view.set_timer(TIMER_POLL, kPollPeriodMs);
}

void end_ussd_session(const UssdContext& context) {
  cancel_ussd(context);
  ussd_ready(context);
}

}  // namespace kivo

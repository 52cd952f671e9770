#include "app/main_window_controller.h"

#include <optional>
#include <variant>

#include "base/data_paths.h"
#include "link/link_profile.h"
#include "messaging/sms_dialogs.h"
#include "messaging/ussd.h"
#include "messaging/ussd_help.h"
#include "setup/device_info.h"
#include "setup/discovery.h"
#include "setup/initialize_modem.h"
#include "status/cell_broadcast.h"
#include "status/command_set_profile.h"
#include "status/operator_poll.h"
#include "status/registration.h"
#include "status/signal.h"
#include "status/signal_log.h"
#include "status/technology.h"
#include "usage/flow_report.h"
#include "usage/plan_tracking.h"
#include "usage/session_log.h"
#include "usage/usage_store.h"
#include "usage/watchdog.h"
#include "view/control_ids.h"

namespace kivo {

namespace {

// Notification codes of WM_COMMAND.
constexpr unsigned kClicked = 0;
constexpr unsigned kSelectionEndedOk = 9;  // drop-down list closed with a choice
constexpr unsigned kTextAboutToShow = 0x400;

// How long a reset modem takes to come back before it is searched for.
constexpr unsigned kResetWaitMs = 15000;
constexpr int kSignalBarMax = 31;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The worker whose last action a notice is; none for the other notices.
std::optional<Worker> finished_worker(NoticeId id) {
  switch (id) {
    case NoticeId::SmsWorkerDone:
      return Worker::sms;
    case NoticeId::SignalLogWorkerDone:
      return Worker::signal_log;
    case NoticeId::DialerWorkerDone:
      return Worker::connect;
    case NoticeId::ApnWorkerDone:
      return Worker::apn;
    case NoticeId::UssdSendWorkerDone:
      return Worker::ussd_send;
    case NoticeId::UssdHelpWorkerDone:
      return Worker::ussd_help;
    default:
      return std::nullopt;
  }
}

}  // namespace

MainWindowController::MainWindowController(MainWindowContext context)
    : context_(context), slots_(context.workers) {}

void MainWindowController::on_init_dialog() {
  setup_main_window();
  context_.state.device.device_ready = false;
  context_.state.ussd.end();
  reset_network_state(context_.state.network);
  // Without a usable data folder the files go to the current directory; nothing to report.
  find_data_paths(context_.registry, context_.files, context_.state.usage.data_paths);
  reset_usage();
  // The poll starts only once discovery has finished.
  start_discovery(0);
}

void MainWindowController::setup_main_window() {
  MainView& view = context_.view;
  view.set_icons();
  view.set_bar_range(IDC_SIGNAL_BAR, 0, kSignalBarMax);
  view.set_bar_position(IDC_SIGNAL_BAR, 0);
  view.set_bar_background(IDC_SIGNAL_BAR, kWhite);
  view.limit_text(IDC_USSD_INPUT, kUssdInputLimit);
  view.create_status_bar();
  // Enabled once the modem's setting has been read.
  view.enable(IDC_NETWORK_MODE_LIST, false);
  view.enable(IDC_NETWORK_MODE_APPLY, false);
}

// Each window starts offline, with the counters usage.bin holds.
void MainWindowController::reset_usage() {
  UsageState& state = context_.state.usage;
  state.online = false;
  state.watchdog_miss_count = 0;
  const UsageContext usage = this->usage();
  clear_flow_display(usage);
  load_usage(usage);
  log_event(usage, "APPLICATION STARTED");
  load_data_plan(usage);
  Notice plan_check;
  plan_check.id = NoticeId::DataPlanCheck;
  context_.view.post(plan_check);
  context_.view.set_timer(TIMER_HISTORY, kHistoryWritePeriodMs);
}

void MainWindowController::on_command(int control, unsigned notification_code) {
  if (notification_code == kClicked) {
    on_click(control);
  } else if (control == IDC_NETWORK_MODE_LIST && notification_code == kSelectionEndedOk) {
    context_.view.enable(IDC_NETWORK_MODE_APPLY, true);
    context_.view.set_default_button(IDC_NETWORK_MODE_APPLY);
  } else if (control == IDC_USSD_INPUT && notification_code == kTextAboutToShow) {
    follow_input(IDC_USSD_INPUT, IDC_USSD_SEND);
  } else if (control == IDC_APN_INPUT && notification_code == kTextAboutToShow) {
    follow_input(IDC_APN_INPUT, IDC_APN_SET);
  }
}

// Every other identifier, the dialog's OK and Cancel among them, does nothing.
void MainWindowController::on_click(int control) {
  switch (control) {
    case IDC_NETWORK_MODE_APPLY:
      if (const ModeApply apply = command_set_profile(context_.state.device.command_set).apply_mode)
        apply(network());
      break;
    case IDC_RESET_SESSION:
      reset_session_counters(usage());
      break;
    case IDC_RESET_TOTALS:
      ask_reset_totals();
      break;
    case IDC_CONNECT:
      on_connect_button(usage(), slots_, dialer());
      break;
    case IDC_DEVICE_INFO:
      show_device_info();
      break;
    case IDC_DATA_PLAN:
      edit_data_plan(usage());
      break;
    case IDC_RESET_MAX_RATES:
      reset_max_rates(usage());
      break;
    case IDC_RESET_MAX_AVERAGE_RATES:
      reset_max_average_rates(usage());
      break;
    case IDC_RESET_MODEM:
      reset_modem();
      break;
    case IDC_DETECT_MODEM:
      detect_modem();
      break;
    case IDC_HISTORY:
      context_.view.run_history_dialog(history_chart(usage()));
      break;
    default:
      on_messaging_click(control);
      break;
  }
}

// The buttons of the broadcasts, the signal log, USSD, the APN and SMS. A press while the
// button's worker runs is ignored.
void MainWindowController::on_messaging_click(int control) {
  switch (control) {
    case IDC_BROADCAST_CLEAR:
      clear_broadcast_box(network());
      break;
    case IDC_BROADCAST_COPY:
      context_.view.copy_text_to_clipboard(IDC_BROADCAST_TEXT);
      break;
    case IDC_SIGNAL_LOG:
      slots_.start(Worker::signal_log, [status = network()] { toggle_signal_log(status); });
      break;
    case IDC_USSD_SEND:
      on_ussd_send_button(ussd(), slots_);
      break;
    case IDC_USSD_END:
      end_ussd_session(ussd());
      break;
    case IDC_USSD_HELP:
      slots_.start(Worker::ussd_help, [&boxes = context_.boxes, &view = context_.view] {
        show_ussd_help(boxes, view);
      });
      break;
    case IDC_APN_SET:
      slots_.start(Worker::apn, [apn = apn()] { set_apn_thread(apn); });
      break;
    case IDC_SMS: {
      const SmsContext sms{context_.link, context_.state.device};
      MainView& view = context_.view;
      slots_.start(Worker::sms, [sms, &view] { sms_thread(sms, view); });
      break;
    }
    default:
      break;
  }
}

void MainWindowController::ask_reset_totals() {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = "Are you sure you want to reset the totals?";
  request.icon = BoxIcon::Question;
  request.buttons = BoxButtons::YesNo;
  if (context_.view.show_box(request) == BoxAnswer::Yes) reset_totals(usage());
}

// The dialog's queries run without the poll. While it is open the window still handles reports;
// a restart found then sends discovery off again, and discovery restarts the poll when it ends.
void MainWindowController::show_device_info() {
  const AppState& state = context_.state;
  if (!state.device.device_ready) return;
  context_.view.kill_timer(TIMER_POLL);
  context_.view.show_device_info([this, &state](DeviceInfoView& dialog) {
    fill_device_info(context_.link, state.device.command_set, state.options.port_name, dialog);
  });
  if (slots_.is_free(Worker::discovery)) context_.view.set_timer(TIMER_POLL, kPollPeriodMs);
}

// Enter then sends what was typed, or connects once the field is empty again.
void MainWindowController::follow_input(int input, int button) {
  const bool has_text = !context_.view.text(input).empty();
  context_.view.enable(button, has_text);
  context_.view.set_default_button(has_text ? button : IDC_CONNECT);
}

void MainWindowController::on_timer(unsigned timer) {
  if (timer == TIMER_WATCHDOG) {
    // One-shot: the watchdog arms it again when it wants another check.
    context_.view.kill_timer(TIMER_WATCHDOG);
    connection_watchdog(usage());
  } else if (timer == TIMER_USSD_SESSION) {
    end_ussd_session(ussd());
  } else if (timer == TIMER_POLL) {
    poll_tick();
    context_.view.set_timer(TIMER_POLL, kPollPeriodMs);
  } else if (timer == TIMER_HISTORY) {
    history_tick(usage());
  }
}

void MainWindowController::poll_tick() {
  const AppState& state = context_.state;
  const CommandSetProfile& profile = command_set_profile(state.device.command_set);
  const NetworkContext status = network();
  if (profile.polls_signal_and_operator) {
    poll_signal(status);
    poll_operator(status);
  }
  if (profile.poll_technology) profile.poll_technology(status);
  if (profile.polls_registration && state.network.location_reports_enabled &&
      !state.options.no_poll_cell_id)
    poll_registration(status);
}

void MainWindowController::on_notice(const Notice& notice) {
  if (const std::optional<Worker> worker = finished_worker(notice.id)) {
    slots_.join_worker(*worker);
    return;
  }
  switch (notice.id) {
    case NoticeId::DiscoveryDone:
      on_discovery_done();
      break;
    case NoticeId::DataPlanCheck:
      check_data_plan(usage());
      break;
    case NoticeId::SmsReceived:
      show_box("SMS message received.", BoxIcon::Information);
      break;
    case NoticeId::SmsSent:
      show_box("SMS message sent successfully.", BoxIcon::Information);
      break;
    case NoticeId::SmsFailed:
      show_box("SMS message sending failed.", BoxIcon::Error);
      break;
    case NoticeId::FlowReport:
      if (const auto* flow = std::get_if<FlowReport>(&notice.report)) {
        on_flow_report(usage(), *flow);
        follow_session(usage());
      }
      break;
    case NoticeId::Signal:
      show_signal(network(), static_cast<std::int32_t>(notice.value));
      break;
    case NoticeId::Mode:
      if (const auto* mode = std::get_if<ModeReport>(&notice.report))
        show_mode(network(), mode->sys_mode, mode->sub_mode);
      break;
    case NoticeId::CellBroadcast:
      if (const auto* page = std::get_if<CellBroadcastPage>(&notice.report))
        on_cell_broadcast(network(), *page);
      break;
    case NoticeId::Registration:
      if (const auto* registration = std::get_if<RegistrationReport>(&notice.report))
        show_registration(network(), *registration);
      break;
    case NoticeId::Ussd:
      if (const auto* response = std::get_if<UssdResponse>(&notice.report))
        on_ussd_response(ussd(), *response);
      break;
    case NoticeId::UssdSessionEnded:
      ussd_ready(ussd());
      break;
    case NoticeId::Boot: {
      // A first number of 0 is not a restart.
      const auto* boot = std::get_if<BootReport>(&notice.report);
      if (boot != nullptr && boot->values[0] != 0) detect_modem();
      break;
    }
    default:
      break;
  }
}

void MainWindowController::on_discovery_done() {
  if (slots_.is_free(Worker::discovery)) return;
  slots_.join_worker(Worker::discovery);
  context_.view.set_timer(TIMER_POLL, kPollPeriodMs);
  context_.view.set_default_button(IDC_CONNECT);
}

void MainWindowController::show_box(const char* text, BoxIcon icon) {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text;
  request.icon = icon;
  context_.view.show_box(request);
}

void MainWindowController::on_close() {
  // Cancel keeps the window open.
  if (context_.state.usage.online && !on_close_while_online(usage())) return;
  close_modem_link(true);
  write_history(usage());
  context_.view.end_dialog(1);
}

void MainWindowController::on_end_session(bool ending, std::uint32_t flags) {
  kivo::on_end_session(usage(), context_.registry, ending, flags);
}

void MainWindowController::set_status_text(const char* text) {
  context_.view.set_status_text(text);
}

int MainWindowController::close_modem_link(bool farewell) {
  context_.view.kill_timer(TIMER_POLL);
  LinkControl& link = context_.link;
  if (link.is_open()) {
    // The farewell goes out while the receive thread still runs, and only to a modem that
    // finished its initialization.
    if (context_.state.device.device_ready.exchange(false) && farewell) {
      if (const char* command = link_profile(context_.state.device.command_set).farewell_command)
        link.tx_at_command(command);
      link.tx_at_command("ATE1\r\n");
    }
    link.close();
  }
  return 1;
}

void MainWindowController::reset_modem() {
  if (!slots_.is_free(Worker::discovery)) return;
  context_.view.kill_timer(TIMER_POLL);
  if (context_.state.usage.online) hang_up(context_.link);
  set_status_text("Resetting mobile data device...");
  link_profile(context_.state.device.command_set).restart(context_.link);
  close_modem_link(false);
  // The restart is waited for on the discovery thread, so the window keeps responding.
  start_discovery(kResetWaitMs);
}

void MainWindowController::detect_modem() {
  if (!slots_.is_free(Worker::discovery)) return;
  context_.view.kill_timer(TIMER_POLL);
  close_modem_link(false);
  start_discovery(0);
}

void MainWindowController::start_discovery(unsigned wait_first_ms) {
  AppState& state = context_.state;
  const SetupContext setup{context_.link,    context_.view,       context_.boxes,
                           context_.sleeper, context_.pin_prompt, state.network,
                           state.device,     context_.files,      context_.clock};
  const ModemDiscoveryContext discovery{context_.link,
                                        context_.view,
                                        context_.registry,
                                        context_.ports,
                                        context_.sleeper,
                                        state.device,
                                        state.options.port_name,
                                        state.options.port_given,
                                        [setup] { return initialize_modem(setup); }};
  slots_.start(Worker::discovery,
               [discovery, wait_first_ms] { discovery_thread(discovery, wait_first_ms); });
}

}  // namespace kivo

#include "setup/discovery.h"

#include <string>
#include <utility>

#include "setup/port_scan.h"

namespace kivo {

namespace {

constexpr unsigned kSearchIntervalMs = 100;
// A whole search reads hundreds of keys on a well-used machine. While nothing has changed in
// the device map of active ports since the last fruitless search, only the map is read; the
// whole search still runs every so often, for a driver that writes its entries late.
constexpr unsigned kWholeSearchEvery = 300;  // rounds of 100 ms: 30 s
// How long a modem told to restart takes to come back.
constexpr unsigned kRestartWaitMs = 15000;

constexpr char kPortBusyText[] =
    "Unable to open COM port, mobile data device possibly in use by another application.";
constexpr char kInitErrorText[] = "An error occured while initalizing the mobile data device.";
constexpr char kNotRespondingText[] = "Mobile data device not responding.";

// Searches until a port is found, opened once and then found again; the second search's port
// and command set are the ones used. No modem plugged in means searching for ever.
void search_until_found(const ModemDiscoveryContext& discovery) {
  CommandSet command_set = CommandSet::Standard;
  std::string searched_ports;
  for (unsigned round = 0;; ++round) {
    std::string active_ports = read_active_ports(discovery.registry);
    if (round % kWholeSearchEvery == 0 || active_ports != searched_ports) {
      if (scan_for_modem_port(discovery.registry, discovery.port_name, command_set)) {
        discovery.ports.probe_port(discovery.port_name);
        if (scan_for_modem_port(discovery.registry, discovery.port_name, command_set)) break;
      }
      searched_ports = std::move(active_ports);
    }
    discovery.sleeper.sleep_ms(kSearchIntervalMs);
  }
  discovery.device.command_set = command_set;
}

// Any answer but Retry (a box that could not be shown too) cancels.
bool retry_asked(const ModemDiscoveryContext& discovery, const char* text) {
  BoxRequest request;
  request.owner = BoxOwner::MainWindow;
  request.text = text;
  request.icon = BoxIcon::Warning;
  request.buttons = BoxButtons::RetryCancel;
  return discovery.view.show_box(request) == BoxAnswer::Retry;
}

bool open_until_done(const ModemDiscoveryContext& discovery) {
  while (!discovery.link.open_modem_link(discovery.port_name))
    if (!retry_asked(discovery, kPortBusyText)) return false;
  return true;
}

void post_done(const ModemDiscoveryContext& discovery) {
  Notice done;
  done.id = NoticeId::DiscoveryDone;
  discovery.view.post(done);
}

// The window joins this thread first, then closes through its usual path.
int cancelled(const ModemDiscoveryContext& discovery) {
  post_done(discovery);
  discovery.view.post_close();
  return 1;
}

// No farewell: the modem is restarting or not answering.
void close_link(const ModemDiscoveryContext& discovery) {
  discovery.device.device_ready = false;
  discovery.link.close();
}

}  // namespace

int discovery_thread(const ModemDiscoveryContext& discovery, unsigned wait_first_ms) {
  MainView& view = discovery.view;
  if (wait_first_ms != 0) discovery.sleeper.sleep_ms(wait_first_ms);
  bool found = false;
  bool opened = false;
  for (;;) {
    if (!discovery.port_given) {
      view.set_status_text("Detecting mobile data device...");
      if (!found && !opened) search_until_found(discovery);
      found = true;
    }
    view.set_status_text("Opening communications port...");
    if (!opened && !open_until_done(discovery)) return cancelled(discovery);
    opened = true;
    discovery.device.device_ready = false;
    view.set_status_text("Initializing mobile data device...");
    switch (discovery.initialize_modem()) {
      case InitResult::Ready:
        discovery.device.device_ready = true;
        view.set_status_text("Ready");
        post_done(discovery);
        return 0;
      case InitResult::ResetByCfun:
      case InitResult::ResetByDiag:
        view.set_status_text("Resetting mobile data device...");
        close_link(discovery);
        found = opened = false;
        discovery.sleeper.sleep_ms(kRestartWaitMs);
        break;
      case InitResult::InitError:
        // The link stays open: the next attempt runs on it without searching or opening.
        if (!retry_asked(discovery, kInitErrorText)) return cancelled(discovery);
        break;
      case InitResult::NotResponding:
        if (!retry_asked(discovery, kNotRespondingText)) return cancelled(discovery);
        close_link(discovery);
        found = opened = false;
        break;
    }
  }
}

}  // namespace kivo

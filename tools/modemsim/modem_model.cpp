#include "modem_model.h"

#include <cctype>
#include <cstdlib>

namespace modemsim {
namespace {

constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";

std::string frame(std::string_view line) {
  std::string out = "\r\n";
  out += line;
  out += "\r\n";
  return out;
}

const char* cme_text(int code) {
  switch (code) {
    case 3:
      return "operation not allowed";
    case 4:
      return "operation not supported";
    case 10:
      return "SIM not inserted";
    case 11:
      return "SIM PIN required";
    case 12:
      return "SIM PUK required";
    case 13:
      return "SIM failure";
    case 14:
      return "SIM busy";
    case 16:
      return "incorrect password";
    case 30:
      return "no network service";
    case 50:
      return "incorrect parameters";
    default:
      return "unknown";
  }
}

// The TPDU length that AT+CMGS announces for a PDU in hex: its octets less the service-centre
// address and its length octet; -1 when the text is no PDU.
long tpdu_length(std::string_view hex) {
  if (hex.size() < 2 || hex.size() % 2 != 0) return -1;
  for (char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
  }
  long smsc = std::strtol(std::string(hex.substr(0, 2)).c_str(), nullptr, 16);
  return static_cast<long>(hex.size() / 2) - smsc - 1;
}

}  // namespace

ModemModel::ModemModel(const Profile& profile) : profile_(profile), session_(start_session()) {
  for (const auto& [key, vendor_key] : profile.vendor_keys) {
    if (!vendor_key.start.empty()) config_.vendor[key] = vendor_key.start;
  }
  for (const auto& [key, value] : profile.identity) set(key, value);
  // The modem starts as it is: nothing to report about getting there.
  unsolicited_.clear();
  reported_ = view();
}

ModemSession ModemModel::start_session() const {
  ModemSession session;
  session.vendor = profile_.session_keys;
  return session;
}

Registration ModemModel::registration() const {
  Registration r;
  if (session_.cfun != 1 || config_.sim != SimState::Ready) return r;
  r.stat = config_.registration;
  if (r.stat == 1 || r.stat == 5) {
    r.lac = config_.lac;
    r.ci = config_.ci;
  }
  return r;
}

bool ModemModel::registered() const {
  int stat = registration().stat;
  return stat == 1 || stat == 5;
}

Technology ModemModel::technology() const {
  return registered() ? config_.tech : Technology::None;
}

void ModemModel::follow_radio_mode() {
  if (profile_.radio_mode) {
    config_.tech = allowed_technology(config_.tech, profile_.radio_mode(*this));
  }
}

NetworkView ModemModel::view() const {
  NetworkView v;
  v.radio_on = session_.cfun == 1;
  v.registration = registration();
  v.rssi = v.radio_on ? config_.rssi : 99;
  v.ber = v.radio_on ? config_.ber : 99;
  v.technology = technology();
  return v;
}

int ModemModel::sim_error() const {
  switch (config_.sim) {
    case SimState::Ready:
      return 0;
    case SimState::PinWanted:
      return 11;
    case SimState::PukWanted:
      return 12;
    case SimState::Absent:
      return 10;
    case SimState::Failure:
      break;
  }
  return 13;
}

std::string ModemModel::execute(std::string_view line) {
  if (line.size() < 2 || std::toupper(static_cast<unsigned char>(line[0])) != 'A' ||
      std::toupper(static_cast<unsigned char>(line[1])) != 'T') {
    return {};
  }
  auto commands = parse_command_line(line);
  if (!commands) return std::string(kError);
  std::string out;
  Reply last;
  for (const Command& command : *commands) {
    last = run(command);
    for (const std::string& text : last.lines) out += frame(text);
    if (last.final != FinalResult::Ok) break;
  }
  out += final_text(last);
  report_changes();
  follow_data_connection();
  if (restart_pending_) restart();
  return out;
}

Reply ModemModel::run(const Command& command) {
  auto vendor = profile_.commands.find(command.name);
  if (vendor != profile_.commands.end()) return vendor->second(*this, command);
  auto standard = standard_commands().find(command.name);
  if (standard != standard_commands().end()) return standard->second(*this, command);
  return Reply::error();
}

std::string ModemModel::final_text(const Reply& reply) const {
  switch (reply.final) {
    case FinalResult::Ok:
      return std::string(kOk);
    case FinalResult::Prompt:
      return "\r\n> ";
    case FinalResult::CmsError:
      return frame("+CMS ERROR: " + std::to_string(reply.code));
    case FinalResult::CmeError:
      if (session_.cmee == 1) return frame("+CME ERROR: " + std::to_string(reply.code));
      if (session_.cmee == 2) return frame(std::string("+CME ERROR: ") + cme_text(reply.code));
      return std::string(kError);
    case FinalResult::Error:
      break;
  }
  return std::string(kError);
}

std::string ModemModel::finish_sms(std::string_view body, bool cancelled) {
  int length = session_.sms_length;
  session_.sms_length = -1;
  if (cancelled) return std::string(kOk);
  int stat = registration().stat;
  std::string verdict;
  if (session_.cmgf == 0 && tpdu_length(body) != length) {
    verdict = frame("+CMS ERROR: 304");
  } else if (stat != 1 && stat != 5) {
    verdict = frame("+CMS ERROR: 331");
  } else if (config_.sms_error != 0) {
    verdict = frame("+CMS ERROR: " + std::to_string(config_.sms_error));
  } else {
    session_.message_reference = (session_.message_reference + 1) % 256;
    verdict = frame("+CMGS: " + std::to_string(session_.message_reference)) + std::string(kOk);
  }
  unsolicited_.push_back({config_.sms_delay_ms, verdict});
  return {};
}

void ModemModel::define_ussd(std::string code, UssdAnswer answer) {
  config_.ussd[std::move(code)] = std::move(answer);
}

void ModemModel::restart() {
  restart_pending_ = false;
  ++restarts_;
  session_ = start_session();
  for (auto& [cid, context] : config_.contexts) context.active = false;
  follow_data_connection();
  if (config_.sim == SimState::Ready && config_.pin_lock) config_.sim = SimState::PinWanted;
  // A restart drops the registration without telling anyone: the reports are off again.
  reported_ = view();
  if (profile_.on_restart) profile_.on_restart(*this);
}

void ModemModel::queue_line(unsigned delay_ms, std::string line) {
  unsolicited_.push_back({delay_ms, frame(line)});
}

std::vector<Unsolicited> ModemModel::take_unsolicited() {
  std::vector<Unsolicited> out;
  out.swap(unsolicited_);
  return out;
}

std::string ModemModel::connect() {
  auto context = config_.contexts.find(config_.data_cid);
  if (context == config_.contexts.end()) {
    return "connect needs context " + std::to_string(config_.data_cid);
  }
  if (!registered()) return "connect needs a registered modem";
  context->second.active = true;
  follow_data_connection();
  return {};
}

void ModemModel::disconnect() {
  auto context = config_.contexts.find(config_.data_cid);
  if (context != config_.contexts.end()) context->second.active = false;
  follow_data_connection();
}

bool ModemModel::data_connected() const {
  auto context = config_.contexts.find(config_.data_cid);
  return context != config_.contexts.end() && context->second.active;
}

void ModemModel::follow_data_connection() {
  bool connected = data_connected();
  if (connected && !data_was_connected_) counters_ = {};
  data_was_connected_ = connected;
}

void ModemModel::spike(std::uint32_t tx_rate, std::uint32_t rx_rate) {
  spike_ = FlowSample{};
  spike_->tx_rate = tx_rate;
  spike_->rx_rate = rx_rate;
}

std::string ModemModel::flow_tick(std::uint64_t interval) {
  counters_.duration_ms += interval;
  counters_.tx_bytes += config_.tx_rate * interval / 1000;
  counters_.rx_bytes += config_.rx_rate * interval / 1000;
  if (!profile_.flow_report) return {};
  FlowSample sample;
  sample.duration = static_cast<std::uint32_t>(counters_.duration_ms / 1000);
  sample.tx_rate = spike_ ? spike_->tx_rate : config_.tx_rate;
  sample.rx_rate = spike_ ? spike_->rx_rate : config_.rx_rate;
  sample.tx_bytes = counters_.tx_bytes;
  sample.rx_bytes = counters_.rx_bytes;
  spike_.reset();
  std::string line = profile_.flow_report(*this, sample);
  return line.empty() ? line : frame(line);
}

void ModemModel::report_changes() {
  NetworkView now = view();
  if (now == reported_) return;
  NetworkView before = reported_;
  reported_ = now;
  for (StatusReport report : standard_reports()) report(*this, before, now);
  for (StatusReport report : profile_.reports) report(*this, before, now);
}

}  // namespace modemsim

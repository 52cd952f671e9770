#include "modem_model.h"

#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>

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

bool parse_long(std::string_view text, long& out, int base = 10) {
  std::string s(text);
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtol(s.c_str(), &end, base);
  return *end == '\0';
}

// The TPDU length that AT+CMGS announces for a PDU in hex: its octets less the service-centre
// address and its length octet; -1 when the text is no PDU.
long tpdu_length(std::string_view hex) {
  if (hex.size() < 2 || hex.size() % 2 != 0) return -1;
  for (char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return -1;
  }
  long smsc = 0;
  parse_long(hex.substr(0, 2), smsc, 16);
  return static_cast<long>(hex.size() / 2) - smsc - 1;
}

using Setter = std::function<bool(ModemModel&, std::string_view)>;

Setter int_setter(int ModemConfig::*field, long low, long high) {
  return [=](ModemModel& m, std::string_view v) {
    long n = 0;
    if (!parse_long(v, n) || n < low || n > high) return false;
    m.config().*field = static_cast<int>(n);
    return true;
  };
}

Setter delay_setter(unsigned ModemConfig::*field) {
  return [=](ModemModel& m, std::string_view v) {
    long n = 0;
    if (!parse_long(v, n) || n < 0) return false;
    m.config().*field = static_cast<unsigned>(n);
    return true;
  };
}

Setter hex_setter(unsigned ModemConfig::*field) {
  return [=](ModemModel& m, std::string_view v) {
    long n = 0;
    if (!parse_long(v, n, 16) || n < 0) return false;
    m.config().*field = static_cast<unsigned>(n);
    return true;
  };
}

Setter text_setter(std::string ModemConfig::*field) {
  return [=](ModemModel& m, std::string_view v) {
    m.config().*field = std::string(v);
    return true;
  };
}

Setter flag_setter(bool ModemConfig::*field) {
  return [=](ModemModel& m, std::string_view v) {
    if (v != "0" && v != "1") return false;
    m.config().*field = v == "1";
    return true;
  };
}

bool set_sim(ModemModel& m, std::string_view v) {
  static const std::map<std::string_view, SimState> states = {
      {"ready", SimState::Ready},   {"pin", SimState::PinWanted},   {"puk", SimState::PukWanted},
      {"absent", SimState::Absent}, {"failure", SimState::Failure},
  };
  auto it = states.find(v);
  if (it == states.end()) return false;
  m.config().sim = it->second;
  if (it->second == SimState::PinWanted) m.config().pin_lock = true;
  return true;
}

bool set_apn(ModemModel& m, std::string_view v) {
  m.config().contexts[1].apn = std::string(v);
  return true;
}

bool set_pdp(ModemModel& m, std::string_view v) {
  if (v != "0" && v != "1") return false;
  m.config().contexts[1].active = v == "1";
  return true;
}

// A 32-bit unsigned number.
Setter unsigned_setter(unsigned ModemConfig::*field) {
  return [=](ModemModel& m, std::string_view v) {
    auto n = parse_number(v);
    if (!n || *n > 0xffffffffu) return false;
    m.config().*field = static_cast<unsigned>(*n);
    return true;
  };
}

Setter counter_setter(std::uint64_t DataCounters::*field) {
  return [=](ModemModel& m, std::string_view v) {
    auto n = parse_number(v);
    if (n) m.counters().*field = *n;
    return n.has_value();
  };
}

bool set_echo(ModemModel& m, std::string_view v) {
  if (v != "0" && v != "1") return false;
  m.session().echo = v == "1";
  return true;
}

bool set_cfun(ModemModel& m, std::string_view v) {
  if (v != "0" && v != "1" && v != "4") return false;
  m.session().cfun = v[0] - '0';
  return true;
}

bool set_tech(ModemModel& m, std::string_view v) {
  auto technology = technology_named(v);
  if (technology) m.config().tech = *technology;
  return technology.has_value();
}

// The RNC (upper 16 bits) or the cell (lower 16 bits) of the cell identity, in decimal.
Setter ci_half_setter(int shift) {
  return [=](ModemModel& m, std::string_view v) {
    long n = 0;
    if (!parse_long(v, n) || n < 0 || n > 0xffff) return false;
    unsigned mask = 0xffffu << shift;
    m.config().ci = (m.config().ci & ~mask) | (static_cast<unsigned>(n) << shift);
    return true;
  };
}

bool set_ci_digits(ModemModel& m, std::string_view v) {
  if (v != "auto" && v != "4" && v != "8") return false;
  m.config().ci_digits = v == "auto" ? 0 : v[0] - '0';
  return true;
}

bool set_operator_format(ModemModel& m, std::string_view v) {
  static const std::map<std::string_view, int> formats = {
      {"asked", -1}, {"long", 0}, {"short", 1}, {"numeric", 2}};
  auto it = formats.find(v);
  if (it == formats.end()) return false;
  m.config().operator_format = it->second;
  return true;
}

const std::map<std::string_view, Setter>& setters() {
  static const std::map<std::string_view, Setter> table = {
      {"rssi", int_setter(&ModemConfig::rssi, 0, 99)},
      {"ber", int_setter(&ModemConfig::ber, 0, 99)},
      {"registration", int_setter(&ModemConfig::registration, 0, 5)},
      {"lac", hex_setter(&ModemConfig::lac)},
      {"ci", hex_setter(&ModemConfig::ci)},
      {"rnc", ci_half_setter(16)},
      {"cell", ci_half_setter(0)},
      {"tech", set_tech},
      {"operator", text_setter(&ModemConfig::operator_code)},
      {"operator_name", text_setter(&ModemConfig::operator_name)},
      {"operator_short", text_setter(&ModemConfig::operator_short)},
      {"operator_format", set_operator_format},
      {"location_quotes", flag_setter(&ModemConfig::location_quotes)},
      {"ci_digits", set_ci_digits},
      {"location_act", flag_setter(&ModemConfig::location_act)},
      {"pdp_address", text_setter(&ModemConfig::pdp_address)},
      {"sim", set_sim},
      {"pin_lock", flag_setter(&ModemConfig::pin_lock)},
      {"pin", text_setter(&ModemConfig::pin)},
      {"puk", text_setter(&ModemConfig::puk)},
      {"pin_attempts", int_setter(&ModemConfig::pin_attempts, 0, 99)},
      {"puk_attempts", int_setter(&ModemConfig::puk_attempts, 0, 99)},
      {"sim_busy", int_setter(&ModemConfig::sim_busy, 0, 1000)},
      {"manufacturer", text_setter(&ModemConfig::manufacturer)},
      {"model", text_setter(&ModemConfig::model)},
      {"revision", text_setter(&ModemConfig::revision)},
      {"imei", text_setter(&ModemConfig::imei)},
      {"imsi", text_setter(&ModemConfig::imsi)},
      {"iccid", text_setter(&ModemConfig::iccid)},
      {"apn", set_apn},
      {"pdp", set_pdp},
      {"sms_error", int_setter(&ModemConfig::sms_error, 0, 999)},
      {"sms_delay", delay_setter(&ModemConfig::sms_delay_ms)},
      {"ussd_delay", delay_setter(&ModemConfig::ussd_delay_ms)},
      {"diag_only", flag_setter(&ModemConfig::diag_only)},
      {"echo", set_echo},
      {"cfun", set_cfun},
      {"tx_rate", unsigned_setter(&ModemConfig::tx_rate)},
      {"rx_rate", unsigned_setter(&ModemConfig::rx_rate)},
      {"flow_interval", delay_setter(&ModemConfig::flow_interval_ms)},
      {"tx_bytes", counter_setter(&DataCounters::tx_bytes)},
      {"rx_bytes", counter_setter(&DataCounters::rx_bytes)},
  };
  return table;
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

std::string ModemModel::set(std::string_view key, std::string_view value) {
  auto it = setters().find(key);
  auto vendor = profile_.vendor_keys.find(std::string(key));
  if (it != setters().end()) {
    if (!it->second(*this, value)) return "bad value for " + std::string(key);
  } else if (vendor != profile_.vendor_keys.end()) {
    if (!vendor->second.apply(*this, vendor->first, value)) {
      return "bad value for " + std::string(key);
    }
  } else {
    return "unknown key " + std::string(key);
  }
  report_changes();
  follow_data_connection();
  return {};
}

void ModemModel::define_ussd(std::string code, UssdAnswer answer) {
  config_.ussd[std::move(code)] = std::move(answer);
}

void ModemModel::restart() {
  restart_pending_ = false;
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
  auto context = config_.contexts.find(1);
  if (context == config_.contexts.end()) return "connect needs context 1";
  if (!registered()) return "connect needs a registered modem";
  context->second.active = true;
  follow_data_connection();
  return {};
}

void ModemModel::disconnect() {
  auto context = config_.contexts.find(1);
  if (context != config_.contexts.end()) context->second.active = false;
  follow_data_connection();
}

bool ModemModel::data_connected() const {
  auto context = config_.contexts.find(1);
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

std::string ModemModel::flow_tick() {
  const std::uint64_t interval = config_.flow_interval_ms;
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

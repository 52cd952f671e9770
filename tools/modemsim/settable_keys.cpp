// The keys of ModemModel::set: the standard ones here, a profile's own in its vendor_keys.

#include <cstdlib>
#include <functional>
#include <map>

#include "modem_model.h"

namespace modemsim {
namespace {

bool parse_long(std::string_view text, long& out, int base = 10) {
  std::string s(text);
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtol(s.c_str(), &end, base);
  return *end == '\0';
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
  m.config().contexts[m.config().data_cid].active = v == "1";
  return true;
}

// The context the data connection runs on; one not yet defined takes context 1's type and APN,
// so that AT+CGACT? lists both.
bool set_data_cid(ModemModel& m, std::string_view v) {
  long cid = 0;
  if (!parse_long(v, cid) || cid < 1 || cid > 16) return false;
  ModemConfig& config = m.config();
  config.data_cid = static_cast<int>(cid);
  if (config.contexts.count(config.data_cid) == 0) {
    PdpContext context = config.contexts.count(1) != 0 ? config.contexts[1] : PdpContext{};
    context.active = false;
    config.contexts[config.data_cid] = context;
  }
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
      {"registration_blanks", flag_setter(&ModemConfig::registration_blanks)},
      {"csq_blank", flag_setter(&ModemConfig::csq_blank)},
      {"pdp_address", text_setter(&ModemConfig::pdp_address)},
      {"sim", set_sim},
      {"pin_lock", flag_setter(&ModemConfig::pin_lock)},
      {"pin", text_setter(&ModemConfig::pin)},
      {"puk", text_setter(&ModemConfig::puk)},
      {"pin_attempts", int_setter(&ModemConfig::pin_attempts, 0, 99)},
      {"puk_attempts", int_setter(&ModemConfig::puk_attempts, 0, 99)},
      {"sim_busy", int_setter(&ModemConfig::sim_busy, 0, 1000)},
      {"cnmi_busy", int_setter(&ModemConfig::cnmi_busy, 0, 1000)},
      {"manufacturer", text_setter(&ModemConfig::manufacturer)},
      {"model", text_setter(&ModemConfig::model)},
      {"revision", text_setter(&ModemConfig::revision)},
      {"imei", text_setter(&ModemConfig::imei)},
      {"imsi", text_setter(&ModemConfig::imsi)},
      {"iccid", text_setter(&ModemConfig::iccid)},
      {"serial", text_setter(&ModemConfig::serial)},
      {"hardware", text_setter(&ModemConfig::hardware)},
      {"apn", set_apn},
      {"pdp", set_pdp},
      {"data_cid", set_data_cid},
      {"sms_error", int_setter(&ModemConfig::sms_error, 0, 999)},
      {"sms_delay", delay_setter(&ModemConfig::sms_delay_ms)},
      {"ussd_delay", delay_setter(&ModemConfig::ussd_delay_ms)},
      {"diag_only", flag_setter(&ModemConfig::diag_only)},
      {"apn_error", flag_setter(&ModemConfig::apn_error)},
      {"reenumerate_ms", delay_setter(&ModemConfig::reenumerate_ms)},
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

}  // namespace modemsim

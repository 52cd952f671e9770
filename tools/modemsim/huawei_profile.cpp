// A Huawei modem: system information and configuration, the handshake and boot reports, the PIN
// state with its attempt counters, the network lock, what it says about itself, the reports of
// signal, system mode, service state and data traffic that ^CURC switches on and off, and the
// traffic counters' reset.

#include <cstdio>

#include "device_info_commands.h"
#include "mode_fields.h"
#include "modem_model.h"
#include "vendor_keys.h"

namespace modemsim {
namespace {

const std::vector<ModeField>& syscfg_fields() {
  static const std::vector<ModeField> fields = {
      {"syscfg_mode", {2, 13, 14}, 16},    {"syscfg_order", {0, 1, 2}, 3},
      {"syscfg_band", {}, 0x40000000, 16}, {"syscfg_roam", {0, 1}, 2},
      {"syscfg_domain", {0, 1, 2, 3}, 4},
  };
  return fields;
}

RadioMode radio_mode(ModemModel& m) {
  return radio_mode_of(m, "syscfg_mode", 13, 14);
}

// The system mode (0 none, 3 GSM, 5 WCDMA) and sub-mode of ^SYSINFO and ^MODE.
struct SystemMode {
  int mode = 0;
  int sub_mode = 0;
};

SystemMode system_mode(Technology technology) {
  switch (technology) {
    case Technology::None:
      break;
    case Technology::Gsm:
      return {3, 1};
    case Technology::Gprs:
      return {3, 2};
    case Technology::Edge:
      return {3, 3};
    case Technology::Umts:
      return {5, 4};
    case Technology::Hsdpa:
      return {5, 5};
    case Technology::Hsupa:
      return {5, 6};
    case Technology::Hspa:
      return {5, 7};
  }
  return {};
}

// The service state of ^SYSINFO and ^SRVST: 0 none, 1 restricted, 2 valid, 4 power saving.
int service_state(const NetworkView& v) {
  if (!v.radio_on) return 4;
  int stat = v.registration.stat;
  if (stat == 1 || stat == 5) return 2;
  return stat == 3 ? 1 : 0;
}

// The service domain of ^SYSINFO: 0 none, 3 circuit and packet, 4 searching.
int service_domain(const NetworkView& v) {
  int stat = v.registration.stat;
  if (stat == 1 || stat == 5) return 3;
  return stat == 2 ? 4 : 0;
}

// ^SYSINFO: service state, domain, roaming, system mode, SIM state, lock state (left empty as
// the modem does), system sub-mode.
Reply sysinfo(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Action) return Reply::error();
  NetworkView v = m.view();
  SystemMode mode = system_mode(v.technology);
  SimState sim = m.config().sim;
  int sim_state = sim == SimState::Ready ? 1 : sim == SimState::Absent ? 255 : 0;
  return Reply::ok({"^SYSINFO:" + std::to_string(service_state(v)) + "," +
                    std::to_string(service_domain(v)) + "," +
                    (v.registration.stat == 5 ? "1" : "0") + "," + std::to_string(mode.mode) + "," +
                    std::to_string(sim_state) + ",," + std::to_string(mode.sub_mode)});
}

// ^SYSCFG: mode (2 automatic, 13 GSM only, 14 WCDMA only), acquisition order (0 automatic,
// 1 GSM first, 2 WCDMA first), band mask in hex, roaming, service domain. In a write, 16, 3,
// 40000000, 2 and 4 leave their field as it is.
Reply syscfg(ModemModel& m, const Command& c) {
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({"^SYSCFG:" + read_mode_fields(m, syscfg_fields())});
    case CommandKind::Test:
      return Reply::ok({"^SYSCFG:(2,13,14,16),(0-3),((3FFFFFFF,\"All bands\")),(0-2),(0-4)"});
    case CommandKind::Set:
      return write_mode_fields(m, c, syscfg_fields());
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

// ^HS: the handshake. The answer carries the modem's id (which ^BOOT= gives back), the
// protocol (0: the application runs), whether it is offline, and the product class.
Reply handshake(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Set || split_args(c.args).size() != 2) return Reply::error();
  std::string offline = m.session().cfun == 1 ? "0" : "1";
  return Reply::ok({"^HS:" + m.config().vendor["hs_id"] + ",0," + offline + ",0,0"});
}

Reply boot(ModemModel&, const Command& c) {
  if (c.kind != CommandKind::Set || split_args(c.args).size() != 2) return Reply::error();
  return Reply::ok();
}

// ^CURC: 1 (the start value) lets the modem send its own reports, 0 stops them.
Reply curc(ModemModel& m, const Command& c) {
  int& curc = session_setting(m, "curc");
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({"^CURC: " + std::to_string(curc)});
    case CommandKind::Test:
      return Reply::ok({"^CURC: (0-1)"});
    case CommandKind::Set:
      if (c.args != "0" && c.args != "1") return Reply::cme(50);
      curc = c.args == "1";
      return Reply::ok();
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

// ^CPIN?: the code the SIM wants, the attempts left for it, then the PUK, PIN, PUK2 and PIN2
// attempts. Entering a code works as +CPIN= does.
Reply cpin(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Set) return standard_commands().at("+CPIN")(m, c);
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind != CommandKind::Read) return Reply::error();
  ModemConfig& config = m.config();
  if (config.sim_busy > 0) {
    --config.sim_busy;
    return Reply::cme(14);
  }
  std::string pin = std::to_string(config.pin_attempts);
  std::string puk = std::to_string(config.puk_attempts);
  std::string counters = "," + puk + "," + pin + ",10,3";
  switch (config.sim) {
    case SimState::Ready:
      return Reply::ok({"^CPIN: READY," + counters});
    case SimState::PinWanted:
      return Reply::ok({"^CPIN: SIM PIN," + pin + counters});
    case SimState::PukWanted:
      return Reply::ok({"^CPIN: SIM PUK," + puk + counters});
    case SimState::Absent:
    case SimState::Failure:
      break;
  }
  return Reply::cme(m.sim_error());
}

// ^CARDLOCK?: the lock status (2: not locked), the unlock attempts left, the operator it is
// locked to. A modem still reading its SIM answers "SIM busy" (`cardlock_busy` times).
Reply cardlock(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Read) return Reply::error();
  if (auto busy = vendor_number(m, "cardlock_busy"); busy > 0) {
    m.config().vendor["cardlock_busy"] = std::to_string(busy - 1);
    return Reply::cme(14);
  }
  return Reply::ok({"^CARDLOCK: " + m.config().vendor["cardlock"]});
}

// ^DSFLOWCLR: the traffic counters start again from zero.
Reply clear_flow(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Action) return Reply::error();
  m.counters() = {};
  return Reply::ok();
}

// ^DSFLOWRPT: the connection's time in seconds, the upload and download rates of the moment in
// bytes per second, the bytes sent and received, and the negotiated upload and download QoS, in
// upper-case hex of fixed widths.
std::string flow_report(ModemModel& m, const FlowSample& s) {
  if (session_setting(m, "curc") == 0) return {};
  char line[96];
  std::snprintf(line, sizeof line, "^DSFLOWRPT:%08X,%08X,%08X,%016llX,%016llX,%08X,%08X",
                static_cast<unsigned>(s.duration), static_cast<unsigned>(s.tx_rate),
                static_cast<unsigned>(s.rx_rate), static_cast<unsigned long long>(s.tx_bytes),
                static_cast<unsigned long long>(s.rx_bytes),
                static_cast<unsigned>(vendor_number(m, "qos_tx", 16)),
                static_cast<unsigned>(vendor_number(m, "qos_rx", 16)));
  return line;
}

// A QoS field: up to eight hex digits.
bool store_qos(ModemModel& m, const std::string& key, std::string_view value) {
  auto n = parse_number(value, 16);
  return n && *n <= 0xffffffffu && store_hex(m, key, value);
}

void report(ModemModel& m, const NetworkView& before, const NetworkView& now) {
  if (session_setting(m, "curc") == 0) return;
  if (before.rssi != now.rssi) m.queue_line(0, "^RSSI:" + std::to_string(now.rssi));
  if (service_state(before) != service_state(now)) {
    m.queue_line(0, "^SRVST:" + std::to_string(service_state(now)));
  }
  if (before.technology != now.technology) {
    SystemMode mode = system_mode(now.technology);
    m.queue_line(0, "^MODE:" + std::to_string(mode.mode) + "," + std::to_string(mode.sub_mode));
  }
}

void announce_boot(ModemModel& m) {
  m.queue_line(0, "^BOOT:" + m.config().vendor["hs_id"] + ",0,0,0,0");
}

}  // namespace

const Profile& huawei_profile() {
  static const Profile profile = [] {
    Profile p;
    p.name = "huawei";
    p.commands = {
        {"^SYSINFO", sysinfo},
        {"^SYSCFG", syscfg},
        {"^HS", handshake},
        {"^BOOT", boot},
        {"^CURC", curc},
        {"^CPIN", cpin},
        {"^CARDLOCK", cardlock},
        {"^DSFLOWCLR", clear_flow},
        {"^SN", huawei_serial},
        {"^HWVER", huawei_hardware},
        {"^SPN", huawei_provider_name},
    };
    p.reports = {report};
    p.vendor_keys = {
        {"syscfg_mode", {"2", store_decimal}},
        {"syscfg_order", {"2", store_decimal}},
        {"syscfg_band", {"3FFFFFFF", store_hex}},
        {"syscfg_roam", {"1", store_decimal}},
        {"syscfg_domain", {"2", store_decimal}},
        {"hs_id", {"24117505", store_decimal}},
        {"cardlock", {"2,10,0", store_decimals}},
        {"qos_tx", {"BB80", store_qos}},
        {"qos_rx", {"6DDD0", store_qos}},
        {"cardlock_busy", {"0", store_decimal}},
        {"spn", provider_name_key()},
    };
    p.session_keys = {{"curc", 1}};
    p.identity = {
        {"manufacturer", "huawei"}, {"serial", "R3B7NA1580200374"}, {"hardware", "CD25TCPU"}};
    p.radio_mode = radio_mode;
    p.on_restart = announce_boot;
    p.flow_report = flow_report;
    return p;
  }();
  return profile;
}

}  // namespace modemsim

#include <cstdio>
#include <cstdlib>

#include "modem_model.h"

namespace modemsim {
namespace {

// A whole decimal number, or -1.
long number(const std::string& text) {
  if (text.empty()) return -1;
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && n >= 0 ? n : -1;
}

std::string arg(const std::vector<std::string>& args, std::size_t i) {
  return i < args.size() ? args[i] : std::string();
}

// Settings that ATZ and AT&F bring back; the radio and the SMS prompt are not settings.
void restore_settings(ModemModel& m) {
  ModemSession defaults = m.start_session();
  defaults.cfun = m.session().cfun;
  defaults.message_reference = m.session().message_reference;
  m.session() = defaults;
}

std::string hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// ",<lac>,<ci>" and, where the modem adds it, ",<AcT>", in the shape the modem writes them;
// nothing while not registered.
std::string location(ModemModel& m, const NetworkView& v) {
  const Registration& r = v.registration;
  if (r.stat != 1 && r.stat != 5) return {};
  const ModemConfig& config = m.config();
  int digits = config.ci_digits != 0 ? config.ci_digits : r.ci > 0xffff ? 8 : 4;
  unsigned ci = digits == 4 ? r.ci & 0xffff : r.ci;
  std::string quote = config.location_quotes ? "\"" : "";
  std::string text = "," + quote + hex(r.lac, 4) + quote + "," + quote + hex(ci, digits) + quote;
  if (config.location_act) text += "," + std::to_string(access_technology(v.technology));
  return text;
}

Reply echo(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Action || (c.args != "" && c.args != "0" && c.args != "1")) {
    return Reply::error();
  }
  m.session().echo = c.args == "1";
  return Reply::ok();
}

Reply restore(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Action || (c.args != "" && c.args != "0")) return Reply::error();
  restore_settings(m);
  return Reply::ok();
}

Reply hang_up(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Action) return Reply::error();
  for (auto& [cid, context] : m.config().contexts) context.active = false;
  return Reply::ok();
}

Reply identify(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Action) return Reply::error();
  return Reply::ok({"Manufacturer: " + m.config().manufacturer, "Model: " + m.config().model,
                    "Revision: " + m.config().revision, "IMEI: " + m.config().imei});
}

// A setting n of 0..max with its read and test forms, as +CMEE, +CREG and +CGREG have.
Reply small_setting(const Command& c, const char* prefix, int& n, int max, int error) {
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({std::string(prefix) + std::to_string(n)});
    case CommandKind::Test:
      return Reply::ok({std::string(prefix) + "(0-" + std::to_string(max) + ")"});
    case CommandKind::Set: {
      long value = number(c.args);
      if (value < 0 || value > max) return Reply::cme(error);
      n = static_cast<int>(value);
      return Reply::ok();
    }
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

Reply cmee(ModemModel& m, const Command& c) {
  return small_setting(c, "+CMEE: ", m.session().cmee, 2, 50);
}

Reply registration_status(ModemModel& m, const Command& c, const char* prefix, int& n) {
  if (c.kind != CommandKind::Read) return small_setting(c, prefix, n, 2, 50);
  NetworkView v = m.view();
  std::string line = prefix + std::to_string(n) + "," + std::to_string(v.registration.stat);
  return Reply::ok({n == 2 ? line + location(m, v) : line});
}

Reply creg(ModemModel& m, const Command& c) {
  return registration_status(m, c, "+CREG: ", m.session().creg_n);
}

Reply cgreg(ModemModel& m, const Command& c) {
  return registration_status(m, c, "+CGREG: ", m.session().cgreg_n);
}

Reply cfun(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read) return Reply::ok({"+CFUN: " + std::to_string(m.session().cfun)});
  if (c.kind == CommandKind::Test) return Reply::ok({"+CFUN: (0,1,4,6),(0-1)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  long fun = number(arg(args, 0));
  long reset = args.size() > 1 ? number(args[1]) : 0;
  if (reset != 0 && reset != 1) return Reply::cme(50);
  if (fun == 6 || (reset == 1 && (fun == 0 || fun == 1 || fun == 4))) {
    m.restart_after_answer();
    return Reply::ok();
  }
  if (fun != 0 && fun != 1 && fun != 4) return Reply::cme(50);
  m.session().cfun = static_cast<int>(fun);
  return Reply::ok();
}

Reply cpin_read(ModemModel& m) {
  ModemConfig& config = m.config();
  if (config.sim_busy > 0) {
    --config.sim_busy;
    return Reply::cme(14);
  }
  switch (config.sim) {
    case SimState::Ready:
      return Reply::ok({"+CPIN: READY"});
    case SimState::PinWanted:
      return Reply::ok({"+CPIN: SIM PIN"});
    case SimState::PukWanted:
      return Reply::ok({"+CPIN: SIM PUK"});
    case SimState::Absent:
    case SimState::Failure:
      break;
  }
  return Reply::cme(m.sim_error());
}

Reply cpin_enter(ModemModel& m, const std::vector<std::string>& args) {
  ModemConfig& config = m.config();
  if (config.sim == SimState::PinWanted) {
    if (arg(args, 0) == config.pin) {
      config.sim = SimState::Ready;
      config.pin_attempts = 3;
      return Reply::ok();
    }
    if (--config.pin_attempts <= 0) config.sim = SimState::PukWanted;
    return Reply::cme(16);
  }
  if (config.sim == SimState::PukWanted) {
    if (args.size() < 2 || args[1].empty()) return Reply::cme(16);
    if (arg(args, 0) == config.puk) {
      config.pin = args[1];
      config.sim = SimState::Ready;
      config.pin_attempts = 3;
      config.puk_attempts = 10;
      return Reply::ok();
    }
    if (--config.puk_attempts <= 0) config.sim = SimState::Failure;
    return Reply::cme(16);
  }
  int error = m.sim_error();
  return Reply::cme(error != 0 ? error : 3);
}

Reply cpin(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read) return cpin_read(m);
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind == CommandKind::Set) return cpin_enter(m, split_args(c.args));
  return Reply::error();
}

Reply csq(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok({"+CSQ: (0-31,99),(0-7,99)"});
  if (c.kind != CommandKind::Action) return Reply::error();
  NetworkView v = m.view();
  return Reply::ok({"+CSQ: " + std::to_string(v.rssi) + "," + std::to_string(v.ber)});
}

std::string operator_in_format(ModemModel& m, int format) {
  if (format == 1) return m.config().operator_short;
  if (format == 2) return m.config().operator_code;
  return m.config().operator_name;
}

Reply cops(ModemModel& m, const Command& c) {
  switch (c.kind) {
    case CommandKind::Read: {
      if (!m.registered()) return Reply::ok({"+COPS: 0"});
      int format = m.config().operator_format;
      if (format < 0) format = m.session().cops_format;
      return Reply::ok({"+COPS: 0," + std::to_string(format) + ",\"" +
                        operator_in_format(m, format) + "\"," +
                        std::to_string(access_technology(m.technology()))});
    }
    case CommandKind::Test: {
      std::string list;
      if (m.session().cfun == 1) {
        list = "(2,\"" + m.config().operator_name + "\",\"" + m.config().operator_short + "\",\"" +
               m.config().operator_code + "\"," +
               std::to_string(access_technology(m.config().tech)) + ")";
      }
      return Reply::ok({"+COPS: " + list + ",,(0-4),(0-2)"});
    }
    case CommandKind::Set: {
      auto args = split_args(c.args);
      long mode = number(arg(args, 0));
      long format = args.size() > 1 ? number(args[1]) : m.session().cops_format;
      if ((mode != 0 && mode != 3) || format < 0 || format > 2) return Reply::cme(50);
      m.session().cops_format = static_cast<int>(format);
      return Reply::ok();
    }
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

Reply cgdcont(ModemModel& m, const Command& c) {
  auto& contexts = m.config().contexts;
  switch (c.kind) {
    case CommandKind::Read: {
      std::vector<std::string> lines;
      for (const auto& [cid, context] : contexts) {
        lines.push_back("+CGDCONT: " + std::to_string(cid) + ",\"" + context.type + "\",\"" +
                        context.apn + "\",\"" + m.config().pdp_address + "\",0,0");
      }
      return Reply::ok(lines);
    }
    case CommandKind::Test:
      return Reply::ok({"+CGDCONT: (1-16),\"IP\",,,(0-2),(0-4)"});
    case CommandKind::Set: {
      auto args = split_args(c.args);
      long cid = number(arg(args, 0));
      if (cid < 1 || cid > 16) return Reply::cme(50);
      if (args.size() == 1) {
        contexts.erase(static_cast<int>(cid));
        return Reply::ok();
      }
      if (args[1] != "IP" && args[1] != "PPP" && args[1] != "IPV6") return Reply::cme(50);
      PdpContext& context = contexts[static_cast<int>(cid)];
      context.type = args[1];
      context.apn = arg(args, 2);
      return Reply::ok();
    }
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

Reply cgact(ModemModel& m, const Command& c) {
  auto& contexts = m.config().contexts;
  if (c.kind == CommandKind::Read) {
    std::vector<std::string> lines;
    for (const auto& [cid, context] : contexts) {
      lines.push_back("+CGACT: " + std::to_string(cid) + "," + (context.active ? "1" : "0"));
    }
    return Reply::ok(lines);
  }
  if (c.kind == CommandKind::Test) return Reply::ok({"+CGACT: (0,1)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  long state = number(arg(args, 0));
  if (state != 0 && state != 1) return Reply::cme(50);
  if (state == 1 && !m.registered()) return Reply::cme(30);
  std::vector<int> cids;
  for (std::size_t i = 1; i < args.size(); ++i) {
    long cid = number(args[i]);
    if (contexts.count(static_cast<int>(cid)) == 0) return Reply::cme(50);
    cids.push_back(static_cast<int>(cid));
  }
  if (cids.empty()) {
    for (const auto& [cid, context] : contexts) cids.push_back(cid);
  }
  for (int cid : cids) contexts[cid].active = state == 1;
  return Reply::ok();
}

Reply cusd(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read)
    return Reply::ok({"+CUSD: " + std::to_string(m.session().cusd_n)});
  if (c.kind == CommandKind::Test) return Reply::ok({"+CUSD: (0-2)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  long n = number(arg(args, 0));
  if (n == 2) return Reply::ok();
  if (n != 0 && n != 1) return Reply::cme(50);
  m.session().cusd_n = static_cast<int>(n);
  std::string code = arg(args, 1);
  if (code.empty()) return Reply::ok();
  if (!m.registered()) return Reply::cme(30);
  if (n == 1) {
    auto known = m.config().ussd.find(code);
    UssdAnswer answer =
        known != m.config().ussd.end() ? known->second : UssdAnswer{0, "Unknown service code"};
    std::string line = "+CUSD: " + std::to_string(answer.status);
    if (answer.has_text) line += ",\"" + answer.text + "\",15";
    m.queue_line(m.config().ussd_delay_ms, line);
  }
  return Reply::ok();
}

Reply cmgf(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read) return Reply::ok({"+CMGF: " + std::to_string(m.session().cmgf)});
  if (c.kind == CommandKind::Test) return Reply::ok({"+CMGF: (0-1)"});
  if (c.kind != CommandKind::Set || (c.args != "0" && c.args != "1")) return Reply::cms(303);
  m.session().cmgf = c.args == "1";
  return Reply::ok();
}

Reply cnmi(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read) return Reply::ok({"+CNMI: " + m.session().cnmi});
  if (c.kind == CommandKind::Test) return Reply::ok({"+CNMI: (0-3),(0-3),(0-3),(0-2),(0,1)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  static const long limits[] = {3, 3, 3, 2, 1};
  auto args = split_args(c.args);
  if (args.size() > 5) return Reply::cms(303);
  for (std::size_t i = 0; i < args.size(); ++i) {
    long value = number(args[i]);
    if (value < 0 || value > limits[i]) return Reply::cms(303);
  }
  m.session().cnmi = c.args;
  return Reply::ok();
}

Reply cscb(ModemModel& m, const Command& c) {
  ModemSession& s = m.session();
  if (c.kind == CommandKind::Read) {
    return Reply::ok({"+CSCB: " + std::to_string(s.cscb_mode) + ",\"" + s.cscb_mids + "\",\"" +
                      s.cscb_dcss + "\""});
  }
  if (c.kind == CommandKind::Test) return Reply::ok({"+CSCB: (0,1)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  long mode = number(arg(args, 0));
  if (mode != 0 && mode != 1) return Reply::cms(303);
  s.cscb_mode = static_cast<int>(mode);
  if (args.size() > 1) s.cscb_mids = args[1];
  if (args.size() > 2) s.cscb_dcss = args[2];
  return Reply::ok();
}

Reply cmgs(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind != CommandKind::Set) return Reply::error();
  if (m.sim_error() != 0) return Reply::cms(m.sim_error() == 10 ? 310 : 311);
  long length = m.session().cmgf == 0 ? number(c.args) : 0;
  if (length < 0 || (m.session().cmgf == 0 && (length < 1 || length > 164))) {
    return Reply::cms(304);
  }
  m.session().sms_length = static_cast<int>(length);
  return Reply::prompt();
}

Reply identity(const Command& c, const std::string& value) {
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind != CommandKind::Action) return Reply::error();
  return Reply::ok({value});
}

Reply cgmi(ModemModel& m, const Command& c) {
  return identity(c, m.config().manufacturer);
}
Reply cgmm(ModemModel& m, const Command& c) {
  return identity(c, m.config().model);
}
Reply cgmr(ModemModel& m, const Command& c) {
  return identity(c, m.config().revision);
}
Reply cgsn(ModemModel& m, const Command& c) {
  return identity(c, m.config().imei);
}

Reply cimi(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Action && m.sim_error() != 0) return Reply::cme(m.sim_error());
  return identity(c, m.config().imsi);
}

// The ICCID as EF ICCID stores it: digits padded with F to whole bytes, each byte's two
// digits swapped.
std::string stored_iccid(const std::string& iccid, std::size_t bytes) {
  std::string digits = iccid;
  digits.resize(bytes * 2, 'F');
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) std::swap(digits[i], digits[i + 1]);
  return digits;
}

Reply crsm(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind != CommandKind::Set) return Reply::error();
  if (m.sim_error() != 0) return Reply::cme(m.sim_error());
  constexpr long kReadBinary = 176;
  constexpr long kEfIccid = 0x2fe2;
  auto args = split_args(c.args);
  long command = number(arg(args, 0));
  if (command != kReadBinary) return Reply::ok({"+CRSM: 109,0"});
  if (number(arg(args, 1)) != kEfIccid) return Reply::ok({"+CRSM: 106,130"});
  long length = args.size() > 4 ? number(args[4]) : 10;
  if (length < 1 || length > 10) return Reply::ok({"+CRSM: 103,10"});
  return Reply::ok({"+CRSM: 144,0,\"" +
                    stored_iccid(m.config().iccid, static_cast<std::size_t>(length)) + "\""});
}

// +CREG and +CGREG: n=1 reports the status when it changes, n=2 also every change of cell (and
// of the access technology, where the modem reports it).
void report(ModemModel& m, int n, const char* prefix, const NetworkView& before,
            const NetworkView& now) {
  int stat = now.registration.stat;
  if (n == 1 && before.registration.stat != stat) m.queue_line(0, prefix + std::to_string(stat));
  if (n != 2) return;
  bool act_changed = m.config().location_act &&
                     access_technology(before.technology) != access_technology(now.technology);
  if (before.registration != now.registration || act_changed) {
    m.queue_line(0, prefix + std::to_string(stat) + location(m, now));
  }
}

void report_creg(ModemModel& m, const NetworkView& before, const NetworkView& now) {
  report(m, m.session().creg_n, "+CREG: ", before, now);
}

void report_cgreg(ModemModel& m, const NetworkView& before, const NetworkView& now) {
  report(m, m.session().cgreg_n, "+CGREG: ", before, now);
}

}  // namespace

const CommandTable& standard_commands() {
  static const CommandTable table = {
      {"E", echo},     {"Z", restore},  {"&F", restore},       {"H", hang_up},    {"I", identify},
      {"+CMEE", cmee}, {"+CREG", creg}, {"+CGREG", cgreg},     {"+CFUN", cfun},   {"+CPIN", cpin},
      {"+CSQ", csq},   {"+COPS", cops}, {"+CGDCONT", cgdcont}, {"+CGACT", cgact}, {"+CUSD", cusd},
      {"+CMGF", cmgf}, {"+CNMI", cnmi}, {"+CSCB", cscb},       {"+CMGS", cmgs},   {"+CGMI", cgmi},
      {"+GMI", cgmi},  {"+CGMM", cgmm}, {"+GMM", cgmm},        {"+CGMR", cgmr},   {"+GMR", cgmr},
      {"+CGSN", cgsn}, {"+GSN", cgsn},  {"+CIMI", cimi},       {"+CRSM", crsm},
  };
  return table;
}

const std::vector<StatusReport>& standard_reports() {
  static const std::vector<StatusReport> reports = {report_creg, report_cgreg};
  return reports;
}

}  // namespace modemsim

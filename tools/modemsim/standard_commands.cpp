#include "standard_commands.h"

#include <cstdlib>

namespace modemsim {

long number(const std::string& text) {
  if (text.empty()) return -1;
  char* end = nullptr;
  long n = std::strtol(text.c_str(), &end, 10);
  return *end == '\0' && n >= 0 ? n : -1;
}

std::string arg(const std::vector<std::string>& args, std::size_t i) {
  return i < args.size() ? args[i] : std::string();
}

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

namespace {

// Settings that ATZ and AT&F bring back; the radio and the SMS prompt are not settings.
void restore_settings(ModemModel& m) {
  ModemSession defaults = m.start_session();
  defaults.cfun = m.session().cfun;
  defaults.message_reference = m.session().message_reference;
  m.session() = defaults;
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

Reply cmee(ModemModel& m, const Command& c) {
  return small_setting(c, "+CMEE: ", m.session().cmee, 2, 50);
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

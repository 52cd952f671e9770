#include "standard_commands.h"
#include "ussd_coding.h"

namespace modemsim {

namespace {

// The answer to a code or a menu reply: first the one defined for the whole path of the open
// session ("*111#>1>2"), then the one for the reply alone.
UssdAnswer ussd_answer(ModemModel& m, const std::string& path, const std::string& code) {
  const auto& answers = m.config().ussd;
  if (!path.empty()) {
    auto in_session = answers.find(path + ">" + code);
    if (in_session != answers.end()) return in_session->second;
  }
  auto known = answers.find(code);
  return known != answers.end() ? known->second : UssdAnswer{0, "Unknown service code"};
}

std::string cusd_line(const UssdAnswer& answer) {
  std::string line = "+CUSD: " + std::to_string(answer.status);
  if (!answer.has_text) return line;
  switch (answer.coding) {
    case UssdCoding::Plain:
      return line + ",\"" + answer.text + "\",15";
    case UssdCoding::Gsm7:
      return line + ",\"" + gsm7_packed_hex(answer.text) + "\",15";
    case UssdCoding::Ucs2:
      return line + ",\"" + ucs2_hex(answer.text) + "\",72";
  }
  return line;
}

}  // namespace

Reply cusd(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Read)
    return Reply::ok({"+CUSD: " + std::to_string(m.session().cusd_n)});
  if (c.kind == CommandKind::Test) return Reply::ok({"+CUSD: (0-2)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  long n = number(arg(args, 0));
  std::string& path = m.session().ussd_path;
  if (n == 2) {
    path.clear();
    return Reply::ok();
  }
  if (n != 0 && n != 1) return Reply::cme(50);
  m.session().cusd_n = static_cast<int>(n);
  std::string code = arg(args, 1);
  if (code.empty()) return Reply::ok();
  if (!m.registered()) return Reply::cme(30);
  if (n == 1) {
    // A new code starts a new session; anything else answers the open one.
    if (!code.empty() && code[0] == '*') path.clear();
    const UssdAnswer answer = ussd_answer(m, path, code);
    path = answer.status == 1 && !answer.silent ? (path.empty() ? code : path + ">" + code) : "";
    if (!answer.silent) {
      const int delay = answer.delay_ms >= 0 ? answer.delay_ms : int(m.config().ussd_delay_ms);
      m.queue_line(static_cast<unsigned>(delay), cusd_line(answer));
    }
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
  // A modem still starting its SMS service refuses the setting for a while.
  if (m.config().cnmi_busy > 0) {
    --m.config().cnmi_busy;
    return Reply::cms(500);
  }
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

}  // namespace modemsim

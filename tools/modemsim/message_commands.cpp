#include "standard_commands.h"

namespace modemsim {

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

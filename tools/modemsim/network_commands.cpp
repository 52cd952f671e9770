#include <cstdio>

#include "standard_commands.h"

namespace modemsim {
namespace {

std::string hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// What separates the fields of a registration line.
std::string field_separator(ModemModel& m) {
  return m.config().registration_blanks ? ", " : ",";
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
  std::string sep = field_separator(m);
  std::string text = sep + quote + hex(r.lac, 4) + quote + sep + quote + hex(ci, digits) + quote;
  if (config.location_act) text += sep + std::to_string(access_technology(v.technology));
  return text;
}

Reply registration_status(ModemModel& m, const Command& c, const char* prefix, int& n) {
  if (c.kind != CommandKind::Read) return small_setting(c, prefix, n, 2, 50);
  NetworkView v = m.view();
  std::string line =
      prefix + std::to_string(n) + field_separator(m) + std::to_string(v.registration.stat);
  return Reply::ok({n == 2 ? line + location(m, v) : line});
}

std::string operator_in_format(ModemModel& m, int format) {
  if (format == 1) return m.config().operator_short;
  if (format == 2) return m.config().operator_code;
  return m.config().operator_name;
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

}  // namespace

Reply creg(ModemModel& m, const Command& c) {
  return registration_status(m, c, "+CREG: ", m.session().creg_n);
}

Reply cgreg(ModemModel& m, const Command& c) {
  return registration_status(m, c, "+CGREG: ", m.session().cgreg_n);
}

Reply csq(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok({"+CSQ: (0-31,99),(0-7,99)"});
  if (c.kind != CommandKind::Action) return Reply::error();
  NetworkView v = m.view();
  std::string prefix = m.config().csq_blank ? "+CSQ: " : "+CSQ:";
  return Reply::ok({prefix + std::to_string(v.rssi) + "," + std::to_string(v.ber)});
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

void report_creg(ModemModel& m, const NetworkView& before, const NetworkView& now) {
  report(m, m.session().creg_n, "+CREG: ", before, now);
}

void report_cgreg(ModemModel& m, const NetworkView& before, const NetworkView& now) {
  report(m, m.session().cgreg_n, "+CGREG: ", before, now);
}

}  // namespace modemsim

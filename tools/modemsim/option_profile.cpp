// An Option modem: the cell type on the GSM side (_OCTI) and on the WCDMA side (_OWCTI), whether
// an HSDPA call is in progress (_OHCIP), the network-mode setting (_OPSYS), and the reports of
// signal quality, system and antenna level that _OSQI, _OSSYS and _OEANT switch on; its hardware
// version (_OHWV) and serial number (behind the IMEI in +CGSN).

#include "device_info_commands.h"
#include "mode_fields.h"
#include "modem_model.h"
#include "vendor_keys.h"

namespace modemsim {
namespace {

// _OPSYS: mode (0 GSM only, 1 UMTS only, 2 GSM preferred, 3 UMTS preferred, 5 automatic) and
// domain (0 circuit, 1 packet, 2 both, 3 any).
const std::vector<ModeField>& opsys_fields() {
  static const std::vector<ModeField> fields = {
      {"opsys_mode", {0, 1, 2, 3, 5}, std::nullopt},
      {"opsys_domain", {0, 1, 2, 3}, std::nullopt},
  };
  return fields;
}

RadioMode radio_mode(ModemModel& m) {
  return radio_mode_of(m, "opsys_mode", 0, 1);
}

// The GSM-side cell type: 0 none (or a WCDMA cell), 1 GSM, 2 GPRS, 3 EDGE.
int gsm_cell(Technology technology) {
  switch (technology) {
    case Technology::Gsm:
      return 1;
    case Technology::Gprs:
      return 2;
    case Technology::Edge:
      return 3;
    default:
      return 0;
  }
}

// The WCDMA-side cell type: 0 none (or a GSM cell), 1 WCDMA, 2 HSDPA, 3 HSUPA, 4 both.
int wcdma_cell(Technology technology) {
  switch (technology) {
    case Technology::Umts:
      return 1;
    case Technology::Hsdpa:
      return 2;
    case Technology::Hsupa:
      return 3;
    case Technology::Hspa:
      return 4;
    default:
      return 0;
  }
}

// The system of _OSSYSI: 0 GSM, 2 UTRAN, 3 none.
int system_of(Technology technology) {
  if (technology == Technology::None) return 3;
  return is_umts(technology) ? 2 : 0;
}

// The antenna level of _OEANT, 0 to 4 bars.
int antenna_level(int rssi) {
  if (rssi == 99) return 0;
  return rssi / 6 > 4 ? 4 : rssi / 6;
}

// A report switch (_OSQI, _OSSYS, _OEANT, _OCTI): 0 off, 1 on.
Reply report_switch(ModemModel& m, const Command& c, const std::string& key,
                    const std::string& read) {
  int& setting = session_setting(m, key);
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({c.name + ": " + read});
    case CommandKind::Test:
      return Reply::ok({c.name + ": (0-1)"});
    case CommandKind::Set:
      if (c.args != "0" && c.args != "1") return Reply::cme(50);
      setting = c.args == "1";
      return Reply::ok();
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

Reply osqi(ModemModel& m, const Command& c) {
  return report_switch(m, c, "osqi", std::to_string(session_setting(m, "osqi")));
}

Reply ossys(ModemModel& m, const Command& c) {
  return report_switch(m, c, "ossys", std::to_string(session_setting(m, "ossys")));
}

Reply oeant(ModemModel& m, const Command& c) {
  return report_switch(m, c, "oeant", std::to_string(session_setting(m, "oeant")));
}

// _OCTI?: the report switch, then the GSM-side cell type.
Reply octi(ModemModel& m, const Command& c) {
  return report_switch(
      m, c, "octi",
      std::to_string(session_setting(m, "octi")) + "," + std::to_string(gsm_cell(m.technology())));
}

Reply owcti(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Read && c.kind != CommandKind::Action) return Reply::error();
  return Reply::ok({"_OWCTI: " + std::to_string(wcdma_cell(m.technology()))});
}

// _OHCIP?: 1 while a data call runs in an HSDPA cell.
Reply ohcip(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Read && c.kind != CommandKind::Action) return Reply::error();
  bool online = false;
  for (const auto& [cid, context] : m.config().contexts) online = online || context.active;
  bool hsdpa = wcdma_cell(m.technology()) >= 2;
  return Reply::ok({std::string("_OHCIP: ") + (online && hsdpa ? "1" : "0")});
}

Reply opsys(ModemModel& m, const Command& c) {
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({"_OPSYS: " + read_mode_fields(m, opsys_fields())});
    case CommandKind::Test:
      return Reply::ok({"_OPSYS: (0-3,5),(0-3)"});
    case CommandKind::Set:
      return write_mode_fields(m, c, opsys_fields());
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

void report(ModemModel& m, const NetworkView& before, const NetworkView& now) {
  if (session_setting(m, "osqi") != 0 && (before.rssi != now.rssi || before.ber != now.ber)) {
    m.queue_line(0, "_OSIGQ: " + std::to_string(now.rssi) + "," + std::to_string(now.ber));
  }
  if (session_setting(m, "ossys") != 0 &&
      system_of(before.technology) != system_of(now.technology)) {
    m.queue_line(0, "_OSSYSI: " + std::to_string(system_of(now.technology)));
  }
  if (session_setting(m, "oeant") != 0 && antenna_level(before.rssi) != antenna_level(now.rssi)) {
    m.queue_line(0, "_OEANT: " + std::to_string(antenna_level(now.rssi)));
  }
}

}  // namespace

const Profile& option_profile() {
  static const Profile profile = [] {
    Profile p;
    p.name = "option";
    p.commands = {
        {"_OCTI", octi},         {"_OWCTI", owcti},          {"_OHCIP", ohcip},
        {"_OPSYS", opsys},       {"_OSSYS", ossys},          {"_OSQI", osqi},
        {"_OEANT", oeant},       {"_OHWV", option_hardware}, {"+CGSN", option_serial},
        {"+GSN", option_serial},
    };
    p.reports = {report};
    p.vendor_keys = {{"opsys_mode", {"3", store_decimal}}, {"opsys_domain", {"2", store_decimal}}};
    p.session_keys = {{"octi", 0}, {"osqi", 0}, {"ossys", 0}, {"oeant", 0}};
    p.identity = {
        {"manufacturer", "Option N.V."}, {"serial", "0AF06971A2113"}, {"hardware", "1.0.2"}};
    p.radio_mode = radio_mode;
    return p;
  }();
  return profile;
}

}  // namespace modemsim

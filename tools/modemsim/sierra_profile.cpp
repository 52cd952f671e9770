// A Sierra Wireless modem: the technology in use as a word (*CNTI), the network-mode setting
// (^SYSCONFIG) and its hardware version (^HVER).

#include "device_info_commands.h"
#include "mode_fields.h"
#include "modem_model.h"
#include "vendor_keys.h"

namespace modemsim {
namespace {

// ^SYSCONFIG: mode (2 automatic, 13 GSM only, 14 WCDMA only), acquisition order (0 automatic,
// 1 GSM first, 2 WCDMA first), roaming, service domain. In a write, 16, 3, 2 and 4 leave their
// field as it is.
const std::vector<ModeField>& sysconfig_fields() {
  static const std::vector<ModeField> fields = {
      {"sysconfig_mode", {2, 13, 14}, 16},
      {"sysconfig_order", {0, 1, 2}, 3},
      {"sysconfig_roam", {0, 1}, 2},
      {"sysconfig_domain", {0, 1, 2, 3}, 4},
  };
  return fields;
}

RadioMode radio_mode(ModemModel& m) {
  return radio_mode_of(m, "sysconfig_mode", 13, 14);
}

const char* word_of(Technology technology) {
  switch (technology) {
    case Technology::None:
      break;
    case Technology::Gsm:
      return "GSM";
    case Technology::Gprs:
      return "GPRS";
    case Technology::Edge:
      return "EDGE";
    case Technology::Umts:
      return "UMTS";
    case Technology::Hsdpa:
      return "HSDPA";
    case Technology::Hsupa:
      return "HSUPA";
    case Technology::Hspa:
      return "HSPA";
  }
  return "NONE";
}

// *CNTI=0: the technology in use; =1: those the network offers here; =2: those the modem knows.
Reply cnti(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok({"*CNTI: (0-2)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  static const std::string kAll = "GSM,GPRS,EDGE,UMTS,HSDPA,HSUPA,HSPA";
  if (c.args == "0") return Reply::ok({std::string("*CNTI: 0,") + word_of(m.technology())});
  if (c.args == "1") return Reply::ok({"*CNTI: 1," + (m.registered() ? kAll : "NONE")});
  if (c.args == "2") return Reply::ok({"*CNTI: 2," + kAll});
  return Reply::cme(50);
}

Reply sysconfig(ModemModel& m, const Command& c) {
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({"^SYSCONFIG:" + read_mode_fields(m, sysconfig_fields())});
    case CommandKind::Test:
      return Reply::ok({"^SYSCONFIG:(2,13,14,16),(0-3),(0-2),(0-4)"});
    case CommandKind::Set:
      return write_mode_fields(m, c, sysconfig_fields());
    case CommandKind::Action:
      break;
  }
  return Reply::error();
}

}  // namespace

const Profile& sierra_profile() {
  static const Profile profile = [] {
    Profile p;
    p.name = "sierra";
    p.commands = {{"*CNTI", cnti}, {"^SYSCONFIG", sysconfig}, {"^HVER", sierra_hardware}};
    p.vendor_keys = {
        {"sysconfig_mode", {"2", store_decimal}},
        {"sysconfig_order", {"2", store_decimal}},
        {"sysconfig_roam", {"1", store_decimal}},
        {"sysconfig_domain", {"2", store_decimal}},
    };
    p.identity = {{"manufacturer", "Sierra Wireless, Incorporated"}, {"hardware", "1.0"}};
    p.radio_mode = radio_mode;
    return p;
  }();
  return profile;
}

}  // namespace modemsim

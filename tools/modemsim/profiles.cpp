#include "modem_model.h"

namespace modemsim {
namespace {

// $NWRAT: network mode (0 automatic, 1 GPRS/EDGE only, 2 3G only), a second value, and the
// network in use (0 none, 2 3G, 3 HSDPA, 5 GPRS, 6 EDGE).
Reply nwrat(ModemModel& m, const Command& c) {
  auto& keys = m.config().vendor;
  if (c.kind == CommandKind::Test) return Reply::ok({"$NWRAT: (0-2),(0-2)"});
  if (c.kind == CommandKind::Read) {
    int stat = m.registration().stat;
    std::string network = stat == 1 || stat == 5 ? keys["nwrat_network"] : "0";
    return Reply::ok(
        {"$NWRAT: " + keys["nwrat_mode"] + "," + keys["nwrat_second"] + "," + network});
  }
  if (c.kind != CommandKind::Set) return Reply::error();
  auto args = split_args(c.args);
  if (args.size() != 2 || (args[0] != "0" && args[0] != "1" && args[0] != "2") ||
      (args[1] != "0" && args[1] != "1" && args[1] != "2")) {
    return Reply::cme(50);
  }
  keys["nwrat_mode"] = args[0];
  keys["nwrat_second"] = args[1];
  return Reply::ok();
}

// $NWPDN=0 takes the packet data network down.
Reply nwpdn(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Set || (c.args != "0" && c.args != "1")) return Reply::error();
  if (c.args == "0") {
    for (auto& [cid, context] : m.config().contexts) context.active = false;
  }
  return Reply::ok();
}

Reply nwiccid(ModemModel& m, const Command& c) {
  if (c.kind != CommandKind::Read) return Reply::error();
  return Reply::ok({"$NWICCID: " + m.config().iccid});
}

}  // namespace

const Profile& standard_profile() {
  static const Profile profile{"standard", {}, {}, {}, false};
  return profile;
}

const Profile& novatel_profile() {
  static const Profile profile{
      "novatel", {{"$NWRAT", nwrat}, {"$NWPDN", nwpdn}, {"$NWICCID", nwiccid}},
      {},        {{"nwrat_mode", "0"}, {"nwrat_second", "1"}, {"nwrat_network", "2"}},
      true,
  };
  return profile;
}

const Profile* find_profile(std::string_view name) {
  for (const Profile* profile : {&standard_profile(), &novatel_profile()}) {
    if (profile->name == name) return profile;
  }
  return nullptr;
}

}  // namespace modemsim

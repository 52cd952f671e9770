// A Novatel modem: AT commands travel in diagnostic frames; the network mode and the network in
// use ($NWRAT), taking the packet data network down ($NWPDN), the ICCID in reading order.

#include "mode_fields.h"
#include "modem_model.h"
#include "vendor_keys.h"

namespace modemsim {
namespace {

// $NWRAT: network mode (0 automatic, 1 GPRS/EDGE only, 2 3G only) and a second value.
const std::vector<ModeField>& nwrat_fields() {
  static const std::vector<ModeField> fields = {
      {"nwrat_mode", {0, 1, 2}, std::nullopt},
      {"nwrat_second", {0, 1, 2}, std::nullopt},
  };
  return fields;
}

RadioMode radio_mode(ModemModel& m) {
  return radio_mode_of(m, "nwrat_mode", 1, 2);
}

// The network of $NWRAT, by technology: 0 none, 1 GSM, 2 3G, 3 HSDPA, 4 HSUPA, 5 GPRS, 6 EDGE,
// 7 HSDPA and HSUPA.
constexpr Technology kNetworks[] = {
    Technology::None,  Technology::Gsm,  Technology::Umts, Technology::Hsdpa,
    Technology::Hsupa, Technology::Gprs, Technology::Edge, Technology::Hspa,
};

int network_of(Technology technology) {
  for (int network = 0; network < 8; ++network) {
    if (kNetworks[network] == technology) return network;
  }
  return 0;
}

// `set nwrat_network N` sets the technology that Novatel reports as network N (1 to 7).
bool set_network(ModemModel& m, const std::string&, std::string_view value) {
  auto network = parse_number(value);
  if (!network || *network < 1 || *network > 7) return false;
  m.config().tech = kNetworks[*network];
  return true;
}

Reply nwrat(ModemModel& m, const Command& c) {
  switch (c.kind) {
    case CommandKind::Read:
      return Reply::ok({"$NWRAT: " + read_mode_fields(m, nwrat_fields()) + "," +
                        std::to_string(network_of(m.technology()))});
    case CommandKind::Test:
      return Reply::ok({"$NWRAT: (0-2),(0-2)"});
    case CommandKind::Set:
      return write_mode_fields(m, c, nwrat_fields());
    case CommandKind::Action:
      break;
  }
  return Reply::error();
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

const Profile& novatel_profile() {
  static const Profile profile = [] {
    Profile p;
    p.name = "novatel";
    p.commands = {{"$NWRAT", nwrat}, {"$NWPDN", nwpdn}, {"$NWICCID", nwiccid}};
    p.vendor_keys = {
        {"nwrat_mode", {"0", store_decimal}},
        {"nwrat_second", {"1", store_decimal}},
        {"nwrat_network", {"", set_network}},
    };
    p.identity = {{"manufacturer", "Novatel Wireless Incorporated"}};
    p.radio_mode = radio_mode;
    p.diag_frames = true;
    return p;
  }();
  return profile;
}

}  // namespace modemsim

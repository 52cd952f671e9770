#include "device_info_commands.h"

namespace modemsim {
namespace {

Reply identity_line(const Command& c, std::string line) {
  if (c.kind == CommandKind::Test) return Reply::ok();
  if (c.kind != CommandKind::Action) return Reply::error();
  return Reply::ok({std::move(line)});
}

bool store_text(ModemModel& m, const std::string& key, std::string_view value) {
  m.config().vendor[key] = std::string(value);
  return true;
}

}  // namespace

Reply huawei_serial(ModemModel& m, const Command& c) {
  return identity_line(c, "^SN: " + m.config().serial);
}

Reply huawei_hardware(ModemModel& m, const Command& c) {
  return identity_line(c, "^HWVER:\"" + m.config().hardware + "\"");
}

// ^SPN=<type> (0 the GSM file, 1 the USIM one): whether the name is to be shown, its coding
// (0 GSM alphabet) and the name. A SIM without one gives the empty file's bytes.
Reply huawei_provider_name(ModemModel& m, const Command& c) {
  if (c.kind == CommandKind::Test) return Reply::ok({"^SPN: (0,1)"});
  if (c.kind != CommandKind::Set) return Reply::error();
  if (c.args != "0" && c.args != "1") return Reply::cme(50);
  if (m.sim_error() != 0) return Reply::cme(m.sim_error());
  std::string name = m.config().vendor["spn"];
  if (name.empty()) name = std::string(32, 'F');
  return Reply::ok({"^SPN:0,0," + name});
}

VendorKey provider_name_key() {
  return {"Simnet", store_text};
}

Reply option_hardware(ModemModel& m, const Command& c) {
  return identity_line(c, "_OHWV: " + m.config().hardware);
}

Reply option_serial(ModemModel& m, const Command& c) {
  return identity_line(c, m.config().imei + "," + m.config().serial);
}

// The version sits behind a blank and the opening quote.
Reply sierra_hardware(ModemModel& m, const Command& c) {
  return identity_line(c, "^HVER: \"" + m.config().hardware + "\"");
}

}  // namespace modemsim

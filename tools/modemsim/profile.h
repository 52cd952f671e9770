#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "modem_state.h"
#include "technology.h"

namespace modemsim {

class ModemModel;

// What one command answers besides its information lines.
enum class FinalResult { Ok, Error, CmeError, CmsError, Prompt };

struct Reply {
  std::vector<std::string> lines;  // information lines, each sent framed as "\r\n<line>\r\n"
  FinalResult final = FinalResult::Ok;
  int code = 0;  // the +CME or +CMS error number

  static Reply ok(std::vector<std::string> lines = {}) { return {std::move(lines)}; }
  static Reply error() { return {{}, FinalResult::Error}; }
  static Reply cme(int code) { return {{}, FinalResult::CmeError, code}; }
  static Reply cms(int code) { return {{}, FinalResult::CmsError, code}; }
  static Reply prompt() { return {{}, FinalResult::Prompt}; }
};

using CommandHandler = Reply (*)(ModemModel&, const Command&);
using CommandTable = std::map<std::string, CommandHandler>;

// Where the modem is registered; stat 0 while the radio is off or the SIM is locked.
struct Registration {
  int stat = 0;
  unsigned lac = 0;
  unsigned ci = 0;
  bool operator==(const Registration& o) const {
    return stat == o.stat && lac == o.lac && ci == o.ci;
  }
  bool operator!=(const Registration& o) const { return !(*this == o); }
};

// What the modem's unsolicited reports describe. The model compares it before and after every
// command and every `set`, and lets each report speak about the difference.
struct NetworkView {
  bool radio_on = false;
  Registration registration;
  int rssi = 99;  // as +CSQ reports them: 99 while the radio is off
  int ber = 99;
  Technology technology = Technology::None;  // None while not registered
  bool operator==(const NetworkView& o) const {
    return radio_on == o.radio_on && registration == o.registration && rssi == o.rssi &&
           ber == o.ber && technology == o.technology;
  }
};

// Queues the unsolicited lines that a change of the view causes.
using StatusReport = void (*)(ModemModel&, const NetworkView& before, const NetworkView& now);

// A key that a profile adds to `set`: its start value, kept in ModemConfig::vendor (none for a
// key that changes other state), and what checks and applies a value, false when it is bad.
struct VendorKey {
  std::string start;
  bool (*apply)(ModemModel&, const std::string& key, std::string_view value) = nullptr;
};

// A vendor's modem: the commands and reports it adds to (or changes in) the standard 3GPP
// modem, its own settable keys and session settings, and whether its port speaks the
// diagnostic framing.
struct Profile {
  std::string name;
  CommandTable commands;
  std::vector<StatusReport> reports;
  std::map<std::string, VendorKey> vendor_keys;
  std::map<std::string, int> session_keys;      // settings a restart resets, with start values
  std::map<std::string, std::string> identity;  // standard keys it starts with other values of
  // Which radio networks its network-mode setting allows; a write of the setting moves the
  // modem to one of them. Null: the profile has no such setting.
  RadioMode (*radio_mode)(ModemModel&) = nullptr;
  // Queues what it says once it has restarted; null: nothing.
  void (*on_restart)(ModemModel&) = nullptr;
  // The line a connected modem sends about its traffic every flow interval (empty: nothing this
  // time); null: the modem never reports it.
  std::string (*flow_report)(ModemModel&, const FlowSample&) = nullptr;
  bool diag_frames = false;
};

// Every command and report of a standard 3GPP modem.
const CommandTable& standard_commands();
const std::vector<StatusReport>& standard_reports();

const Profile& standard_profile();
const Profile& huawei_profile();
const Profile& option_profile();
const Profile& novatel_profile();
const Profile& sierra_profile();
const Profile& nokia_profile();
// The profile of that name, or null.
const Profile* find_profile(std::string_view name);

}  // namespace modemsim

#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"

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
};

// Queues the unsolicited lines that a change of registration causes.
using RegistrationReport = void (*)(ModemModel&, const Registration& before,
                                    const Registration& now);

// A vendor's modem: the commands and reports it adds to (or changes in) the standard 3GPP
// modem, its own settable keys, and whether its port speaks the diagnostic framing.
struct Profile {
  std::string name;
  CommandTable commands;
  std::vector<RegistrationReport> registration_reports;
  std::map<std::string, std::string> vendor_keys;  // key -> value at start
  bool diag_frames = false;
};

// Every command and report of a standard 3GPP modem.
const CommandTable& standard_commands();
const std::vector<RegistrationReport>& standard_registration_reports();

const Profile& standard_profile();
const Profile& novatel_profile();
// The profile of that name, or null.
const Profile* find_profile(std::string_view name);

}  // namespace modemsim

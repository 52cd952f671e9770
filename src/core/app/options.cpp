#include "app/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kivo {

const char kCommandLineHelpCaption[] = "KIVO Command Line Help";

const char kCommandLineHelp[] =
    "Usage:\r"
    "kivo [/port:COM<x> [/commandset:<command set>]] [/hexprofiles] [/sessionlog] [/nopollcid]\r"
    "\r"
    "/commandset may only be specified if /port is specified\r"
    "<command set> may be Huawei, Option, Novatel, Sierra or Nokia\r"
    "if /commandset is not specified, only standard commands are used\r"
    "\r"
    "/hexprofiles\tenables display of assigned profiles in raw hexadecimal format (debug)\r"
    "/sessionlog\tkeeps a log of data used per session (experimental)\r"
    "/nopollcid\t\tdisables Cell ID polling";

namespace {

struct CommandSetName {
  const char* name;
  CommandSet command_set;
};

// Compared in this order, each over the length of its name only, so "NOVATELS" still matches.
constexpr CommandSetName kCommandSetNames[] = {
    {"HUAWEI", CommandSet::Huawei},   {"OPTION", CommandSet::Option},
    {"NOVATEL", CommandSet::Novatel}, {"SIERRA", CommandSet::Sierra},
    {"NOKIA", CommandSet::Nokia},
};

void make_upper_case(char* text) {
  for (char* c = text; *c; ++c)
    if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
}

}  // namespace

bool set_port_name(Options& options, const char* name) {
  std::size_t length = std::strlen(name);
  if (length > kMaxPortNameLength) return false;
  std::memcpy(options.port_name, name, length + 1);
  return true;
}

CommandLineResult parse_command_line(char* text, Options& options, CommandSet& command_set) {
  options = Options{};
  command_set = CommandSet::Standard;
  make_upper_case(text);

  if (std::strstr(text, "/?")) return CommandLineResult::ShowHelp;
  if (std::strstr(text, "/SESSIONLOG")) options.session_log = true;
  if (std::strstr(text, "/HEXPROFILES")) options.hex_profiles = true;
  if (std::strstr(text, "/NOPOLLCID")) options.no_poll_cell_id = true;

  static constexpr char kPortSwitch[] = "/PORT:";
  const char* port = std::strstr(text, kPortSwitch);
  if (!port) return CommandLineResult::Run;
  port += sizeof(kPortSwitch) - 1;
  if (std::strncmp(port, "COM", 3) != 0) return CommandLineResult::Run;
  unsigned long number = std::strtoul(port + 3, nullptr, 10);
  // Only a number that fits the program's "COM%d" is a port; anything larger is no port at all.
  if (number == 0 || number > 0x7FFFFFFFul) return CommandLineResult::Run;
  std::snprintf(options.port_name, sizeof(options.port_name), "COM%lu", number);
  options.port_given = true;

  static constexpr char kCommandSetSwitch[] = "/COMMANDSET:";
  const char* name = std::strstr(text, kCommandSetSwitch);
  if (!name) return CommandLineResult::Run;
  name += sizeof(kCommandSetSwitch) - 1;
  for (const auto& candidate : kCommandSetNames) {
    if (std::strncmp(name, candidate.name, std::strlen(candidate.name)) == 0) {
      command_set = candidate.command_set;
      break;
    }
  }
  return CommandLineResult::Run;
}

}  // namespace kivo

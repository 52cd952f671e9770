#pragma once

#include <cstddef>

#include "base/command_set.h"
#include "link/serial_port.h"

namespace kivo {

struct Options {
  char port_name[kMaxPortNameLength + 1] = {};
  bool port_given = false;
  bool session_log = false;
  bool hex_profiles = false;
  bool no_poll_cell_id = false;
};

// Sets `options.port_name`; refuses (and leaves it unchanged) a name longer than 15 characters
// rather than cutting it into the name of some other port.
bool set_port_name(Options& options, const char* name);

extern const char kCommandLineHelp[];
extern const char kCommandLineHelpCaption[];

enum class CommandLineResult { Run, ShowHelp };

// Fills `options` and `command_set` from the command line (the arguments after the program name).
// The text is made upper case in place. ShowHelp means the caller shows the help box and stops.
CommandLineResult parse_command_line(char* text, Options& options, CommandSet& command_set);

}  // namespace kivo

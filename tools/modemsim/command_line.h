#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modemsim {

// How an AT command was written: ATE0 and AT+CSQ are actions, AT+CSQ? reads, AT+CSQ=? tests,
// AT+CMEE=1 sets.
enum class CommandKind { Action, Read, Test, Set };

struct Command {
  std::string name;  // upper case: "E", "&F", "+CSQ", "$NWRAT"
  CommandKind kind = CommandKind::Action;
  std::string args;  // the parameter text: the digits of a basic command, the text after '='
};

// Splits a command line into its commands. The line must begin with "AT" (either case); basic
// commands may follow each other directly, extended ones are separated by ';'. Nothing when the
// line cannot be read.
std::optional<std::vector<Command>> parse_command_line(std::string_view line);

// The comma-separated parameters of a command, each without surrounding blanks and quotes.
std::vector<std::string> split_args(std::string_view args);

// A whole unsigned number of at most 16 digits in `base` (10 or 16), or nothing.
std::optional<unsigned long long> parse_number(std::string_view text, int base = 10);

}  // namespace modemsim

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diag_frames.h"
#include "modem_state.h"

namespace modemsim {

// What a rule does instead of (or around) the modem's own answer.
enum class RuleAction { Answer, Reply, Raw, Silence, Garbage, Unplug };

// `on <pattern> [modifiers] [action]`: how the modem treats the commands the pattern matches.
struct Rule {
  std::string pattern;  // glob over the command line: * any run, ? one character, \ quotes
  int remaining = -1;   // answers left to change; -1 for every one
  unsigned delay_ms = 0;
  std::optional<std::size_t> split_at;  // the answer goes out in two bursts, cut here
  unsigned gap_ms = 20;                 // the pause between the two bursts
  std::optional<unsigned> status;       // the status byte of a diagnostic reply frame
  EscapedByte escape = EscapedByte::None;
  RuleAction action = RuleAction::Answer;
  std::string text;  // the bytes of reply (already framed) and raw
  std::size_t garbage = 0;
};

enum class StepKind {
  Send,
  Raw,
  Set,
  Unplug,
  Silence,
  Stall,
  Garbage,
  Restart,
  Connect,
  Disconnect,
  Spike,
  Cbm,
  Trickle,
  Flood
};

// Something the simulator does at once, or later in `after` and `every`.
struct Step {
  StepKind kind = StepKind::Send;
  std::string text;  // the bytes to send, the key of `set`, or the page of `cbm`
  std::string value;
  bool on = false;
  std::size_t count = 0;      // bytes of garbage, reports a second of a flood
  unsigned seconds = 0;       // of a flood
  std::uint32_t tx_rate = 0;  // of a spike
  std::uint32_t rx_rate = 0;
};

enum class LineKind { Nothing, Rule, Step, After, Every, Ussd };

struct ScenarioLine {
  LineKind kind = LineKind::Nothing;
  Rule rule;
  Step step;
  unsigned ms = 0;
  std::string ussd_code;
  UssdAnswer ussd;
};

// Reads one line of a scenario file or of the control channel. On a mistake returns nothing
// and says what is wrong in `error`.
std::optional<ScenarioLine> parse_scenario_line(std::string_view line, std::string& error);

// Matches a glob pattern against a command line, ignoring the case of letters.
bool glob_match(std::string_view pattern, std::string_view text);

}  // namespace modemsim

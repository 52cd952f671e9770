#pragma once

#include <string_view>

#include "link/at_channel.h"
#include "setup/setup_context.h"

namespace kivo {

// One command of the modem setup that is judged by its answer: accepted when the answer
// contains one of `accepted`; otherwise the error box `box` (its "%s" filled with the answer)
// is shown, and the setup either goes on or, when `stops`, ends with InitError.
struct CheckedCommand {
  const char* command;      // with its CR LF
  const char* accepted[2];  // null: no further answer
  const char* box;
  bool stops;
};

// Sends the command and judges its answer. False when the setup must end.
bool run_checked(const SetupContext& context, const CheckedCommand& checked);

// The answer holds `text` anywhere (case-sensitive).
bool contains(const Reply& reply, const char* text);
// The answer begins with `prefix`, letter case aside.
bool begins_with_ignoring_case(const Reply& reply, std::string_view prefix);

// Shows an error box naming what was received; `format` has one "%s".
void show_unexpected_answer(const SetupContext& context, const char* format, const Reply& reply);

}  // namespace kivo

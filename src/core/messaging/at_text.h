#pragma once

#include <string_view>

namespace kivo {

// Whether what the user typed may stand between the double quotes of an AT command: a double
// quote would end the string early and a control character (CR above all) the command line,
// letting the rest pass as a command of its own.
bool fits_in_quoted_at_string(std::string_view text);

}  // namespace kivo

#include "link/mode_parser.h"

#include "link/number_reader.h"

namespace kivo {

bool parse_mode(std::string_view text, ModeReport& report) {
  constexpr std::string_view kPrefix = "^MODE:";
  if (!starts_with(text, kPrefix)) return false;
  const std::string_view line = first_line(text);
  const NumberReading sys = read_number(line, kPrefix.size());
  const NumberReading sub = read_number(line, sys.end + 1);
  report.sys_mode = sys.value;
  report.sub_mode = sub.value;
  return true;
}

}  // namespace kivo

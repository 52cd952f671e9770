#include "link/boot_parser.h"

#include "link/number_reader.h"

namespace kivo {

bool parse_boot(std::string_view text, BootReport& report) {
  constexpr std::string_view kPrefix = "^BOOT:";
  if (!starts_with(text, kPrefix)) return false;
  const std::string_view line = first_line(text);
  report = BootReport{};
  std::size_t pos = kPrefix.size();
  for (std::size_t i = 0; i < BootReport::kCount; ++i) {
    const NumberReading n = read_number(line, pos);
    report.values[i] = n.value;
    pos = n.end + 1;
  }
  return true;
}

}  // namespace kivo

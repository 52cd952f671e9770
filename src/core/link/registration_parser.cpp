#include "link/registration_parser.h"

#include "link/number_reader.h"

namespace kivo {

namespace {

char char_at(std::string_view s, std::size_t i) {
  return i < s.size() ? s[i] : '\0';
}

// Skips an optional double quote at `pos`.
std::size_t skip_quote(std::string_view s, std::size_t pos) {
  return char_at(s, pos) == '"' ? pos + 1 : pos;
}

}  // namespace

bool parse_cgreg_report(std::string_view text, RegistrationReport& report) {
  constexpr std::string_view kPrefix = "+CGREG:";
  if (!starts_with(text, kPrefix)) return false;
  const std::string_view line = first_line(text);
  report = RegistrationReport{};
  // stat: read 8 characters after the start (behind "+CGREG: ").
  const NumberReading stat = read_number(line, 8);
  report.stat = stat.value;
  std::size_t pos = stat.end;
  if (char_at(line, pos) != ',') return true;  // status only
  pos = skip_quote(line, pos + 1);
  const NumberReading lac = read_number(line, pos, 16);
  report.lac = lac.value;
  pos = skip_quote(line, lac.end);
  if (char_at(line, pos) != ',') return false;  // two fields: the read-command answer
  pos = skip_quote(line, pos + 1);
  const NumberReading ci = read_number(line, pos, 16);
  report.ci = ci.value;
  pos = skip_quote(line, ci.end);
  return char_at(line, pos) != ',';  // a fourth (or further) field: not a report
}

bool parse_cgreg_read(std::string_view text, RegistrationReport& report) {
  constexpr std::string_view kPrefix = "+CGREG:";
  if (!starts_with(text, kPrefix)) return false;
  const std::string_view line = first_line(text);
  report = RegistrationReport{};
  const std::size_t comma = line.find(',', 8);  // behind n
  if (comma == std::string_view::npos) return false;
  const NumberReading stat = read_number(line, comma + 1);
  report.stat = stat.value;
  std::size_t pos = stat.end;
  if (char_at(line, pos) != ',') return true;  // no location
  const NumberReading lac = read_number(line, skip_quote(line, pos + 1), 16);
  report.lac = lac.value;
  pos = skip_quote(line, lac.end);
  if (char_at(line, pos) != ',') return false;
  report.ci = read_number(line, skip_quote(line, pos + 1), 16).value;
  return true;
}

}  // namespace kivo

#include "link/registration_parser.h"

#include "link/number_reader.h"

namespace kivo {

namespace {

constexpr std::string_view kPrefix = "+CGREG:";
// Fields are read from here on, behind "+CGREG: ".
constexpr std::size_t kFieldsStart = 8;

// The comma-separated fields of a line. Blanks around a field and its double quotes are not
// part of it: modems write `2,1,"00A1"` as well as `2, 1, 00A1`.
struct Fields {
  static constexpr std::size_t kKept = 4;
  std::string_view text[kKept];
  bool quoted[kKept] = {};
  std::size_t count = 0;  // all fields, also those beyond the kept ones
};

std::string_view trim_blanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

Fields split_fields(std::string_view line) {
  Fields fields;
  const std::string_view rest = line.size() > kFieldsStart ? line.substr(kFieldsStart) : "";
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = rest.find(',', start);
    std::string_view field = trim_blanks(rest.substr(start, comma - start));
    if (fields.count < Fields::kKept) {
      const bool quoted = !field.empty() && field.front() == '"';
      if (quoted) field.remove_prefix(1);
      if (!field.empty() && field.back() == '"') field.remove_suffix(1);
      fields.text[fields.count] = field;
      fields.quoted[fields.count] = quoted;
    }
    ++fields.count;
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

std::uint32_t decimal(const Fields& fields, std::size_t i) {
  return read_number(fields.text[i], 0).value;
}

std::uint32_t hexadecimal(const Fields& fields, std::size_t i) {
  return read_number(fields.text[i], 0, 16).value;
}

}  // namespace

bool parse_cgreg_report(std::string_view text, RegistrationReport& report) {
  if (!starts_with(text, kPrefix)) return false;
  const Fields fields = split_fields(first_line(text));
  report = RegistrationReport{};
  report.stat = decimal(fields, 0);
  if (fields.count == 1) return true;
  // Four fields are a report only with a quoted LAC second, as in `1,"00A1","01B2C3D4",2`: the
  // read answer has the status there.
  const bool location_with_act = fields.count == 4 && fields.quoted[1];
  if (fields.count != 3 && !location_with_act) return false;
  report.lac = hexadecimal(fields, 1);
  report.ci = hexadecimal(fields, 2);
  return true;
}

bool parse_cgreg_read(std::string_view text, RegistrationReport& report) {
  if (!starts_with(text, kPrefix)) return false;
  const Fields fields = split_fields(first_line(text));
  report = RegistrationReport{};
  if (fields.count < 2 || fields.count == 3) return false;  // no status, or a LAC without cell
  report.stat = decimal(fields, 1);
  if (fields.count == 2) return true;
  report.lac = hexadecimal(fields, 2);
  report.ci = hexadecimal(fields, 3);
  return true;
}

}  // namespace kivo

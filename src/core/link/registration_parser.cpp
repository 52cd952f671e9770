#include "link/registration_parser.h"

#include "link/number_reader.h"

namespace kivo {

namespace {

constexpr std::string_view kPrefix = "+CGREG:";
// Fields are read from here on, behind "+CGREG: ".
constexpr std::size_t kFieldsStart = 8;

inline bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

inline bool ends_field(char c) {
  return c == ',' || c == '\r' || c == '\n';
}

// The comma-separated fields of the first line, found in one pass; their numbers are read only
// once the shape of the line says they are wanted. Blanks around a field and its double quotes
// are not part of it: modems write `2,1,"00A1"` as well as `2, 1, 00A1`.
class Fields {
 public:
  static constexpr std::size_t kKept = 4;

  // Finds the fields, at most `limit` of them; count() tells how many there were.
  Fields(std::string_view text, std::size_t limit) : text_(text) {
    // A line that ends before "+CGREG: " is over has one empty field.
    const bool has_rest = text.size() >= kFieldsStart && text[kFieldsStart - 1] != '\r' &&
                          text[kFieldsStart - 1] != '\n';
    std::size_t pos = has_rest ? kFieldsStart : kPrefix.size();
    const std::size_t size = text.size();
    while (count_ < limit) {
      while (pos < size && is_blank(text[pos])) ++pos;
      if (count_ < kKept) starts_[count_] = pos;
      ++count_;
      while (pos < size && !ends_field(text[pos])) ++pos;
      if (pos >= size || text[pos] != ',') break;
      ++pos;
    }
  }

  std::size_t count() const { return count_; }
  bool quoted(std::size_t i) const { return starts_[i] < text_.size() && text_[starts_[i]] == '"'; }
  // The number at the start of field `i` (0 without one).
  std::uint32_t value(std::size_t i, unsigned base) const {
    return read_number(text_, starts_[i] + (quoted(i) ? 1 : 0), base).value;
  }

 private:
  std::string_view text_;
  std::size_t starts_[kKept] = {};
  std::size_t count_ = 0;
};

}  // namespace

// A report has the status alone, or status, LAC and cell; four fields are a report only with a
// quoted LAC second, as in `1,"00A1","01B2C3D4",2`: the read answer has the status there.
bool parse_cgreg_report(std::string_view text, RegistrationReport& report) {
  if (!starts_with(text, kPrefix)) return false;
  report = RegistrationReport{};
  const Fields fields(text, 5);
  const std::size_t count = fields.count();
  if (count == 2 || count == 5 || (count == 4 && !fields.quoted(1))) return false;
  report.stat = fields.value(0, 10);
  if (count == 1) return true;
  report.lac = fields.value(1, 16);
  report.ci = fields.value(2, 16);
  return true;
}

// The read answer: n and status, then LAC and cell when present; further fields are not read.
bool parse_cgreg_read(std::string_view text, RegistrationReport& report) {
  if (!starts_with(text, kPrefix)) return false;
  report = RegistrationReport{};
  const Fields fields(text, 4);
  const std::size_t count = fields.count();
  if (count < 2 || count == 3) return false;  // no status, or a LAC without cell
  report.stat = fields.value(1, 10);
  if (count == 2) return true;
  report.lac = fields.value(2, 16);
  report.ci = fields.value(3, 16);
  return true;
}

}  // namespace kivo

#include "status/mode_setting_parsers.h"

#include <algorithm>

#include "link/number_reader.h"

namespace kivo {

namespace {

// Reads the decimal numbers of `line` one after the other, from `pos`, each one character past
// the end of the one before.
class NumberSequence {
 public:
  NumberSequence(std::string_view line, std::size_t pos) : line_(line), pos_(pos) {}

  std::uint32_t next() {
    const NumberReading r = read_number(line_, pos_);
    pos_ = r.end + 1;
    return r.value;
  }
  // The digits of the next hexadecimal number as they stand in the line.
  std::string next_hex_digits() {
    std::size_t start = std::min(pos_, line_.size());
    while (start < line_.size() && (line_[start] == ' ' || line_[start] == '\t')) ++start;
    const NumberReading r = read_number(line_, start, 16);
    pos_ = (r.found ? r.end : pos_) + 1;
    return std::string(line_.substr(start, r.end - start));
  }

 private:
  std::string_view line_;
  std::size_t pos_;
};

}  // namespace

bool parse_syscfg(std::string_view text, SysCfg& setting) {
  if (!starts_with(text, "^SYSCFG:")) return false;
  NumberSequence numbers(first_line(text), 8);
  setting.mode = numbers.next();
  setting.acq_order = numbers.next();
  setting.band = numbers.next_hex_digits();
  setting.roam = numbers.next();
  setting.srv_domain = numbers.next();
  return true;
}

bool parse_sysconfig(std::string_view text, SysConfig& setting) {
  if (!starts_with(text, "^SYSCONFIG:")) return false;
  NumberSequence numbers(first_line(text), 11);
  setting.mode = numbers.next();
  setting.acq_order = numbers.next();
  setting.roam = numbers.next();
  setting.srv_domain = numbers.next();
  return true;
}

bool parse_opsys(std::string_view text, OpSys& setting) {
  if (!starts_with(text, "_OPSYS:")) return false;
  NumberSequence numbers(first_line(text), 7);
  setting.mode = numbers.next();
  setting.domain = numbers.next();
  return true;
}

bool parse_nwrat(std::string_view text, NwRat& setting) {
  if (!starts_with(text, "$NWRAT:")) return false;
  NumberSequence numbers(first_line(text), 8);  // behind "$NWRAT: "
  setting.mode = numbers.next();
  setting.second = numbers.next();
  setting.network = numbers.next();
  return true;
}

bool parse_sysinfo(std::string_view text, SysInfo& info) {
  if (!starts_with(text, "^SYSINFO:")) return false;
  NumberSequence numbers(first_line(text), 9);
  info.srv_status = numbers.next();
  info.srv_domain = numbers.next();
  info.roam_status = numbers.next();
  info.sys_mode = numbers.next();
  info.sim_state = numbers.next();
  info.lock_state = numbers.next();  // often left empty
  info.sys_submode = numbers.next();
  return true;
}

std::string format_band(std::string_view band, std::size_t min_digits) {
  const std::size_t first = band.find_first_not_of('0');
  std::string digits(first == std::string_view::npos ? "" : band.substr(first));
  for (char& c : digits)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (digits.size() < min_digits) digits.insert(0, min_digits - digits.size(), '0');
  return digits;
}

}  // namespace kivo

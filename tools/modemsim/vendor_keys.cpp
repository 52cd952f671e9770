#include "vendor_keys.h"

namespace modemsim {
namespace {

bool store(ModemModel& m, const std::string& key, std::string_view value, bool valid) {
  if (valid) m.config().vendor[key] = std::string(value);
  return valid;
}

}  // namespace

bool store_decimal(ModemModel& m, const std::string& key, std::string_view value) {
  return store(m, key, value, parse_number(value, 10).has_value());
}

bool store_hex(ModemModel& m, const std::string& key, std::string_view value) {
  return store(m, key, value, parse_number(value, 16).has_value());
}

bool store_decimals(ModemModel& m, const std::string& key, std::string_view value) {
  bool valid = true;
  for (const std::string& number : split_args(value)) valid = valid && parse_number(number);
  return store(m, key, value, valid);
}

unsigned long long vendor_number(ModemModel& m, const std::string& key, int base) {
  return parse_number(m.config().vendor[key], base).value_or(0);
}

int& session_setting(ModemModel& m, const std::string& key) {
  return m.session().vendor[key];
}

}  // namespace modemsim

#include "mode_fields.h"

#include <algorithm>
#include <cstdio>

#include "vendor_keys.h"

namespace modemsim {

std::string read_mode_fields(ModemModel& m, const std::vector<ModeField>& fields) {
  std::string text;
  for (const ModeField& field : fields) {
    char value[24];
    std::snprintf(value, sizeof value, field.base == 16 ? "%llX" : "%llu",
                  vendor_number(m, field.key, field.base));
    text += (text.empty() ? "" : ",") + std::string(value);
  }
  return text;
}

Reply write_mode_fields(ModemModel& m, const Command& c, const std::vector<ModeField>& fields) {
  auto args = split_args(c.args);
  if (args.size() != fields.size()) return Reply::cme(50);
  std::vector<unsigned long long> values;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const ModeField& field = fields[i];
    auto value = parse_number(args[i], field.base);
    if (!value) return Reply::cme(50);
    bool allowed =
        field.allowed.empty() || value == field.keep ||
        std::find(field.allowed.begin(), field.allowed.end(), *value) != field.allowed.end();
    if (!allowed) return Reply::cme(50);
    values.push_back(*value);
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (values[i] != fields[i].keep) m.config().vendor[fields[i].key] = args[i];
  }
  m.follow_radio_mode();
  return Reply::ok();
}

RadioMode radio_mode_of(ModemModel& m, const std::string& key, unsigned long long gsm_only,
                        unsigned long long umts_only) {
  unsigned long long mode = vendor_number(m, key);
  if (mode == gsm_only) return RadioMode::GsmOnly;
  if (mode == umts_only) return RadioMode::UmtsOnly;
  return RadioMode::Any;
}

}  // namespace modemsim

#pragma once

#include <optional>
#include <string>
#include <vector>

#include "modem_model.h"

namespace modemsim {

// One field of a vendor's network-mode setting (^SYSCFG, ^SYSCONFIG, _OPSYS, $NWRAT), kept in
// the vendor key of that name.
struct ModeField {
  std::string key;
  std::vector<unsigned long long> allowed;  // empty: any number
  std::optional<unsigned long long> keep;   // the value that leaves the field as it is
  int base = 10;                            // 16: written in upper-case hex without leading zeros
};

// "v1,v2,...": the fields as the read command shows them.
std::string read_mode_fields(ModemModel& m, const std::vector<ModeField>& fields);

// The write command: one argument per field, all of them valid before any changes. The modem
// then moves to a technology the new setting allows.
Reply write_mode_fields(ModemModel& m, const Command& c, const std::vector<ModeField>& fields);

// The radio networks the mode field `key` allows: GSM alone at `gsm_only`, UMTS alone at
// `umts_only`, either at any other value.
RadioMode radio_mode_of(ModemModel& m, const std::string& key, unsigned long long gsm_only,
                        unsigned long long umts_only);

}  // namespace modemsim

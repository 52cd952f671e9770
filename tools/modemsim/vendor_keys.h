#pragma once

#include <string>
#include <string_view>

#include "modem_model.h"

namespace modemsim {

// Appliers of VendorKey that check a value and keep it in ModemConfig::vendor: a decimal
// number, a hexadecimal one of up to 16 digits, or decimal numbers separated by commas.
bool store_decimal(ModemModel& m, const std::string& key, std::string_view value);
bool store_hex(ModemModel& m, const std::string& key, std::string_view value);
bool store_decimals(ModemModel& m, const std::string& key, std::string_view value);

// The number a stored key holds.
unsigned long long vendor_number(ModemModel& m, const std::string& key, int base = 10);

// A session setting the profile adds (Profile::session_keys).
int& session_setting(ModemModel& m, const std::string& key);

}  // namespace modemsim

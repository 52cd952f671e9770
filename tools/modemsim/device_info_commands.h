#pragma once

#include "modem_model.h"

namespace modemsim {

// What the vendors' modems say about themselves beyond the standard identity commands.

// Huawei: ^SN (serial number), ^HWVER (hardware version), ^SPN (the SIM's service provider name).
Reply huawei_serial(ModemModel& m, const Command& c);
Reply huawei_hardware(ModemModel& m, const Command& c);
Reply huawei_provider_name(ModemModel& m, const Command& c);
// The start value and check of the `spn` key that ^SPN answers with.
VendorKey provider_name_key();

// Option: _OHWV (hardware version), and +CGSN with the serial number behind the IMEI.
Reply option_hardware(ModemModel& m, const Command& c);
Reply option_serial(ModemModel& m, const Command& c);

// Sierra: ^HVER (hardware version).
Reply sierra_hardware(ModemModel& m, const Command& c);

}  // namespace modemsim

#pragma once

#include "status/network_context.h"

namespace kivo {

// Fill the network-mode list 1051 with the command set's choices, read the modem's setting and
// select it; a setting with no entry in the list is shown in a warning box for the user to
// report.
void read_mode_huawei(const NetworkContext& context);   // AT^SYSCFG?
void read_mode_option(const NetworkContext& context);   // AT_OPSYS?
void read_mode_novatel(const NetworkContext& context);  // AT$NWRAT?, which also sets the technology
void read_mode_sierra(const NetworkContext& context);   // AT^SYSCONFIG?

// Write the setting chosen in 1051 (button 1050). On the modem's "OK" the apply button is
// disabled and connect becomes the default button again; true then.
bool apply_mode_huawei(const NetworkContext& context);
bool apply_mode_option(const NetworkContext& context);
bool apply_mode_novatel(const NetworkContext& context);
bool apply_mode_sierra(const NetworkContext& context);

}  // namespace kivo

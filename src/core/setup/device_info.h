#pragma once

#include "base/command_set.h"
#include "link/at_channel.h"
#include "view/device_info_view.h"

namespace kivo {

// Asks the modem and its SIM who they are and shows each answer in the device-information
// dialog: the port in use, hardware version, model, firmware, manufacturer, serial number, IMEI,
// IMSI, ICCID and the service provider's name. The queries depend on `command_set`; a field
// whose query fails or answers in an unexpected shape keeps the dialog's own text.
void fill_device_info(AtChannel& channel, CommandSet command_set, const char* port_name,
                      DeviceInfoView& view);

}  // namespace kivo

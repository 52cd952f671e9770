#pragma once

#include <string>

#include "base/command_set.h"
#include "base/registry.h"
#include "link/serial_port.h"

namespace kivo {

// One complete search of the registry for the port on which the modem takes AT commands: the
// drivers of the serial-port class first (Huawei, Option, Novatel, Sierra), then those of the
// modem class (Nokia), each confirmed against the device map of active ports. On success writes
// the port name as the driver's entry holds it and the vendor's command set; otherwise writes
// nothing. Registry errors only skip the entry concerned, and every key opened is closed.
bool scan_for_modem_port(Registry& registry, char (&port_name)[kMaxPortNameLength + 1],
                         CommandSet& command_set);

// The device map of active serial ports as one text (each port name and a separator, in index
// order): what changes when a modem is plugged in or pulled out. Empty when the key is missing.
std::string read_active_ports(Registry& registry);

}  // namespace kivo

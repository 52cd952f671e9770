#pragma once

#include "base/command_set.h"

namespace kivo {

// The vendor whose AT port a serial-port class driver describes, from its upper-cased
// "DriverDesc"; Standard when it describes no port this program knows.
CommandSet classify_port_driver(const char* upper_description);

// A modem class driver of a Nokia phone, from its upper-cased "DriverDesc".
bool is_nokia_modem(const char* upper_description);

}  // namespace kivo

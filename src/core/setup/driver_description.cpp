#include "setup/driver_description.h"

#include <cstring>

namespace kivo {

namespace {

// Huawei's PC UI port is known by its whole description: the stick's other ports share the
// beginning of it.
constexpr char kHuaweiPcUi[] = "HUAWEI MOBILE CONNECT - 3G PC UI INTERFACE";

// A port of `vendor` names one of its makers and the kind of port that takes AT commands.
struct PortDriver {
  CommandSet vendor;
  const char* maker;
  const char* other_maker;  // may be null
  const char* port_kind;
};

constexpr PortDriver kPortDrivers[] = {
    {CommandSet::Option, "GLOBETROTTER", "FUSION", "APPLICATION INTERFACE"},
    {CommandSet::Novatel, "NOVATEL WIRELESS", "DELL WIRELESS", "STATUS PORT"},
    {CommandSet::Sierra, "SIERRA WIRELESS", nullptr, "AT COMMAND PORT"},
};

bool contains(const char* text, const char* part) {
  return part != nullptr && std::strstr(text, part) != nullptr;
}

}  // namespace

CommandSet classify_port_driver(const char* upper_description) {
  if (std::strcmp(upper_description, kHuaweiPcUi) == 0) return CommandSet::Huawei;
  for (const PortDriver& driver : kPortDrivers) {
    const bool by_maker = contains(upper_description, driver.maker) ||
                          contains(upper_description, driver.other_maker);
    if (by_maker && contains(upper_description, driver.port_kind)) return driver.vendor;
  }
  return CommandSet::Standard;
}

bool is_nokia_modem(const char* upper_description) {
  return contains(upper_description, "NOKIA") && contains(upper_description, "MODEM");
}

}  // namespace kivo

#include "setup/port_scan.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "setup/driver_description.h"

namespace kivo {

namespace {

constexpr RegistryRoot kLocalMachine = RegistryRoot::LocalMachine;
constexpr char kActivePortsKey[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr char kPortsClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E978-E325-11CE-BFC1-08002BE10318}";
constexpr char kModemClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
constexpr char kEnumKey[] = "SYSTEM\\CurrentControlSet\\Enum\\";
// Sierra's AT port hangs off the driver's own multiplexer bus, whatever id the driver matched.
constexpr char kSierraDeviceId[] = "SWMUXBUS\\SW_SERIAL";

// A key deleted under the scan (a driver removed) fails every index and never reports the end.
constexpr unsigned kMaxFailedIndicesInRow = 64;

struct Scan {
  Registry& registry;
  const OpenKey& active_ports;
  char (&port_name)[kMaxPortNameLength + 1];
  CommandSet& command_set;
};

enum class Entries { Subkeys, ValueData };

// Calls `found` with each subkey name (or value data) in index order until it returns true.
template <typename Found>
bool find_entry(const OpenKey& key, Entries entries, Found&& found) {
  RegistryText text;
  unsigned failed_in_row = 0;
  for (unsigned index = 0; failed_in_row < kMaxFailedIndicesInRow; ++index) {
    const EnumResult result =
        entries == Entries::Subkeys ? key.subkey_name(index, text) : key.value_data(index, text);
    if (result == EnumResult::NoMoreItems) return false;
    if (result == EnumResult::Failed) {
      ++failed_in_row;
      continue;
    }
    failed_in_row = 0;
    if (found(text)) return true;
  }
  return false;
}

void make_upper_case(char* text) {
  for (; *text != '\0'; ++text)
    *text = static_cast<char>(std::toupper(static_cast<unsigned char>(*text)));
}

bool equal_ignoring_case(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b)
    if (std::toupper(static_cast<unsigned char>(*a)) !=
        std::toupper(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

// Takes a port that the device map lists (its device is plugged in). A name too long for the
// port-name buffer is never cut into the name of some other port.
bool take_port(const Scan& scan, const char* port) {
  const std::size_t length = std::strlen(port);
  if (length > kMaxPortNameLength) return false;
  const bool active = find_entry(scan.active_ports, Entries::ValueData, [port](const char* listed) {
    return equal_ignoring_case(listed, port);
  });
  if (active) std::memcpy(scan.port_name, port, length + 1);
  return active;
}

// An instance of the device whose description names the driver, and its port.
bool take_instance_port(const Scan& scan, const OpenKey& instances, const char* instance_name,
                        const char* upper_driver_description) {
  const OpenKey instance(instances, instance_name);
  RegistryText description;
  if (!instance.read("DeviceDesc", description)) return false;
  make_upper_case(description);
  if (std::strstr(description, upper_driver_description) == nullptr) return false;
  const OpenKey parameters(instance, "Device Parameters");
  RegistryText port;
  return parameters.read("PortName", port) && take_port(scan, port);
}

bool take_device_port(const Scan& scan, const char* device_id,
                      const char* upper_driver_description) {
  char path[sizeof(kEnumKey) + kRegistryTextSize];
  std::snprintf(path, sizeof(path), "%s%s", kEnumKey, device_id);
  const OpenKey instances(scan.registry, kLocalMachine, path);
  return find_entry(instances, Entries::Subkeys, [&](const char* instance_name) {
    return take_instance_port(scan, instances, instance_name, upper_driver_description);
  });
}

bool take_port_class_entry(const Scan& scan, const OpenKey& class_key, const char* entry_name) {
  const OpenKey entry(class_key, entry_name);
  RegistryText description;
  if (!entry.read("DriverDesc", description)) return false;
  make_upper_case(description);
  const CommandSet vendor = classify_port_driver(description);
  RegistryText device_id;
  if (vendor == CommandSet::Standard || !entry.read("MatchingDeviceId", device_id)) return false;
  const char* searched_id = vendor == CommandSet::Sierra ? kSierraDeviceId : device_id;
  if (!take_device_port(scan, searched_id, description)) return false;
  scan.command_set = vendor;
  return true;
}

bool take_modem_class_entry(const Scan& scan, const OpenKey& class_key, const char* entry_name) {
  const OpenKey entry(class_key, entry_name);
  RegistryText description;
  if (!entry.read("DriverDesc", description)) return false;
  make_upper_case(description);
  RegistryText port;
  if (!is_nokia_modem(description) || !entry.read("AttachedTo", port) || !take_port(scan, port))
    return false;
  scan.command_set = CommandSet::Nokia;
  return true;
}

using TakeEntry = bool (*)(const Scan&, const OpenKey&, const char*);

bool take_class_port(const Scan& scan, const char* class_path, TakeEntry take_entry) {
  const OpenKey class_key(scan.registry, kLocalMachine, class_path);
  return find_entry(class_key, Entries::Subkeys, [&](const char* entry_name) {
    return take_entry(scan, class_key, entry_name);
  });
}

}  // namespace

bool scan_for_modem_port(Registry& registry, char (&port_name)[kMaxPortNameLength + 1],
                         CommandSet& command_set) {
  const OpenKey active_ports(registry, kLocalMachine, kActivePortsKey);
  if (!active_ports.is_open()) return false;
  const Scan scan{registry, active_ports, port_name, command_set};
  return take_class_port(scan, kPortsClassKey, take_port_class_entry) ||
         take_class_port(scan, kModemClassKey, take_modem_class_entry);
}

std::string read_active_ports(Registry& registry) {
  std::string ports;
  const OpenKey active_ports(registry, kLocalMachine, kActivePortsKey);
  find_entry(active_ports, Entries::ValueData, [&ports](const RegistryText& port) {
    ports += port;
    ports += '\n';
    return false;
  });
  return ports;
}

}  // namespace kivo

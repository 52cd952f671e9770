#pragma once

#include <string>

#include "support/fake_registry.h"

namespace kivo::test {

// The registry as the platform and the modem drivers leave it, for the port search.
constexpr char kActivePortsKey[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr char kPortsClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E978-E325-11CE-BFC1-08002BE10318}";
constexpr char kModemClassKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
constexpr char kEnumKey[] = "SYSTEM\\CurrentControlSet\\Enum\\";

constexpr RegistryRoot kHklm = RegistryRoot::LocalMachine;

// A port in the device map of active ports (its device is plugged in).
inline void add_active_port(FakeRegistry& registry, const std::string& device,
                            const std::string& port) {
  registry.set(kHklm, kActivePortsKey, device, port);
}

// A serial-port class driver entry; an empty `device_id` leaves out "MatchingDeviceId".
inline void add_port_entry(FakeRegistry& registry, const std::string& entry,
                           const std::string& description, const std::string& device_id) {
  const std::string key = std::string(kPortsClassKey) + "\\" + entry;
  registry.set(kHklm, key, "DriverDesc", description);
  if (!device_id.empty()) registry.set(kHklm, key, "MatchingDeviceId", device_id);
}

// One instance of a device in the Enum tree, with its port.
inline void add_device_instance(FakeRegistry& registry, const std::string& device_id,
                                const std::string& instance, const std::string& description,
                                const std::string& port) {
  const std::string key = std::string(kEnumKey) + device_id + "\\" + instance;
  registry.set(kHklm, key, "DeviceDesc", description);
  registry.set(kHklm, key + "\\Device Parameters", "PortName", port);
}

// A modem class driver entry attached to `port`.
inline void add_modem_entry(FakeRegistry& registry, const std::string& entry,
                            const std::string& description, const std::string& port) {
  const std::string key = std::string(kModemClassKey) + "\\" + entry;
  registry.set(kHklm, key, "DriverDesc", description);
  registry.set(kHklm, key, "AttachedTo", port);
}

// A Huawei stick whose PC UI port is `port`: driver entry, device instance, active port.
inline void add_huawei_stick(FakeRegistry& registry, const std::string& entry,
                             const std::string& port) {
  const std::string id = "USB\\VID_12D1&PID_1001&MI_02";
  add_port_entry(registry, entry, "HUAWEI Mobile Connect - 3G PC UI Interface", id);
  add_device_instance(registry, id, "6&2D2E4FF&0&" + entry,
                      "HUAWEI Mobile Connect - 3G PC UI Interface", port);
  add_active_port(registry, "\\Device\\HwPcUi" + entry, port);
}

// An Option card whose application port is `port`; its description mixes letter cases.
inline void add_option_card(FakeRegistry& registry, const std::string& entry,
                            const std::string& port) {
  const std::string id = "USB\\VID_0AF0&PID_6971&MI_02";
  add_port_entry(registry, entry, "fUsIoN HSUPA Modem application Interface", id);
  add_device_instance(registry, id, "7&1A&0&" + entry, "Fusion HSUPA Modem Application Interface",
                      port);
  add_active_port(registry, "\\Device\\OptionAppl" + entry, port);
}

}  // namespace kivo::test

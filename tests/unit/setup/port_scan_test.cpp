#include "setup/port_scan.h"

#include <gtest/gtest.h>

#include <string>

#include "support/modem_registry.h"

namespace kivo {
namespace {

using test::FakeRegistry;

const std::string kSierraId = "USB\\VID_1199&PID_6880&MI_03";
const std::string kSierraBus = "SWMUXBUS\\SW_SERIAL";

void add_sierra_card(FakeRegistry& registry, const std::string& device_id) {
  add_port_entry(registry, "0004", "Sierra Wireless AT Command Port (UMTS)", device_id);
  // The matching id's own instance is not where the AT port is.
  add_device_instance(registry, kSierraId, "1", "Sierra Wireless AT Command Port (UMTS)", "COM3");
  add_active_port(registry, "\\Device\\sscdmdm0", "COM3");
  add_device_instance(registry, kSierraBus, "2", "Sierra Wireless AT Command Port (UMTS)", "COM9");
  add_active_port(registry, "\\Device\\sscdbus0", "COM9");
}

struct Case {
  const char* name;
  void (*build)(FakeRegistry&);
  const char* port;  // "" when nothing is found
  CommandSet command_set;
};

const Case kCases[] = {
    {"huawei pc ui", [](FakeRegistry& r) { add_huawei_stick(r, "0000", "COM7"); }, "COM7",
     CommandSet::Huawei},
    {"huawei description with more text",
     [](FakeRegistry& r) {
       const std::string text = "HUAWEI Mobile Connect - 3G PC UI Interface #2";
       add_port_entry(r, "0000", text, "USB\\VID_12D1&PID_1001&MI_02");
       add_device_instance(r, "USB\\VID_12D1&PID_1001&MI_02", "1", text, "COM7");
       add_active_port(r, "\\Device\\HwPcUi0", "COM7");
     },
     "", CommandSet::Standard},
    {"option fusion in any case", [](FakeRegistry& r) { add_option_card(r, "0001", "COM8"); },
     "COM8", CommandSet::Option},
    {"dell novatel status port",
     [](FakeRegistry& r) {
       const std::string id = "USB\\VID_413C&PID_8137&MI_01";
       add_port_entry(r, "0002", "Dell Wireless 5520 Status Port", id);
       add_device_instance(r, id, "1", "Dell Wireless 5520 Status Port", "COM11");
       add_active_port(r, "\\Device\\NovatelStatus", "COM11");
     },
     "COM11", CommandSet::Novatel},
    {"sierra searched on its bus", [](FakeRegistry& r) { add_sierra_card(r, kSierraId); }, "COM9",
     CommandSet::Sierra},
    {"sierra without matching id", [](FakeRegistry& r) { add_sierra_card(r, ""); }, "",
     CommandSet::Standard},
    {"unplugged: not in the device map",
     [](FakeRegistry& r) {
       add_huawei_stick(r, "0000", "COM7");
       r.remove_value(test::kHklm, test::kActivePortsKey, "\\Device\\HwPcUi0000");
       add_active_port(r, "\\Device\\Serial0", "COM1");
     },
     "", CommandSet::Standard},
    {"device map in lower case",
     [](FakeRegistry& r) {
       add_huawei_stick(r, "0000", "COM7");
       add_active_port(r, "\\Device\\HwPcUi0000", "com7");
     },
     "COM7", CommandSet::Huawei},
    {"first instance naming the driver",
     [](FakeRegistry& r) {
       const std::string id = "USB\\VID_12D1&PID_1001&MI_02";
       add_device_instance(r, id, "1", "HUAWEI Mobile Connect - 3G Modem", "COM5");
       add_active_port(r, "\\Device\\HwModem", "COM5");
       add_huawei_stick(r, "0000", "COM7");
     },
     "COM7", CommandSet::Huawei},
    {"nokia alone",
     [](FakeRegistry& r) {
       add_modem_entry(r, "0000", "Nokia N95 USB Modem", "COM4");
       add_active_port(r, "\\Device\\NokiaModem", "COM4");
     },
     "COM4", CommandSet::Nokia},
    {"huawei wins over nokia",
     [](FakeRegistry& r) {
       add_modem_entry(r, "0000", "Nokia N95 USB Modem", "COM4");
       add_active_port(r, "\\Device\\NokiaModem", "COM4");
       add_huawei_stick(r, "0009", "COM7");
     },
     "COM7", CommandSet::Huawei},
    {"first class entry wins",
     [](FakeRegistry& r) {
       add_option_card(r, "0000", "COM8");
       add_huawei_stick(r, "0001", "COM7");
     },
     "COM8", CommandSet::Option},
    {"port name too long to keep",
     [](FakeRegistry& r) {
       add_huawei_stick(r, "0000", "COM1234567890123");
       add_option_card(r, "0001", "COM8");
     },
     "COM8", CommandSet::Option},
    {"registry errors skip one entry each",
     [](FakeRegistry& r) {
       add_huawei_stick(r, "0000", "COM7");
       r.fail_open(std::string(test::kPortsClassKey) + "\\0000");
       add_huawei_stick(r, "0001", "COM6");
       r.fail_enum(test::kPortsClassKey, 1);
       add_huawei_stick(r, "0002", "COM5");
       r.fail_query(std::string(test::kPortsClassKey) + "\\0002", "MatchingDeviceId");
       add_option_card(r, "0003", "COM8");
       r.fail_enum(test::kActivePortsKey, 0);
     },
     "COM8", CommandSet::Option},
    {"a class key that fails every index",
     [](FakeRegistry& r) {
       add_huawei_stick(r, "0000", "COM7");
       r.fail_every_enum(test::kPortsClassKey);
     },
     "", CommandSet::Standard},
    {"no device map", [](FakeRegistry& r) { add_port_entry(r, "0000", "Communications Port", ""); },
     "", CommandSet::Standard},
};

TEST(PortScanTest, FindsTheAtPortAndItsVendorClosingEveryKey) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    FakeRegistry registry;
    c.build(registry);
    char port_name[kMaxPortNameLength + 1] = "COM99";
    CommandSet command_set = CommandSet::Standard;
    const bool found = scan_for_modem_port(registry, port_name, command_set);
    EXPECT_EQ(found, c.port[0] != '\0');
    // A scan that finds nothing writes nothing.
    EXPECT_STREQ(port_name, found ? c.port : "COM99");
    EXPECT_EQ(command_set, c.command_set);
    EXPECT_TRUE(registry.all_closed_once());
  }
}

}  // namespace
}  // namespace kivo

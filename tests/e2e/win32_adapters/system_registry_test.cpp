#include "system_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace kivo {
namespace {

// A key tree of its own under HKEY_CURRENT_USER, removed at the end.
struct SystemRegistryTest : ::testing::Test {
  SystemRegistry registry;
  std::string root = "Software\\KivoTest" + std::to_string(GetCurrentProcessId());

  SystemRegistryTest() {
    set("Ports\\0000", "DriverDesc", "HUAWEI Mobile Connect - 3G PC UI Interface");
    set("Ports\\0001", "PortName", std::string(300, 'x'));  // too long for a registry text
    set("Map", "\\Device\\HwPcUi0", "COM7");
    set("Map", std::string(300, 'n'), "COM8");  // a value name too long to enumerate
    set("Map", "\\Device\\Serial0", "COM1");
  }
  ~SystemRegistryTest() override { RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }

  void set(const std::string& key, const std::string& name, const std::string& data) {
    HKEY created;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (root + "\\" + key).c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(created, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(created);
  }
};

TEST_F(SystemRegistryTest, EnumeratesSubkeysAndValueDataAndReadsValues) {
  const OpenKey ports(registry, RegistryRoot::CurrentUser, (root + "\\Ports").c_str());
  ASSERT_TRUE(ports.is_open());
  RegistryText text;
  std::vector<std::string> names;
  for (unsigned index = 0; ports.subkey_name(index, text) != EnumResult::NoMoreItems; ++index)
    names.emplace_back(text);
  EXPECT_EQ(names, (std::vector<std::string>{"0000", "0001"}));

  const OpenKey first(ports, "0000");
  ASSERT_TRUE(first.read("DriverDesc", text));
  EXPECT_STREQ(text, "HUAWEI Mobile Connect - 3G PC UI Interface");
  EXPECT_FALSE(first.read("MatchingDeviceId", text));
  EXPECT_FALSE(OpenKey(ports, "0001").read("PortName", text));
  EXPECT_FALSE(OpenKey(ports, "0002").is_open());

  // The value that cannot be read is skipped, not the end of the enumeration.
  const OpenKey map(registry, RegistryRoot::CurrentUser, (root + "\\Map").c_str());
  std::vector<std::string> data;
  int failed = 0;
  for (unsigned index = 0;; ++index) {
    const EnumResult result = map.value_data(index, text);
    if (result == EnumResult::NoMoreItems) break;
    if (result == EnumResult::Failed)
      ++failed;
    else
      data.emplace_back(text);
  }
  EXPECT_EQ(data, (std::vector<std::string>{"COM7", "COM1"}));
  EXPECT_EQ(failed, 1);
}

}  // namespace
}  // namespace kivo

#include "app/discovery_stand_in.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/fake_link_control.h"
#include "support/fake_main_view.h"
#include "support/fake_sleeper.h"
#include "support/journal.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

struct DiscoveryStandInTest : ::testing::Test {
  test::Journal journal;
  test::FakeMainView view{journal};
  test::FakeLinkControl link{journal};
  test::RecordingSleeper sleeper;
  AppState state;

  DiscoveryStandInTest() {
    set_port_name(state.options, "COM5");
    state.options.port_given = true;
  }

  void answer(const std::string& command, const std::string& line) {
    link.answers[command + "\r\n"] = line + "\r\n\r\nOK\r\n";
  }

  // One discovery run; the commands it sent, in order.
  Entries run(CommandSet command_set) {
    state.device.command_set = command_set;
    discovery_thread({state, view, link, sleeper}, 0);
    Entries sent;
    for (std::string& entry : journal.take())
      if (entry.compare(0, 3, "at ") == 0) sent.push_back(entry.substr(3, entry.size() - 5));
    return sent;
  }
};

TEST_F(DiscoveryStandInTest, TheWindowIsFilledBeforeTheModemIsReady) {
  answer("AT^SYSINFO", "^SYSINFO:2,3,0,5,1,,4");
  answer("AT^SYSCFG?", "^SYSCFG:2,2,3FFFFFFF,1,2");
  answer("AT+CGDCONT?", "+CGDCONT: 1,\"IP\",\"internet\",\"0.0.0.0\",0,0");
  answer("AT+CSQ", "+CSQ: 17,99");
  answer("AT+COPS?", "+COPS: 0,2,\"65501\",2");
  answer("AT+CGREG?", "+CGREG: 2,1,\"00A1\",\"01B2C3D4\"");
  state.device.command_set = CommandSet::Huawei;
  discovery_thread({state, view, link, sleeper}, 0);
  const Entries entries = journal.take();
  ASSERT_GE(entries.size(), 4u);
  EXPECT_EQ(entries[1], "open COM5");
  EXPECT_EQ(entries[2], "at AT+CGREG=2\r\n");
  EXPECT_EQ((Entries{entries.end() - 2, entries.end()}), (Entries{"status Ready", "post 3"}));
  EXPECT_TRUE(state.device.device_ready);
  EXPECT_TRUE(state.network.location_reports_enabled);
  // Registered while not yet ready: the registration does not read the operator again.
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "at AT+COPS=3,2\r\n"), 1);

  EXPECT_EQ(view.text(IDC_TECHNOLOGY), "3G");
  EXPECT_EQ(view.lists[IDC_NETWORK_MODE_LIST].selected, 1);  // "3G Preferred"
  EXPECT_EQ(view.text(IDC_APN_INPUT), "internet");
  EXPECT_EQ(view.text(IDC_SIGNAL_VALUE), "-79dBm");
  EXPECT_EQ(view.text(IDC_MCC), "655");
  EXPECT_EQ(view.text(IDC_MNC), "01");
  EXPECT_EQ(view.text(IDC_LAC), "161");
  EXPECT_EQ(view.text(IDC_RNC_ID), "434");
  EXPECT_EQ(view.text(IDC_CELL_ID), "50132");
}

TEST_F(DiscoveryStandInTest, EachCommandSetReadsItsTechnologyAndNetworkModeFirst) {
  answer("AT_OWCTI?", "_OWCTI: 2");  // HSDPA: no AT_OHCIP? needed
  answer("AT^SYSINFO", "^SYSINFO:2,3,0,5,1,,4");
  const Entries common{"AT+CGDCONT?", "AT+CSQ", "AT+COPS=3,2", "AT+COPS?", "AT+CGREG?"};
  const struct {
    CommandSet command_set;
    Entries first;
  } cases[] = {
      {CommandSet::Standard, {}},
      {CommandSet::Huawei, {"AT^SYSINFO", "AT^SYSCFG?"}},
      {CommandSet::Option, {"AT_OCTI?", "AT_OWCTI?", "AT_OPSYS?"}},
      {CommandSet::Novatel, {"AT$NWRAT?"}},
      {CommandSet::Sierra, {"AT*CNTI=0", "AT^SYSCONFIG?"}},
      {CommandSet::Nokia, {}},
  };
  for (const auto& c : cases) {
    Entries expected{"AT+CGREG=2"};
    expected.insert(expected.end(), c.first.begin(), c.first.end());
    expected.insert(expected.end(), common.begin(), common.end());
    EXPECT_EQ(run(c.command_set), expected) << static_cast<int>(c.command_set);
  }
}

TEST_F(DiscoveryStandInTest, TheStandardSetShowsAnUnknownTechnologyAndNokiaNone) {
  run(CommandSet::Standard);
  EXPECT_EQ(view.text(IDC_TECHNOLOGY), "Unknown");
  view.texts.clear();
  run(CommandSet::Nokia);
  EXPECT_EQ(view.texts.count(IDC_TECHNOLOGY), 0u);
}

TEST_F(DiscoveryStandInTest, WithoutLocationReportsTheRegistrationIsNotRead) {
  state.network.location_reports_enabled = true;  // from the modem found before
  link.answers["AT+CGREG=2\r\n"] = "+CME ERROR: 3\r\n";
  const Entries sent = run(CommandSet::Standard);
  EXPECT_FALSE(state.network.location_reports_enabled);
  EXPECT_EQ(sent.back(), "AT+COPS?");
  EXPECT_TRUE(state.device.device_ready);
}

}  // namespace
}  // namespace kivo

#include "status/network_mode.h"

#include "status/mode_setting_parsers.h"
#include "status/network_fixture.h"
#include "status/network_mode_map.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

TEST(ModeSettingParsers, ABandMaskIsKeptAsTheModemWroteIt) {
  SysCfg cfg;
  ASSERT_TRUE(parse_syscfg("^SYSCFG:2,0,2000004e80380,1,2\r\n", cfg));
  EXPECT_EQ(cfg.band, "2000004e80380");
  EXPECT_EQ(cfg.roam, 1u);
  ASSERT_TRUE(parse_syscfg("^SYSCFG:13,2,,0,3\r\n", cfg));
  EXPECT_EQ(cfg.band, "");
  EXPECT_EQ(cfg.srv_domain, 3u);
  EXPECT_EQ(format_band("3fffffff", 1), "3FFFFFFF");
  EXPECT_EQ(format_band("00400380", 1), "400380");
  EXPECT_EQ(format_band("400380", 8), "00400380");
  EXPECT_EQ(format_band("", 1), "0");
}

TEST(ModeSettingParsers, SystemInformationReadsSevenNumbersAnEmptyOneAsZero) {
  SysInfo info;
  ASSERT_TRUE(parse_sysinfo("^SYSINFO:2,3,1,5,1,,7\r\n\r\nOK\r\n", info));
  EXPECT_EQ(info.roam_status, 1u);
  EXPECT_EQ(info.sys_mode, 5u);
  EXPECT_EQ(info.lock_state, 0u);
  EXPECT_EQ(info.sys_submode, 7u);
  EXPECT_FALSE(parse_sysinfo("^sysinfo:2,3,1,5,1,,7", info));
  EXPECT_FALSE(parse_sysinfo("^SYSINFO", info));
}

struct NetworkModeTest : test::NetworkTest {
  // The entry selected in 1051 after the read, -1 for none.
  int read_selects(void (*read)(const NetworkContext&), const char* command, std::string answer) {
    modem.clear_script();
    modem.answer(command, std::move(answer));
    read(context);
    journal.take();
    return view.lists[IDC_NETWORK_MODE_LIST].selected;
  }
  std::string last_box() {
    const auto shown = view.boxes.shown();
    return shown.empty() ? "" : shown.back().text;
  }
  // What the apply button sends for the entry the user chose.
  Entries apply(bool (*write)(const NetworkContext&), int chosen) {
    view.lists[IDC_NETWORK_MODE_LIST].selected = chosen;
    write(context);
    return commands();
  }
};

TEST_F(NetworkModeTest, AReadFillsTheListThenSelectsTheSetting) {
  modem.answer("AT^SYSCFG?", "^SYSCFG:2,2,3FFFFFFF,1,2\r\n\r\nOK\r\n");
  read_mode_huawei(context);
  EXPECT_EQ(journal.take(),
            (Entries{"enable 1051 1", "list clear 1051", "list add 1051 GPRS/EDGE Preferred 0",
                     "list add 1051 3G Preferred 1", "list add 1051 GPRS/EDGE Only 2",
                     "list add 1051 3G Only 3", "at AT^SYSCFG?\r\n", "list select 1051 1"}));
  // Novatel: three entries, and the technology from the same answer.
  modem.answer("AT$NWRAT?", "$NWRAT: 0,2,2\r\n\r\nOK\r\n");
  read_mode_novatel(context);
  EXPECT_EQ(journal.take(),
            (Entries{"enable 1051 1", "list clear 1051", "list add 1051 GPRS/EDGE Only 0",
                     "list add 1051 3G Only 1", "list add 1051 Automatic 2", "at AT$NWRAT?\r\n",
                     "text 1012 \"3G\"", "list select 1051 2"}));
  EXPECT_EQ(network.snapshot.rat_text.get(), "3G");
}

TEST_F(NetworkModeTest, EachCommandSetMapsItsSetting) {
  const struct {
    int mode;
    int acq_order;
    int entry;
  } preferences[] = {{2, 1, 0}, {2, 0, 1}, {2, 2, 1}, {13, 0, 2}, {13, 2, 2}, {14, 1, 3}};
  for (const auto& p : preferences) {
    const std::string m = std::to_string(p.mode) + "," + std::to_string(p.acq_order);
    EXPECT_EQ(read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:" + m + ",3FFFFFFF,1,2\r\n"),
              p.entry)
        << m;
    EXPECT_EQ(read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:" + m + ",1,2\r\n"),
              p.entry)
        << m;
  }
  for (auto [mode, entry] : {std::pair{2, 0}, std::pair{3, 1}, std::pair{0, 2}, std::pair{1, 3}})
    EXPECT_EQ(read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: " + std::to_string(mode) + ",2"),
              entry);
  for (auto [mode, entry] : {std::pair{1, 0}, std::pair{2, 1}, std::pair{0, 2}})
    EXPECT_EQ(
        read_selects(read_mode_novatel, "AT$NWRAT?", "$NWRAT: " + std::to_string(mode) + ",2,2"),
        entry);
  EXPECT_TRUE(view.boxes.shown().empty());
}

TEST_F(NetworkModeTest, AnUnreadableSettingLeavesTheListFilledWithNothingSelected) {
  EXPECT_EQ(read_selects(read_mode_option, "AT_OPSYS?", "ERROR\r\n"), -1);
  EXPECT_EQ(view.lists[IDC_NETWORK_MODE_LIST].values.size(), 4u);
  EXPECT_TRUE(view.boxes.shown().empty());
}

TEST_F(NetworkModeTest, ASettingWithoutAnEntryIsShownForTheUserToReport) {
  const std::string opening =
      "Unable to determine connection type, please report the following information to the "
      "author:\r\n\t\t";
  const std::string closing =
      " and your current connection type; GPRS/EDGE or 3G, only or preferred. ";
  EXPECT_EQ(read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:16,2,3FFFFFFF,1,2\r\n"), -1);
  EXPECT_EQ(last_box(), opening + "^SYSCFG=16,2,3FFFFFFF,1,2" + closing);
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:2,3,400380,1,2\r\n");
  EXPECT_EQ(last_box(), opening + "^SYSCFG=2,3,00400380,1,2" + closing);
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:16,2,2000004e80380,1,2\r\n");
  EXPECT_EQ(last_box(), opening + "^SYSCFG=16,2,2000004E80380,1,2" + closing);
  read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: 5,2\r\n");
  EXPECT_EQ(last_box(), opening + "_OPSYS=5,2" + closing);
  read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:7,2,1,2\r\n");
  EXPECT_EQ(last_box(), opening + "^SYSCONFIG=7,2,1,2" + closing);
  read_selects(read_mode_novatel, "AT$NWRAT?", "$NWRAT: 5,2,6\r\n");
  EXPECT_EQ(last_box(), opening + "$NWRAT=5,2,6" + closing);
  EXPECT_EQ(network.snapshot.rat_text.get(), "EDGE");  // the technology is set all the same
  for (const auto& box : view.boxes.shown()) {
    EXPECT_EQ(box.owner, BoxOwner::MainWindow);
    EXPECT_EQ(box.caption, "KIVO");
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
  }
}

TEST_F(NetworkModeTest, HuaweiAndSierraWritesKeepWhatTheyDoNotChange) {
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:2,2,3FFFFFFF,1,2\r\n\r\nOK\r\n");
  const std::string read = "at AT^SYSCFG?\r\n";
  EXPECT_EQ(apply(apply_mode_huawei, 0), (Entries{read, "at AT^SYSCFG=2,1,3FFFFFFF,1,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_huawei, 1), (Entries{read, "at AT^SYSCFG=2,2,3FFFFFFF,1,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_huawei, 2), (Entries{read, "at AT^SYSCFG=13,2,3FFFFFFF,1,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_huawei, 3), (Entries{read, "at AT^SYSCFG=14,2,3FFFFFFF,1,2\r\n"}));
  // A mask wider than 32 bits goes back whole.
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:2,1,2000004e80380,1,2\r\n\r\nOK\r\n");
  EXPECT_EQ(apply(apply_mode_huawei, 3),
            (Entries{read, "at AT^SYSCFG=14,1,2000004E80380,1,2\r\n"}));
  read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:2,1,0,2\r\n\r\nOK\r\n");
  EXPECT_EQ(apply(apply_mode_sierra, 2),
            (Entries{"at AT^SYSCONFIG?\r\n", "at AT^SYSCONFIG=13,1,0,2\r\n"}));
}

TEST_F(NetworkModeTest, OptionAndNovatelWriteFixedSettings) {
  read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: 3,2\r\n");
  EXPECT_EQ(apply(apply_mode_option, 0), Entries{"at AT_OPSYS=2,2\r\n"});
  EXPECT_EQ(apply(apply_mode_option, 1), Entries{"at AT_OPSYS=3,2\r\n"});
  EXPECT_EQ(apply(apply_mode_option, 2), Entries{"at AT_OPSYS=0,2\r\n"});
  EXPECT_EQ(apply(apply_mode_option, 3), Entries{"at AT_OPSYS=1,2\r\n"});
  read_selects(read_mode_novatel, "AT$NWRAT?", "$NWRAT: 0,2,2\r\n");
  EXPECT_EQ(apply(apply_mode_novatel, 0), Entries{"at AT$NWRAT=1,1\r\n"});
  EXPECT_EQ(apply(apply_mode_novatel, 1), Entries{"at AT$NWRAT=2,1\r\n"});
  EXPECT_EQ(apply(apply_mode_novatel, 2), Entries{"at AT$NWRAT=0,1\r\n"});
}

TEST_F(NetworkModeTest, OnlyAnAcceptedWriteHandsTheDefaultButtonBackToConnect) {
  read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: 3,2\r\n");
  modem.answer("AT_OPSYS=2,2", "ERROR\r\n");
  modem.answer("AT_OPSYS=2,2", "OK\r\n");
  view.lists[IDC_NETWORK_MODE_LIST].selected = 0;
  EXPECT_FALSE(apply_mode_option(context));
  EXPECT_EQ(journal.take(), Entries{"at AT_OPSYS=2,2\r\n"});
  EXPECT_TRUE(apply_mode_option(context));
  EXPECT_EQ(journal.take(), (Entries{"at AT_OPSYS=2,2\r\n", "enable 1050 0", "default 1052"}));
}

TEST_F(NetworkModeTest, NothingIsWrittenWithoutTheSettingOrAChoice) {
  read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:2,1,0,2\r\n");
  modem.clear_script();
  modem.answer("AT^SYSCONFIG?", "ERROR\r\n");
  EXPECT_FALSE(apply_mode_sierra(context));
  EXPECT_EQ(commands(), Entries{"at AT^SYSCONFIG?\r\n"});
  // A read that found no entry for the setting left the list without a selection.
  read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: 5,2\r\n");
  EXPECT_FALSE(apply_mode_option(context));
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:16,2,3FFFFFFF,1,2\r\n");
  EXPECT_FALSE(apply_mode_huawei(context));
  EXPECT_TRUE(commands().empty());
}

}  // namespace
}  // namespace kivo

namespace kivo {
namespace {

// What an entry writes, read back, selects the same entry, for every command set.
TEST(NetworkModeMap, EveryEntryWrittenReadsBackAsItself) {
  for (std::uint32_t item = 0; item < 4; ++item) {
    for (std::uint32_t order_before : {0u, 1u, 2u}) {
      const Preference p = preference_for(item, order_before);
      EXPECT_EQ(preference_entry(p.mode, p.acq_order), static_cast<int>(item))
          << item << " " << order_before;
    }
    EXPECT_EQ(mode_entry(kOptionModes, kOptionModes[item]), static_cast<int>(item));
  }
  for (std::uint32_t item = 0; item < 3; ++item)
    EXPECT_EQ(mode_entry(kNovatelModes, kNovatelModes[item]), static_cast<int>(item));
  EXPECT_EQ(mode_entry(kNovatelModes, 3), kNoModeEntry);
}

}  // namespace
}  // namespace kivo

#include "status/network_mode.h"

#include "app/control_ids.h"
#include "status/mode_setting_parsers.h"
#include "status/network_fixture.h"

namespace kivo {
namespace {

using test::Entries;

TEST(ModeSettingParsers, ReadTheVendorAnswers) {
  SysCfg cfg;
  ASSERT_TRUE(parse_syscfg("^SYSCFG:2,2,3FFFFFFF,1,2\r\n\r\nOK\r\n", cfg));
  EXPECT_EQ(cfg.mode, 2u);
  EXPECT_EQ(cfg.acq_order, 2u);
  EXPECT_EQ(cfg.band, "3FFFFFFF");
  EXPECT_EQ(cfg.roam, 1u);
  EXPECT_EQ(cfg.srv_domain, 2u);

  SysConfig config;
  ASSERT_TRUE(parse_sysconfig("^SYSCONFIG:2,1,0,2\r\n\r\nOK\r\n", config));
  EXPECT_EQ(config.mode, 2u);
  EXPECT_EQ(config.acq_order, 1u);
  EXPECT_EQ(config.roam, 0u);
  EXPECT_EQ(config.srv_domain, 2u);

  OpSys opsys;
  ASSERT_TRUE(parse_opsys("_OPSYS: 3,2\r\n\r\nOK\r\n", opsys));
  EXPECT_EQ(opsys.mode, 3u);
  EXPECT_EQ(opsys.domain, 2u);

  NwRat nwrat;
  ASSERT_TRUE(parse_nwrat("$NWRAT: 0,2,3\r\n\r\nOK\r\n", nwrat));
  EXPECT_EQ(nwrat.mode, 0u);
  EXPECT_EQ(nwrat.second, 2u);
  EXPECT_EQ(nwrat.network, 3u);
}

TEST(ModeSettingParsers, ABandMaskIsKeptAsTheModemWroteIt) {
  SysCfg cfg;
  ASSERT_TRUE(parse_syscfg("^SYSCFG:2,0,2000004e80380,1,2\r\n", cfg));
  EXPECT_EQ(cfg.band, "2000004e80380");
  EXPECT_EQ(cfg.roam, 1u);
  ASSERT_TRUE(parse_syscfg("^SYSCFG:13,2,,0,3\r\n", cfg));
  EXPECT_EQ(cfg.band, "");
  EXPECT_EQ(cfg.roam, 0u);
  EXPECT_EQ(cfg.srv_domain, 3u);

  EXPECT_EQ(format_band("3fffffff", 1), "3FFFFFFF");
  EXPECT_EQ(format_band("00400380", 1), "400380");
  EXPECT_EQ(format_band("400380", 8), "00400380");
  EXPECT_EQ(format_band("2000004e80380", 8), "2000004E80380");
  EXPECT_EQ(format_band("", 1), "0");
  EXPECT_EQ(format_band("000", 8), "00000000");
}

TEST(ModeSettingParsers, OtherAnswersFail) {
  SysCfg cfg;
  SysConfig config;
  OpSys opsys;
  NwRat nwrat;
  for (const char* text : {"", "OK\r\n", "ERROR\r\n", "+CME ERROR: 4\r\n"}) {
    EXPECT_FALSE(parse_syscfg(text, cfg));
    EXPECT_FALSE(parse_sysconfig(text, config));
    EXPECT_FALSE(parse_opsys(text, opsys));
    EXPECT_FALSE(parse_nwrat(text, nwrat));
  }
  EXPECT_FALSE(parse_syscfg("^SYSCONFIG:2,1,0,2", cfg));
}

const Entries kFourEntries{"enable 1051 1",
                           "list clear 1051",
                           "list add 1051 GPRS/EDGE Preferred 0",
                           "list add 1051 3G Preferred 1",
                           "list add 1051 GPRS/EDGE Only 2",
                           "list add 1051 3G Only 3"};

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

TEST_F(NetworkModeTest, HuaweiReadFillsTheListAndSelectsTheSetting) {
  modem.answer("AT^SYSCFG?", "^SYSCFG:2,2,3FFFFFFF,1,2\r\n\r\nOK\r\n");
  read_mode_huawei(context);
  Entries expected = kFourEntries;
  expected.push_back("at AT^SYSCFG?\r\n");
  expected.push_back("list select 1051 1");
  EXPECT_EQ(journal.take(), expected);
}

TEST_F(NetworkModeTest, HuaweiAndSierraMapModeAndAcquisitionOrder) {
  const struct {
    int mode;
    int acq_order;
    int entry;
  } cases[] = {{2, 1, 0}, {2, 0, 1}, {2, 2, 1}, {13, 0, 2}, {13, 2, 2}, {14, 1, 3}, {14, 9, 3}};
  for (const auto& c : cases) {
    const std::string m = std::to_string(c.mode) + "," + std::to_string(c.acq_order);
    EXPECT_EQ(read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:" + m + ",3FFFFFFF,1,2\r\n"),
              c.entry)
        << m;
    EXPECT_EQ(read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:" + m + ",1,2\r\n"),
              c.entry)
        << m;
  }
  EXPECT_TRUE(view.boxes.shown().empty());
}

TEST_F(NetworkModeTest, OptionMapsItsModes) {
  for (auto [mode, entry] : {std::pair{2, 0}, std::pair{3, 1}, std::pair{0, 2}, std::pair{1, 3}})
    EXPECT_EQ(read_selects(read_mode_option, "AT_OPSYS?",
                           "_OPSYS: " + std::to_string(mode) + ",2\r\n\r\nOK\r\n"),
              entry);
}

TEST_F(NetworkModeTest, NovatelOffersThreeEntriesAndSetsTheTechnology) {
  modem.answer("AT$NWRAT?", "$NWRAT: 0,2,2\r\n\r\nOK\r\n");
  read_mode_novatel(context);
  EXPECT_EQ(journal.take(),
            (Entries{"enable 1051 1", "list clear 1051", "list add 1051 GPRS/EDGE Only 0",
                     "list add 1051 3G Only 1", "list add 1051 Automatic 2", "at AT$NWRAT?\r\n",
                     "text 1012 \"3G\"", "list select 1051 2"}));
  EXPECT_STREQ(state.network.rat_text, "3G");
  EXPECT_EQ(read_selects(read_mode_novatel, "AT$NWRAT?", "$NWRAT: 1,2,6\r\n"), 0);
  EXPECT_EQ(read_selects(read_mode_novatel, "AT$NWRAT?", "$NWRAT: 2,2,3\r\n"), 1);
}

TEST_F(NetworkModeTest, AnUnreadableSettingLeavesTheListFilledWithNothingSelected) {
  modem.answer("AT_OPSYS?", "ERROR\r\n");
  read_mode_option(context);
  Entries expected = kFourEntries;
  expected.push_back("at AT_OPSYS?\r\n");
  EXPECT_EQ(journal.take(), expected);
  EXPECT_EQ(view.lists[IDC_NETWORK_MODE_LIST].selected, -1);
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

  for (const auto& box : view.boxes.shown()) {
    EXPECT_EQ(box.owner, BoxOwner::MainWindow);
    EXPECT_EQ(box.caption, "KIVO");
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
  }
}

TEST_F(NetworkModeTest, NovatelShowsTheTechnologyBeforeTheWarning) {
  modem.answer("AT$NWRAT?", "$NWRAT: 5,2,6\r\n\r\nOK\r\n");
  read_mode_novatel(context);
  const Entries entries = journal.take();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[entries.size() - 2], "text 1012 \"EDGE\"");
  EXPECT_EQ(entries.back().compare(0, 4, "box "), 0);
}

TEST_F(NetworkModeTest, HuaweiWriteKeepsWhatItDoesNotChange) {
  const std::string setting = "^SYSCFG:2,2,3FFFFFFF,1,2\r\n\r\nOK\r\n";
  read_selects(read_mode_huawei, "AT^SYSCFG?", setting);
  modem.answer("AT^SYSCFG=2,1,3FFFFFFF,1,2", "OK\r\n");
  const std::string read = "at AT^SYSCFG?\r\n";
  EXPECT_EQ(apply(apply_mode_huawei, 0), (Entries{read, "at AT^SYSCFG=2,1,3FFFFFFF,1,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_huawei, 1), (Entries{read, "at AT^SYSCFG=2,2,3FFFFFFF,1,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_huawei, 2), (Entries{read, "at AT^SYSCFG=13,2,3FFFFFFF,1,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_huawei, 3), (Entries{read, "at AT^SYSCFG=14,2,3FFFFFFF,1,2\r\n"}));
}

TEST_F(NetworkModeTest, HuaweiWriteSendsAWideBandMaskBack) {
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:2,1,2000004e80380,1,2\r\n\r\nOK\r\n");
  EXPECT_EQ(apply(apply_mode_huawei, 3),
            (Entries{"at AT^SYSCFG?\r\n", "at AT^SYSCFG=14,1,2000004E80380,1,2\r\n"}));
}

TEST_F(NetworkModeTest, SierraWriteKeepsWhatItDoesNotChange) {
  read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:2,1,0,2\r\n\r\nOK\r\n");
  const std::string read = "at AT^SYSCONFIG?\r\n";
  EXPECT_EQ(apply(apply_mode_sierra, 2), (Entries{read, "at AT^SYSCONFIG=13,1,0,2\r\n"}));
  EXPECT_EQ(apply(apply_mode_sierra, 1), (Entries{read, "at AT^SYSCONFIG=2,2,0,2\r\n"}));
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

TEST_F(NetworkModeTest, AnAcceptedWriteHandsTheDefaultButtonBackToConnect) {
  read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: 3,2\r\n");
  modem.answer("AT_OPSYS=2,2", "OK\r\n");
  view.lists[IDC_NETWORK_MODE_LIST].selected = 0;
  EXPECT_TRUE(apply_mode_option(context));
  EXPECT_EQ(journal.take(), (Entries{"at AT_OPSYS=2,2\r\n", "enable 1050 0", "default 1052"}));
}

TEST_F(NetworkModeTest, ARefusedWriteReportsFailureAndKeepsTheButton) {
  read_selects(read_mode_novatel, "AT$NWRAT?", "$NWRAT: 0,2,2\r\n");
  modem.answer("AT$NWRAT=0,1", "ERROR\r\n");
  view.lists[IDC_NETWORK_MODE_LIST].selected = 2;
  EXPECT_FALSE(apply_mode_novatel(context));
  EXPECT_EQ(journal.take(), Entries{"at AT$NWRAT=0,1\r\n"});
}

TEST_F(NetworkModeTest, AnUnreadableSettingStopsTheHuaweiAndSierraWrites) {
  read_selects(read_mode_sierra, "AT^SYSCONFIG?", "^SYSCONFIG:2,1,0,2\r\n");
  modem.clear_script();
  modem.answer("AT^SYSCONFIG?", "ERROR\r\n");
  view.lists[IDC_NETWORK_MODE_LIST].selected = 3;
  EXPECT_FALSE(apply_mode_sierra(context));
  EXPECT_EQ(journal.take(), Entries{"at AT^SYSCONFIG?\r\n"});
  modem.answer("AT^SYSCFG?", "ERROR\r\n");
  EXPECT_FALSE(apply_mode_huawei(context));
  EXPECT_EQ(journal.take(), Entries{"at AT^SYSCFG?\r\n"});
}

TEST_F(NetworkModeTest, WithNothingChosenNothingIsWritten) {
  // A read that found no entry for the setting left the list without a selection.
  read_selects(read_mode_option, "AT_OPSYS?", "_OPSYS: 5,2\r\n");
  EXPECT_FALSE(apply_mode_option(context));
  read_selects(read_mode_huawei, "AT^SYSCFG?", "^SYSCFG:16,2,3FFFFFFF,1,2\r\n");
  EXPECT_FALSE(apply_mode_huawei(context));
  EXPECT_TRUE(commands().empty());
}

}  // namespace
}  // namespace kivo

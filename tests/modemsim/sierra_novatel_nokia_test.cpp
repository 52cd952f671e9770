#include "model_fixture.h"

namespace modemsim {
namespace {

class SierraModel : public ModelFixture {
 protected:
  SierraModel() : ModelFixture(sierra_profile()) {}
};

TEST_F(SierraModel, CntiNamesTheTechnologyInUse) {
  EXPECT_EQ(at("AT*CNTI=0"), ok({"*CNTI: 0,UMTS"}));
  const std::pair<const char*, const char*> words[] = {
      {"gsm", "GSM"},     {"gprs", "GPRS"},   {"edge", "EDGE"},
      {"hsdpa", "HSDPA"}, {"hsupa", "HSUPA"}, {"hspa", "HSPA"},
  };
  for (const auto& [tech, word] : words) {
    set("tech", tech);
    EXPECT_EQ(at("AT*CNTI=0"), ok({std::string("*CNTI: 0,") + word}));
  }
  EXPECT_EQ(at("AT*CNTI=2"), ok({"*CNTI: 2,GSM,GPRS,EDGE,UMTS,HSDPA,HSUPA,HSPA"}));
  set("registration", "2");
  EXPECT_EQ(at("AT*CNTI=0"), ok({"*CNTI: 0,NONE"}));
  EXPECT_EQ(at("AT*CNTI=1"), ok({"*CNTI: 1,NONE"}));
  EXPECT_EQ(at("AT*CNTI=3"), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT+CGMI"), ok({"Sierra Wireless, Incorporated"}));
}

TEST_F(SierraModel, SysconfigReadsWritesAndKeepsFieldsMarkedUnchanged) {
  EXPECT_EQ(at("AT^SYSCONFIG?"), ok({"^SYSCONFIG:2,2,1,2"}));
  EXPECT_EQ(at("AT^SYSCONFIG=13,1,0,2"), ok());
  EXPECT_EQ(at("AT^SYSCONFIG?;*CNTI=0"), ok({"^SYSCONFIG:13,1,0,2", "*CNTI: 0,EDGE"}));
  EXPECT_EQ(at("AT^SYSCONFIG=14,3,2,4"), ok());
  EXPECT_EQ(at("AT^SYSCONFIG?;*CNTI=0"), ok({"^SYSCONFIG:14,1,0,2", "*CNTI: 0,UMTS"}));
  EXPECT_EQ(at("AT^SYSCONFIG=2,2,3FFFFFFF,1,2"), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT^SYSCONFIG=12,2,1,2"), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT^SYSCONFIG?"), ok({"^SYSCONFIG:14,1,0,2"}));
}

class NovatelModelTest : public ModelFixture {
 protected:
  NovatelModelTest() : ModelFixture(novatel_profile()) {}
};

TEST_F(NovatelModelTest, NetworkFollowsTheTechnologyAndTheModeWrite) {
  const std::pair<const char*, const char*> networks[] = {
      {"gsm", "1"},  {"umts", "2"}, {"hsdpa", "3"}, {"hsupa", "4"},
      {"gprs", "5"}, {"edge", "6"}, {"hspa", "7"},
  };
  for (const auto& [tech, network] : networks) {
    set("tech", tech);
    EXPECT_EQ(at("AT$NWRAT?"), ok({std::string("$NWRAT: 0,1,") + network}));
  }
  set("nwrat_network", "3");
  EXPECT_EQ(at("AT$NWRAT?"), ok({"$NWRAT: 0,1,3"}));
  EXPECT_NE(model.set("nwrat_network", "0"), "");
  EXPECT_NE(model.set("nwrat_network", "8"), "");
  EXPECT_EQ(at("AT$NWRAT=1,1"), ok());
  EXPECT_EQ(at("AT$NWRAT?"), ok({"$NWRAT: 1,1,6"}));
  EXPECT_EQ(at("AT$NWRAT=2,1"), ok());
  EXPECT_EQ(at("AT$NWRAT?"), ok({"$NWRAT: 2,1,2"}));
  at("AT+CMEE=1");
  EXPECT_EQ(at("AT$NWRAT=3,1"), "\r\n+CME ERROR: 50\r\n");
  EXPECT_EQ(at("AT$NWRAT=0"), "\r\n+CME ERROR: 50\r\n");
}

TEST(NokiaModel, IsTheStandardModemUnderItsOwnName) {
  ModemModel model(nokia_profile());
  EXPECT_EQ(model.execute("AT+CGMI"), ok({"Nokia"}));
  EXPECT_EQ(model.execute("AT+CSQ"), ok({"+CSQ: 17,99"}));
  for (const char* vendor : {"AT^SYSINFO", "AT_OWCTI?", "AT*CNTI=0", "AT$NWRAT?"}) {
    EXPECT_EQ(model.execute(vendor), "\r\nERROR\r\n") << vendor;
  }
}

TEST(Profiles, AreFoundByTheirNames) {
  for (const char* name : {"standard", "huawei", "option", "novatel", "sierra", "nokia"}) {
    const Profile* profile = find_profile(name);
    ASSERT_NE(profile, nullptr) << name;
    EXPECT_EQ(profile->name, name);
  }
  EXPECT_EQ(find_profile("Huawei"), nullptr);
  EXPECT_TRUE(find_profile("novatel")->diag_frames);
  EXPECT_FALSE(find_profile("huawei")->diag_frames);
}

}  // namespace
}  // namespace modemsim

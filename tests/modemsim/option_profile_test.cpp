#include "model_fixture.h"

namespace modemsim {
namespace {

class OptionModel : public ModelFixture {
 protected:
  OptionModel() : ModelFixture(option_profile()) {}
};

TEST_F(OptionModel, CellTypesShowOnTheGsmOrTheWcdmaSide) {
  EXPECT_EQ(at("AT_OCTI?"), ok({"_OCTI: 0,0"}));
  EXPECT_EQ(at("AT_OWCTI?"), ok({"_OWCTI: 1"}));
  EXPECT_EQ(at("AT_OHCIP?"), ok({"_OHCIP: 0"}));
  set("tech", "edge");
  EXPECT_EQ(at("AT_OCTI?"), ok({"_OCTI: 0,3"}));
  EXPECT_EQ(at("AT_OWCTI?"), ok({"_OWCTI: 0"}));
  set("tech", "gprs");
  EXPECT_EQ(at("AT_OCTI=1;_OCTI?"), ok({"_OCTI: 1,2"}));
  set("tech", "hspa");
  EXPECT_EQ(at("AT_OWCTI?"), ok({"_OWCTI: 4"}));
  set("tech", "hsdpa");
  EXPECT_EQ(at("AT_OWCTI?"), ok({"_OWCTI: 2"}));
  // An HSDPA call is in progress only while a context is active.
  EXPECT_EQ(at("AT_OHCIP?"), ok({"_OHCIP: 0"}));
  at("AT+CGACT=1,1");
  EXPECT_EQ(at("AT_OHCIP?"), ok({"_OHCIP: 1"}));
  set("registration", "2");
  EXPECT_EQ(at("AT_OCTI?;_OWCTI?;_OHCIP?"), ok({"_OCTI: 1,0", "_OWCTI: 0", "_OHCIP: 0"}));
  EXPECT_EQ(at("AT+CGMI"), ok({"Option N.V."}));
}

TEST_F(OptionModel, OpsysReadsWritesAndMovesTheModemWhereTheModeAllows) {
  EXPECT_EQ(at("AT_OPSYS?"), ok({"_OPSYS: 3,2"}));
  EXPECT_EQ(at("AT_OPSYS=2,2"), ok());
  EXPECT_EQ(at("AT_OPSYS?"), ok({"_OPSYS: 2,2"}));
  EXPECT_EQ(at("AT_OWCTI?"), ok({"_OWCTI: 1"}));
  EXPECT_EQ(at("AT_OPSYS=0,2"), ok());
  EXPECT_EQ(at("AT_OCTI?;_OWCTI?"), ok({"_OCTI: 0,3", "_OWCTI: 0"}));
  EXPECT_EQ(at("AT_OPSYS=1,2"), ok());
  EXPECT_EQ(at("AT_OWCTI?"), ok({"_OWCTI: 1"}));
  EXPECT_EQ(at("AT_OPSYS=4,2"), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT_OPSYS=5"), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT_OPSYS?"), ok({"_OPSYS: 1,2"}));
  set("opsys_mode", "7");
  EXPECT_EQ(at("AT_OPSYS?"), ok({"_OPSYS: 7,2"}));
}

TEST_F(OptionModel, SignalSystemAndAntennaReportsWaitForTheirSwitches) {
  set("rssi", "5");
  set("tech", "edge");
  EXPECT_TRUE(reports().empty());
  EXPECT_EQ(at("AT_OSSYS=1;_OSQI=1;_OEANT=1"), ok());
  EXPECT_EQ(at("AT_OSQI?"), ok({"_OSQI: 1"}));
  set("rssi", "21");
  EXPECT_EQ(reports(), (Lines{"_OSIGQ: 21,99", "_OEANT: 3"}));
  set("rssi", "20");  // the same antenna level
  EXPECT_EQ(reports(), Lines{"_OSIGQ: 20,99"});
  set("ber", "3");
  EXPECT_EQ(reports(), Lines{"_OSIGQ: 20,3"});
  set("tech", "umts");
  EXPECT_EQ(reports(), Lines{"_OSSYSI: 2"});
  set("tech", "hsdpa");  // still UTRAN
  EXPECT_TRUE(reports().empty());
  set("registration", "0");
  EXPECT_EQ(reports(), Lines{"_OSSYSI: 3"});
  at("AT+CFUN=4");
  EXPECT_EQ(reports(), (Lines{"_OSIGQ: 99,99", "_OEANT: 0"}));

  // A restart switches them off again.
  model.restart();
  at("AT+CFUN=1");
  set("registration", "1");
  set("rssi", "30");
  EXPECT_TRUE(reports().empty());
}

}  // namespace
}  // namespace modemsim

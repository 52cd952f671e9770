#include "model_fixture.h"

namespace modemsim {
namespace {

class AnswerShapes : public ModelFixture {
 protected:
  AnswerShapes() : ModelFixture(standard_profile()) {}
};

TEST_F(AnswerShapes, LocationComesQuotedOrBareWithFourOrEightDigitCells) {
  at("AT+CGREG=2");
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2,1,\"00A1\",\"01B2C3D4\""}));
  set("location_quotes", "0");
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2,1,00A1,01B2C3D4"}));
  EXPECT_EQ(reports(), Lines{});
  set("ci", "C3D4");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1,00A1,C3D4"});
  set("ci_digits", "8");
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2,1,00A1,0000C3D4"}));
  set("ci", "1B2C3D4");
  set("ci_digits", "4");  // a modem that gives only the cell's lower 16 bits
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2,1,00A1,C3D4"}));
  set("ci_digits", "auto");
  set("location_quotes", "1");
  at("AT+CREG=2");
  EXPECT_EQ(at("AT+CREG?"), ok({"+CREG: 2,1,\"00A1\",\"01B2C3D4\""}));
  EXPECT_NE(model.set("ci_digits", "6"), "");
}

TEST_F(AnswerShapes, RncAndCellSetTheHalvesOfTheCellIdentity) {
  at("AT+CGREG=2");
  set("rnc", "1");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1,\"00A1\",\"0001C3D4\""});
  set("cell", "2");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1,\"00A1\",\"00010002\""});
  set("rnc", "0");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1,\"00A1\",\"0002\""});
  EXPECT_NE(model.set("rnc", "65536"), "");
  EXPECT_NE(model.set("cell", "x"), "");
}

TEST_F(AnswerShapes, AnAccessTechnologyFieldEndsLocationsAndItsChangeIsReported) {
  at("AT+CGREG=2");
  set("location_act", "1");
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2,1,\"00A1\",\"01B2C3D4\",2"}));
  set("tech", "hsdpa");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1,\"00A1\",\"01B2C3D4\",4"});
  set("tech", "hspa");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1,\"00A1\",\"01B2C3D4\",6"});
  set("rssi", "3");
  EXPECT_EQ(reports(), Lines{});
  set("location_act", "0");
  set("tech", "edge");  // without the field the technology is nobody's business
  EXPECT_EQ(reports(), Lines{});
}

TEST_F(AnswerShapes, RegistrationFieldsMayHaveABlankBehindEachComma) {
  at("AT+CGREG=2");
  at("AT+CREG=1");
  set("registration_blanks", "1");
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2, 1, \"00A1\", \"01B2C3D4\""}));
  EXPECT_EQ(at("AT+CREG?"), ok({"+CREG: 1, 1"}));
  set("location_act", "1");
  set("lac", "426");
  EXPECT_EQ(reports(), Lines{"+CGREG: 1, \"0426\", \"01B2C3D4\", 2"});
  set("registration", "2");
  EXPECT_EQ(reports(), (Lines{"+CREG: 2", "+CGREG: 2"}));
  set("registration_blanks", "0");
  EXPECT_EQ(at("AT+CGREG?"), ok({"+CGREG: 2,2"}));
  EXPECT_NE(model.set("registration_blanks", "yes"), "");
}

TEST_F(AnswerShapes, TheSignalMayComeWithoutABlankBehindTheColon) {
  EXPECT_EQ(at("AT+CSQ"), ok({"+CSQ: 17,99"}));
  set("csq_blank", "0");
  set("rssi", "4");
  set("ber", "0");
  EXPECT_EQ(at("AT+CSQ"), ok({"+CSQ:4,0"}));
  EXPECT_NE(model.set("csq_blank", "2"), "");
}

TEST_F(AnswerShapes, TheDataConnectionMayRunOnAnotherContextThanTheFirst) {
  set("data_cid", "4");
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,0", "+CGACT: 4,0"}));
  EXPECT_EQ(at("AT+CGDCONT?"), ok({"+CGDCONT: 1,\"IP\",\"internet\",\"0.0.0.0\",0,0",
                                   "+CGDCONT: 4,\"IP\",\"internet\",\"0.0.0.0\",0,0"}));
  ASSERT_EQ(model.connect(), "");
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,0", "+CGACT: 4,1"}));
  EXPECT_EQ(at("AT+CGACT=0,1"), ok());  // the first context only: the connection stays
  EXPECT_TRUE(model.data_connected());
  model.disconnect();
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,0", "+CGACT: 4,0"}));
  set("pdp", "1");
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,0", "+CGACT: 4,1"}));
  EXPECT_NE(model.set("data_cid", "0"), "");
  EXPECT_NE(model.set("data_cid", "17"), "");
}

TEST_F(AnswerShapes, TheOperatorComesInTheFormatAskedOrTheOneTheModemInsistsOn) {
  set("operator", "310410");
  at("AT+COPS=3,2");
  EXPECT_EQ(at("AT+COPS?"), ok({"+COPS: 0,2,\"310410\",2"}));
  set("operator_format", "long");
  EXPECT_EQ(at("AT+COPS?"), ok({"+COPS: 0,0,\"Simnet ZA\",2"}));
  set("operator_format", "numeric");
  at("AT+COPS=3,0");
  EXPECT_EQ(at("AT+COPS?"), ok({"+COPS: 0,2,\"310410\",2"}));
  set("operator_format", "asked");
  set("operator_name", "");
  EXPECT_EQ(at("AT+COPS?"), ok({"+COPS: 0,0,\"\",2"}));
  set("operator_name", "FFFFFFFF");
  EXPECT_EQ(at("AT+COPS?"), ok({"+COPS: 0,0,\"FFFFFFFF\",2"}));
  EXPECT_NE(model.set("operator_format", "2"), "");
}

TEST_F(AnswerShapes, TheTechnologyGivesTheAccessTechnologyOfCops) {
  const std::pair<const char*, const char*> acts[] = {
      {"gsm", "0"},   {"gprs", "0"},  {"edge", "3"}, {"umts", "2"},
      {"hsdpa", "4"}, {"hsupa", "5"}, {"hspa", "6"},
  };
  for (const auto& [tech, act] : acts) {
    set("tech", tech);
    EXPECT_EQ(at("AT+COPS?"), ok({std::string("+COPS: 0,0,\"Simnet ZA\",") + act}));
  }
  EXPECT_EQ(at("AT+COPS=?"), ok({"+COPS: (2,\"Simnet ZA\",\"Simnet\",\"65501\",6),,(0-4),(0-2)"}));
  EXPECT_NE(model.set("tech", "lte"), "");
}

TEST_F(AnswerShapes, ContextsShowTheAddressTheModemWrites) {
  EXPECT_EQ(at("AT+CGDCONT?"), ok({"+CGDCONT: 1,\"IP\",\"internet\",\"0.0.0.0\",0,0"}));
  set("pdp_address", "");
  at("AT+CGDCONT=2,\"IP\",\"\"");
  EXPECT_EQ(at("AT+CGDCONT?"),
            ok({"+CGDCONT: 1,\"IP\",\"internet\",\"\",0,0", "+CGDCONT: 2,\"IP\",\"\",\"\",0,0"}));
}

}  // namespace
}  // namespace modemsim

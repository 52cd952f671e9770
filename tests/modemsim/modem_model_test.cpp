#include "modem_model.h"

#include <gtest/gtest.h>

namespace modemsim {
namespace {

class ModemModelTest : public ::testing::Test {
 protected:
  std::string at(std::string_view line) { return model.execute(line); }
  std::vector<std::string> unsolicited() {
    std::vector<std::string> out;
    for (Unsolicited& u : model.take_unsolicited()) out.push_back(u.bytes);
    return out;
  }
  void set(std::string_view key, std::string_view value) { ASSERT_EQ(model.set(key, value), ""); }

  ModemModel model{standard_profile()};
};

TEST_F(ModemModelTest, AnswersAreFramedLinesThenTheFinalResult) {
  EXPECT_EQ(at("AT"), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CSQ"), "\r\n+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CGMI;+CGMM"), "\r\nModemsim\r\n\r\nMS-3G100\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+XYZ"), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT+CSQ;+XYZ;+CGMI"), "\r\n+CSQ: 17,99\r\n\r\nERROR\r\n");
  EXPECT_EQ(at("\x1b"), "");
}

TEST_F(ModemModelTest, ErrorsFollowCmee) {
  set("sim", "absent");
  EXPECT_EQ(at("AT+CPIN?"), "\r\nERROR\r\n");
  at("AT+CMEE=1");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CME ERROR: 10\r\n");
  at("AT+CMEE=2");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CME ERROR: SIM not inserted\r\n");
  EXPECT_EQ(at("AT+CMEE?"), "\r\n+CMEE: 2\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, EchoAndSettingsComeBackWithFactoryDefaults) {
  EXPECT_TRUE(model.echo());
  at("ATE0");
  at("AT+CMEE=1");
  EXPECT_FALSE(model.echo());
  at("AT&F0");
  EXPECT_TRUE(model.echo());
  EXPECT_EQ(at("AT+CMEE?"), "\r\n+CMEE: 0\r\n\r\nOK\r\n");
  EXPECT_EQ(at("ATE2"), "\r\nERROR\r\n");
}

TEST_F(ModemModelTest, WrongPinsLockTheSimUntilThePukSetsANewPin) {
  set("sim", "pin");
  at("AT+CMEE=1");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CIMI"), "\r\n+CME ERROR: 11\r\n");
  EXPECT_EQ(at("AT+CPIN=1111"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(at("AT+CPIN=\"2222\""), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CPIN=3333"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CPIN: SIM PUK\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CPIN=1234"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(at("AT+CPIN=\"12345678\",\"4321\""), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CPIN=4321"), "\r\n+CME ERROR: 3\r\n");
  // The PIN lock stays on: after a restart the new PIN is wanted.
  model.restart();
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CPIN: SIM PIN\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CPIN=4321"), "\r\nOK\r\n");
}

TEST_F(ModemModelTest, ABusySimAnswersBusyAsOftenAsTold) {
  set("sim_busy", "2");
  at("AT+CMEE=1");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CME ERROR: 14\r\n");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CME ERROR: 14\r\n");
  EXPECT_EQ(at("AT+CPIN?"), "\r\n+CPIN: READY\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, RegistrationReadsAndReportsFollowTheSettingN) {
  EXPECT_EQ(at("AT+CGREG?"), "\r\n+CGREG: 0,1\r\n\r\nOK\r\n");
  at("AT+CGREG=2");
  EXPECT_EQ(at("AT+CGREG?"), "\r\n+CGREG: 2,1,\"00A1\",\"01B2C3D4\"\r\n\r\nOK\r\n");
  EXPECT_TRUE(unsolicited().empty());

  set("ci", "1234");
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CGREG: 1,\"00A1\",\"1234\"\r\n"});
  set("registration", "2");
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CGREG: 2\r\n"});

  at("AT+CGREG=1");
  at("AT+CREG=1");
  set("registration", "5");
  EXPECT_EQ(unsolicited(), (std::vector<std::string>{"\r\n+CREG: 5\r\n", "\r\n+CGREG: 5\r\n"}));
  set("lac", "B2");  // n=1 reports only a change of status
  EXPECT_TRUE(unsolicited().empty());
  EXPECT_EQ(at("AT+CREG?"), "\r\n+CREG: 1,5\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, RadioOffLosesSignalOperatorAndRegistration) {
  at("AT+CGREG=1");
  EXPECT_EQ(at("AT+CFUN?"), "\r\n+CFUN: 1\r\n\r\nOK\r\n");
  at("AT+CFUN=4");
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CGREG: 0\r\n"});
  EXPECT_EQ(at("AT+CFUN?"), "\r\n+CFUN: 4\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CSQ"), "\r\n+CSQ: 99,99\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+COPS?"), "\r\n+COPS: 0\r\n\r\nOK\r\n");
  at("AT+CFUN=1");
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CGREG: 1\r\n"});
}

TEST_F(ModemModelTest, ARestartDropsTheSessionSilently) {
  at("ATE0");
  at("AT+CGREG=2");
  at("AT+CGACT=1,1");
  EXPECT_EQ(at("AT+CFUN=6"), "\r\nOK\r\n");
  EXPECT_TRUE(model.echo());
  EXPECT_TRUE(unsolicited().empty());
  EXPECT_EQ(at("AT+CGACT?"), "\r\n+CGACT: 1,0\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, TheOperatorComesInTheFormatAsked) {
  EXPECT_EQ(at("AT+COPS=3,2"), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+COPS?"), "\r\n+COPS: 0,2,\"65501\",2\r\n\r\nOK\r\n");
  at("AT+COPS=3,0");
  EXPECT_EQ(at("AT+COPS?"), "\r\n+COPS: 0,0,\"Simnet ZA\",2\r\n\r\nOK\r\n");
  set("operator_name", "FFFF");
  EXPECT_EQ(at("AT+COPS?"), "\r\n+COPS: 0,0,\"FFFF\",2\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+COPS=3,7"), "\r\nERROR\r\n");
}

TEST_F(ModemModelTest, ContextsAreDefinedActivatedAndDroppedByHangUp) {
  EXPECT_EQ(at("AT+CGDCONT=1,\"IP\",\"web.example\""), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CGDCONT?"),
            "\r\n+CGDCONT: 1,\"IP\",\"web.example\",\"0.0.0.0\",0,0\r\n\r\nOK\r\n");
  at("AT+CMEE=1");
  set("registration", "0");
  EXPECT_EQ(at("AT+CGACT=1,1"), "\r\n+CME ERROR: 30\r\n");
  set("registration", "1");
  EXPECT_EQ(at("AT+CGACT=1,1"), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CGACT?"), "\r\n+CGACT: 1,1\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CGACT=1,2"), "\r\n+CME ERROR: 50\r\n");
  at("ATH");
  EXPECT_EQ(at("AT+CGACT?"), "\r\n+CGACT: 1,0\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, UssdAnswersComeLaterAsReports) {
  model.define_ussd("*111#", {1, "Menu\n1 Balance", true});
  EXPECT_EQ(at("AT+CUSD=1,\"*111#\",15"), "\r\nOK\r\n");
  auto reports = model.take_unsolicited();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].delay_ms, 300u);
  EXPECT_EQ(reports[0].bytes, "\r\n+CUSD: 1,\"Menu\n1 Balance\",15\r\n");
  at("AT+CUSD=1,\"*2#\",15");
  EXPECT_EQ(unsolicited(),
            std::vector<std::string>{"\r\n+CUSD: 0,\"Unknown service code\",15\r\n"});
  EXPECT_EQ(at("AT+CUSD=2"), "\r\nOK\r\n");
  EXPECT_TRUE(unsolicited().empty());
}

TEST_F(ModemModelTest, UssdMenusFollowTheSessionPathInTheirCodingAndTimeOut) {
  UssdAnswer data{1, "Data"};
  data.coding = UssdCoding::Ucs2;
  UssdAnswer never{0, ""};
  never.silent = true;
  UssdAnswer late{2, ""};
  late.delay_ms = 25000;
  late.has_text = false;
  model.define_ussd("*111#", {1, "Balance"});
  model.define_ussd("*111#>1", data);
  model.define_ussd("*111#>1>2", {0, "Done"});
  model.define_ussd("2", {0, "2 alone"});
  model.define_ussd("*5#", never);
  model.define_ussd("*6#", late);
  UssdAnswer packed{0, "Balance"};
  packed.coding = UssdCoding::Gsm7;
  model.define_ussd("*7#", packed);

  at("AT+CUSD=1,\"*111#\",15");
  at("AT+CUSD=1,\"1\",15");
  at("AT+CUSD=1,\"2\",15");
  at("AT+CUSD=1,\"2\",15");  // the session has ended: the reply alone
  EXPECT_EQ(unsolicited(),
            (std::vector<std::string>{
                "\r\n+CUSD: 1,\"Balance\",15\r\n", "\r\n+CUSD: 1,\"0044006100740061\",72\r\n",
                "\r\n+CUSD: 0,\"Done\",15\r\n", "\r\n+CUSD: 0,\"2 alone\",15\r\n"}));
  at("AT+CUSD=1,\"*5#\",15");
  EXPECT_TRUE(unsolicited().empty());
  at("AT+CUSD=1,\"*6#\",15");
  at("AT+CUSD=1,\"*7#\",15");
  auto reports = model.take_unsolicited();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].delay_ms, 25000u);
  EXPECT_EQ(reports[0].bytes, "\r\n+CUSD: 2\r\n");
  EXPECT_EQ(reports[1].bytes,
            "\r\n+CUSD: 0,\"C2303BEC1E971B\",15\r\n");  // CR fills the last septet
}

TEST_F(ModemModelTest, AnApnErrorRefusesNewApns) {
  set("apn_error", "1");
  EXPECT_EQ(at("AT+CGDCONT=1,\"IP\",\"newapn\""), "\r\nERROR\r\n");
  EXPECT_EQ(at("AT+CGDCONT?"), "\r\n+CGDCONT: 1,\"IP\",\"internet\",\"0.0.0.0\",0,0\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, AnSmsIsPromptedCheckedAgainstItsLengthAndAnsweredLater) {
  // SMSC length 00, then a TPDU of 3 octets.
  EXPECT_EQ(at("AT+CMGS=3"), "\r\n> ");
  EXPECT_TRUE(model.awaiting_sms_body());
  EXPECT_EQ(model.finish_sms("00112233", false), "");
  EXPECT_FALSE(model.awaiting_sms_body());
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CMGS: 1\r\n\r\nOK\r\n"});

  at("AT+CMGS=4");
  model.finish_sms("00112233", false);
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CMS ERROR: 304\r\n"});

  set("sms_error", "500");
  at("AT+CMGS=3");
  model.finish_sms("00112233", false);
  EXPECT_EQ(unsolicited(), std::vector<std::string>{"\r\n+CMS ERROR: 500\r\n"});

  at("AT+CMGS=3");
  EXPECT_EQ(model.finish_sms("00", true), "\r\nOK\r\n");
  EXPECT_TRUE(unsolicited().empty());
}

TEST_F(ModemModelTest, MessagingSettingsAreCheckedAndReadBack) {
  EXPECT_EQ(at("AT+CMGF=0"), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CMGF=2"), "\r\n+CMS ERROR: 303\r\n");
  EXPECT_EQ(at("AT+CNMI=1,1,2,1,0"), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CNMI?"), "\r\n+CNMI: 1,1,2,1,0\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CNMI=1,1,2,3,0"), "\r\n+CMS ERROR: 303\r\n");
  EXPECT_EQ(at("AT+CSCB=1"), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CSCB=0,\"0-65535\",\"\""), "\r\nOK\r\n");
  EXPECT_EQ(at("AT+CSCB?"), "\r\n+CSCB: 0,\"0-65535\",\"\"\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, TheSimGivesItsIccidInStoredDigitOrder) {
  EXPECT_EQ(at("AT+CRSM=176,12258,0,0,10"),
            "\r\n+CRSM: 144,0,\"987200214365870921F3\"\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CRSM=176,28423,0,0,9"), "\r\n+CRSM: 106,130\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CGSN"), "\r\n356938035643809\r\n\r\nOK\r\n");
  EXPECT_EQ(at("AT+CIMI"), "\r\n655011234567890\r\n\r\nOK\r\n");
}

TEST_F(ModemModelTest, SettingsRefuseUnknownKeysAndBadValues) {
  EXPECT_NE(model.set("colour", "blue"), "");
  EXPECT_NE(model.set("rssi", "loud"), "");
  EXPECT_NE(model.set("sim", "maybe"), "");
  EXPECT_NE(model.set("nwrat_mode", "1"), "");  // a Novatel key
}

TEST(NovatelModel, AddsItsCommandsAndKeysToTheStandardOnes) {
  ModemModel model(novatel_profile());
  EXPECT_EQ(model.execute("AT$NWRAT?"), "\r\n$NWRAT: 0,1,2\r\n\r\nOK\r\n");
  EXPECT_EQ(model.execute("AT$NWRAT=2,1"), "\r\nOK\r\n");
  EXPECT_EQ(model.set("nwrat_network", "6"), "");
  EXPECT_EQ(model.execute("AT$NWRAT?"), "\r\n$NWRAT: 2,1,6\r\n\r\nOK\r\n");
  model.execute("AT+CFUN=4");
  EXPECT_EQ(model.execute("AT$NWRAT?"), "\r\n$NWRAT: 2,1,0\r\n\r\nOK\r\n");
  EXPECT_EQ(model.execute("AT$NWICCID?"), "\r\n$NWICCID: 8927001234567890123\r\n\r\nOK\r\n");
  EXPECT_EQ(model.execute("AT$NWPDN=0"), "\r\nOK\r\n");
  EXPECT_EQ(model.execute("AT+CSQ"), "\r\n+CSQ: 99,99\r\n\r\nOK\r\n");
}

}  // namespace
}  // namespace modemsim

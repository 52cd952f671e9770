#include <sstream>

#include "engine.h"
#include "model_fixture.h"

namespace modemsim {
namespace {

class HuaweiModel : public ModelFixture {
 protected:
  HuaweiModel() : ModelFixture(huawei_profile()) {}
};

TEST_F(HuaweiModel, AnswersTheHandshakeBootLockAndReportSwitch) {
  EXPECT_EQ(at("AT^HS=0,0"), ok({"^HS:24117505,0,0,0,0"}));
  EXPECT_EQ(at("AT^BOOT=24117505,0"), ok());
  EXPECT_EQ(at("AT^CURC=1"), ok());
  EXPECT_EQ(at("AT^CURC?"), ok({"^CURC: 1"}));
  EXPECT_EQ(at("AT^CARDLOCK?"), ok({"^CARDLOCK: 2,10,0"}));
  EXPECT_EQ(at("AT+CGMI"), ok({"huawei"}));
  set("cardlock", "1,10,65507");
  EXPECT_EQ(at("AT^CARDLOCK?"), ok({"^CARDLOCK: 1,10,65507"}));
  EXPECT_NE(model.set("cardlock", "locked"), "");
  at("AT+CFUN=4");
  EXPECT_EQ(at("AT^HS=0,0"), ok({"^HS:24117505,0,1,0,0"}));
  EXPECT_EQ(at("AT^CURC=2"), "\r\nERROR\r\n");
}

TEST_F(HuaweiModel, SysinfoFollowsServiceRoamingTechnologyAndSim) {
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:2,3,0,5,1,,4"}));
  set("registration", "5");
  set("tech", "edge");
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:2,3,1,3,1,,3"}));
  set("registration", "2");
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:0,4,0,0,1,,0"}));
  set("registration", "3");
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:1,0,0,0,1,,0"}));
  set("registration", "1");
  at("AT+CFUN=4");
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:4,0,0,0,1,,0"}));
  at("AT+CFUN=1");
  set("sim", "absent");
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:0,0,0,0,255,,0"}));
}

TEST_F(HuaweiModel, PinStateCountsTheAttemptsLeft) {
  at("AT+CMEE=1");
  EXPECT_EQ(at("AT^CPIN?"), ok({"^CPIN: READY,,10,3,10,3"}));
  set("sim", "pin");
  EXPECT_EQ(at("AT^CPIN?"), ok({"^CPIN: SIM PIN,3,10,3,10,3"}));
  EXPECT_EQ(at("AT^CPIN=1111"), "\r\n+CME ERROR: 16\r\n");
  EXPECT_EQ(at("AT^CPIN?"), ok({"^CPIN: SIM PIN,2,10,2,10,3"}));
  at("AT^CPIN=2222");
  at("AT^CPIN=3333");
  EXPECT_EQ(at("AT^CPIN?"), ok({"^CPIN: SIM PUK,10,10,0,10,3"}));
  EXPECT_EQ(at("AT^CPIN=\"12345678\",\"4321\""), ok());
  EXPECT_EQ(at("AT^CPIN?"), ok({"^CPIN: READY,,10,3,10,3"}));
  set("sim_busy", "1");
  EXPECT_EQ(at("AT^CPIN?"), "\r\n+CME ERROR: 14\r\n");
  set("sim", "absent");
  EXPECT_EQ(at("AT^CPIN?"), "\r\n+CME ERROR: 10\r\n");
}

TEST_F(HuaweiModel, SyscfgWritesEveryFieldAndKeepsThoseMarkedUnchanged) {
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:2,2,3FFFFFFF,1,2"}));
  EXPECT_EQ(at("AT^SYSCFG=14,2,3FFFFFFF,1,2"), ok());
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:14,2,3FFFFFFF,1,2"}));
  EXPECT_EQ(at("AT^SYSCFG=16,3,40000000,2,4"), ok());
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:14,2,3FFFFFFF,1,2"}));
  // A band mask wider than 32 bits comes back as it went in.
  EXPECT_EQ(at("AT^SYSCFG=2,0,2000004e80380,0,3"), ok());
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:2,0,2000004E80380,0,3"}));
  set("syscfg_band", "40000000000");
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:2,0,40000000000,0,3"}));

  at("AT+CMEE=1");
  for (const char* bad :
       {"AT^SYSCFG=7,2,3FFFFFFF,1,2", "AT^SYSCFG=2,4,3FFFFFFF,1,2", "AT^SYSCFG=2,2,XYZ,1,2",
        "AT^SYSCFG=2,2,3FFFFFFF,3,2", "AT^SYSCFG=2,2,3FFFFFFF,1,5", "AT^SYSCFG=2,2,3FFFFFFF,1"}) {
    EXPECT_EQ(at(bad), "\r\n+CME ERROR: 50\r\n") << bad;
  }
  // Nothing of a refused write sticks.
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:2,0,40000000000,0,3"}));
  // The scenario may set what no write could, for the host's sake.
  set("syscfg_mode", "16");
  EXPECT_EQ(at("AT^SYSCFG?"), ok({"^SYSCFG:16,0,40000000000,0,3"}));
}

TEST_F(HuaweiModel, ReportsSignalModeAndServiceStateWhileCurcIsOn) {
  set("rssi", "5");
  EXPECT_EQ(reports(), Lines{"^RSSI:5"});
  set("tech", "hsdpa");
  EXPECT_EQ(reports(), Lines{"^MODE:5,5"});
  set("tech", "hsdpa");
  EXPECT_TRUE(reports().empty());
  at("AT+CGREG=2");
  set("registration", "2");
  EXPECT_EQ(reports(), (Lines{"+CGREG: 2", "^SRVST:0", "^MODE:0,0"}));
  set("registration", "1");
  EXPECT_EQ(reports(), (Lines{"+CGREG: 1,\"00A1\",\"01B2C3D4\"", "^SRVST:2", "^MODE:5,5"}));
  at("AT+CGREG=0");
  at("AT+CFUN=4");
  EXPECT_EQ(reports(), (Lines{"^RSSI:99", "^SRVST:4", "^MODE:0,0"}));
  at("AT+CFUN=1");
  reports();

  at("AT^CURC=0");
  set("rssi", "9");
  set("tech", "gprs");
  EXPECT_TRUE(reports().empty());
  EXPECT_EQ(at("AT^SYSINFO"), ok({"^SYSINFO:2,3,0,3,1,,2"}));
}

TEST_F(HuaweiModel, ANetworkModeThatForbidsTheTechnologyInUseMovesTheModem) {
  EXPECT_EQ(at("AT^SYSCFG=13,1,3FFFFFFF,1,2"), ok());
  EXPECT_EQ(reports(), Lines{"^MODE:3,3"});
  EXPECT_EQ(at("AT^SYSCFG=13,1,3FFFFFFF,1,2"), ok());
  EXPECT_TRUE(reports().empty());
  EXPECT_EQ(at("AT^SYSCFG=2,1,3FFFFFFF,1,2"), ok());  // allowed: it stays on EDGE
  EXPECT_TRUE(reports().empty());
  at("AT^SYSCFG=14,2,3FFFFFFF,1,2");
  EXPECT_EQ(reports(), Lines{"^MODE:5,4"});
}

TEST_F(HuaweiModel, ARestartAnnouncesItselfWithBootAndSwitchesReportsBackOn) {
  at("AT^CURC=0");
  EXPECT_EQ(at("AT+CFUN=6"), ok());
  EXPECT_EQ(reports(), Lines{"^BOOT:24117505,0,0,0,0"});
  EXPECT_EQ(at("AT^CURC?"), ok({"^CURC: 1"}));
  set("hs_id", "1234");
  model.restart();
  EXPECT_EQ(reports(), Lines{"^BOOT:1234,0,0,0,0"});
  // Factory defaults bring the report switch back too.
  at("AT^CURC=0");
  at("AT&F");
  EXPECT_EQ(at("AT^CURC?"), ok({"^CURC: 1"}));
}

TEST(HuaweiEngine, ReportsAndTheBootAnnouncementAreBurstsOfTheirOwn) {
  std::ostringstream text;
  std::ostringstream raw;
  Transcript transcript(text, raw);
  Engine engine(huawei_profile(), &transcript);
  Millis now = 1000;
  auto writes = [&](Millis until) {
    std::vector<std::string> out;
    for (; now <= until; ++now) {
      while (auto bytes = engine.output().pop(now, true)) out.push_back(*bytes);
    }
    now = until;
    return out;
  };
  engine.receive("ATE0\r", now);
  EXPECT_EQ(writes(now), Lines{"ATE0\r\r\nOK\r\n"});
  ASSERT_EQ(engine.apply("set rssi 21", now, false), "");
  ASSERT_EQ(engine.apply("set reenumerate_ms 0", now, false), "");  // restarts on the same port
  ASSERT_EQ(engine.apply("restart", now, false), "");
  EXPECT_EQ(writes(now + 2 * kBurstGapMs + 2),
            (Lines{"\r\n^RSSI:21\r\n", "\r\n^BOOT:24117505,0,0,0,0\r\n"}));
  // The restart brought the echo back.
  engine.receive("AT^SYSCFG=13,1,3FFFFFFF,1,2\r", now);
  EXPECT_EQ(writes(now + kBurstGapMs + 1),
            (Lines{"AT^SYSCFG=13,1,3FFFFFFF,1,2\r\r\nOK\r\n", "\r\n^MODE:3,3\r\n"}));
  EXPECT_NE(text.str().find("\nAT^SYSCFG=13,1,3FFFFFFF,1,2\\r"), std::string::npos);
}

}  // namespace
}  // namespace modemsim

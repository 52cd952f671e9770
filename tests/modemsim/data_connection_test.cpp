#include <sstream>

#include "engine.h"
#include "model_fixture.h"
#include "scenario.h"

namespace modemsim {
namespace {

class HuaweiData : public ModelFixture {
 protected:
  HuaweiData() : ModelFixture(huawei_profile()) {}

  std::string connect() { return model.connect(); }
  // The report of the next flow interval, without its framing.
  std::string tick() {
    std::string bytes = model.flow_tick();
    return bytes.empty() ? bytes : bytes.substr(2, bytes.size() - 4);
  }
};

TEST_F(HuaweiData, ReportsTimeRatesCountersAndQosInFixedWidthHex) {
  set("tx_rate", "1500");
  set("rx_rate", "12000");
  ASSERT_EQ(connect(), "");
  EXPECT_EQ(tick(),
            "^DSFLOWRPT:00000002,000005DC,00002EE0,0000000000000BB8,0000000000005DC0,"
            "0000BB80,0006DDD0");
  set("tx_rate", "262501");
  set("qos_tx", "b09ea4a");
  set("qos_rx", "10000000");
  EXPECT_EQ(tick(),
            "^DSFLOWRPT:00000004,00040165,00002EE0,0000000000080E82,000000000000BB80,"
            "0B09EA4A,10000000");
  EXPECT_EQ(tick().size(), 89u);
  EXPECT_NE(model.set("qos_tx", "100000000"), "");
}

TEST_F(HuaweiData, EachConnectionCountsFromZeroAndDsflowclrStartsAgain) {
  set("tx_rate", "100");
  set("rx_rate", "200");
  connect();
  tick();
  tick();
  EXPECT_EQ(at("AT^DSFLOWCLR"), ok());
  EXPECT_EQ(tick().substr(0, 46), "^DSFLOWRPT:00000002,00000064,000000C8,00000000");
  model.disconnect();
  set("pdp", "1");  // a context the host or a scenario activates is a connection too
  EXPECT_EQ(tick().substr(11, 8), "00000002");
}

TEST_F(HuaweiData, ImplausibleCountersAndOneOffRateSpikes) {
  set("tx_rate", "1000");
  connect();
  // Counters left over from before: the first report is far too high.
  set("tx_bytes", "4294967296");
  set("rx_bytes", "500000");
  EXPECT_EQ(tick().substr(11, 70),
            "00000002,000003E8,00002EE0,00000001000007D0,000000000007FEE0,0000BB80,");
  model.spike(300000, 1000000);
  std::string spiked = tick();
  EXPECT_EQ(spiked.substr(11, 26), "00000004,000493E0,000F4240");
  // The counters kept the network's pace, and the spike was once only.
  EXPECT_EQ(spiked.substr(38, 16), "0000000100000FA0");
  EXPECT_EQ(tick().substr(20, 17), "000003E8,00002EE0");
}

TEST_F(HuaweiData, TheContextAnswersCgactAndDropsWithHangUpOrRestart) {
  at("ATE0");
  set("registration", "2");
  EXPECT_EQ(connect(), "connect needs a registered modem");
  EXPECT_FALSE(model.data_connected());
  set("registration", "1");
  connect();
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,1"}));
  EXPECT_EQ(at("AT+CGACT=0,1"), ok());
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,0"}));
  connect();
  EXPECT_EQ(at("ATH"), ok());
  EXPECT_FALSE(model.data_connected());
  connect();
  model.disconnect();
  EXPECT_EQ(at("AT+CGACT?"), ok({"+CGACT: 1,0"}));
  connect();
  at("AT+CFUN=6");
  EXPECT_FALSE(model.data_connected());
}

TEST_F(HuaweiData, ReportsOffWithCurcButTheCountersGoOn) {
  connect();
  at("AT^CURC=0");
  EXPECT_EQ(tick(), "");
  at("AT^CURC=1");
  EXPECT_EQ(tick().substr(11, 8), "00000004");
}

TEST(StandardData, AStandardModemCountsButNeverReports) {
  ModemModel model(standard_profile());
  ASSERT_EQ(model.connect(), "");
  EXPECT_EQ(model.flow_tick(), "");
  EXPECT_EQ(model.counters().duration_ms, 2000u);
}

// The simulator on a clock: when the reports go out.
class DataEngine : public ::testing::Test {
 protected:
  void control(std::string_view line) { ASSERT_EQ(engine.apply(line, now, false), "") << line; }
  // The report lines sent up to `until`, each with the time it went out.
  std::vector<std::pair<Millis, std::string>> reports(Millis until) {
    std::vector<std::pair<Millis, std::string>> out;
    for (; now <= until; ++now) {
      engine.advance(now);
      while (auto bytes = engine.output().pop(now, true)) {
        if (bytes->find("^DSFLOWRPT:") != std::string::npos) out.emplace_back(now, *bytes);
      }
    }
    now = until;
    return out;
  }
  std::vector<Millis> times(Millis until) {
    std::vector<Millis> out;
    for (const auto& [time, bytes] : reports(until)) out.push_back(time);
    return out;
  }

  std::ostringstream text;
  std::ostringstream raw;
  Transcript transcript{text, raw};
  Engine engine{huawei_profile(), &transcript};
  Millis now = 1000;
};

TEST_F(DataEngine, ReportsEveryTwoSecondsWhileConnected) {
  EXPECT_TRUE(times(5000).empty());
  control("connect");
  Millis up = now;
  auto sent = reports(up + 4100);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].first, up + 2000 + kBurstGapMs);
  EXPECT_EQ(sent[0].second.substr(0, 22), "\r\n^DSFLOWRPT:00000002,");
  EXPECT_EQ(sent[1].first, up + 4000 + kBurstGapMs);
  EXPECT_EQ(engine.next_step_time(), up + 6000);
}

TEST_F(DataEngine, HangUpSilentDropAndStoppedReportsEndThem) {
  control("connect");
  times(now + 2100);
  engine.receive("ATH\r", now);
  EXPECT_TRUE(times(now + 5000).empty());
  EXPECT_EQ(engine.next_step_time(), std::nullopt);

  control("connect");
  times(now + 2100);
  control("disconnect");
  EXPECT_TRUE(times(now + 5000).empty());

  // Reports that stop while the context stays up, and come back.
  control("connect");
  control("set flow_interval 0");
  EXPECT_TRUE(times(now + 5000).empty());
  control("set flow_interval 1000");
  EXPECT_EQ(times(now + 1100).size(), 1u);
}

TEST_F(DataEngine, AModemThatStopsAnsweringStopsReportingButKeepsCounting) {
  control("connect");
  control("silence on");
  EXPECT_TRUE(times(now + 4100).empty());
  control("silence off");
  auto sent = reports(now + 2000);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].second.substr(2, 20), "^DSFLOWRPT:00000006,");
}

TEST_F(DataEngine, AFloodSendsEveryReportItPromisesWithCountersThatAddUp) {
  control("set flow_interval 0");
  control("connect");
  control("flood 500 2");
  auto sent = reports(now + 2100);
  ASSERT_EQ(sent.size(), 1000u);
  // 2 ms of 1,500 and 12,000 bytes a second each: 3 and 24 bytes more every time.
  EXPECT_EQ(sent[0].second.substr(0, 57),
            "\r\n^DSFLOWRPT:00000000,000005DC,00002EE0,0000000000000003,");
  EXPECT_EQ(sent.back().second.substr(0, 74),
            "\r\n^DSFLOWRPT:00000002,000005DC,00002EE0,0000000000000BB8,0000000000005DC0,");
  EXPECT_EQ(engine.next_step_time(), std::nullopt);
}

TEST(DataScenario, ConnectDisconnectAndSpikeSteps) {
  std::string error;
  EXPECT_EQ(parse_scenario_line("connect", error)->step.kind, StepKind::Connect);
  EXPECT_EQ(parse_scenario_line("after 5000 disconnect", error)->step.kind, StepKind::Disconnect);
  auto spike = parse_scenario_line("spike 262501 0", error);
  ASSERT_TRUE(spike);
  EXPECT_EQ(spike->step.kind, StepKind::Spike);
  EXPECT_EQ(spike->step.tx_rate, 262501u);
  EXPECT_EQ(spike->step.rx_rate, 0u);
  EXPECT_EQ(parse_scenario_line("flood 500 60", error)->step.count, 500u);
  for (const char* bad : {"spike 1", "spike 1 2 3", "spike 4294967296 0", "connect now",
                          "flood 300 60", "flood 0 60", "flood 500"}) {
    EXPECT_FALSE(parse_scenario_line(bad, error)) << bad;
  }
}

}  // namespace
}  // namespace modemsim

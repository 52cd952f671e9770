#include "usage/flow_report.h"

#include <gtest/gtest.h>

#include "link/flow_parser.h"
#include "usage/usage_fixture.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

FlowReport report(std::uint32_t duration, std::uint32_t tx_rate = 0, std::uint32_t rx_rate = 0,
                  std::int64_t tx_bytes = 0, std::int64_t rx_bytes = 0) {
  FlowReport r;
  r.duration = duration;
  r.tx_rate = tx_rate;
  r.rx_rate = rx_rate;
  r.tx_bytes = tx_bytes;
  r.rx_bytes = rx_bytes;
  return r;
}

struct FlowReportTest : test::UsageTest {
  FlowReportTest() {
    context.settings.session_log = true;
    state.session = {7, 700, 7000};  // from an earlier report
  }
};

TEST_F(FlowReportTest, TheFirstReportGoesOnlineOnceAndEveryReportRearmsTheWatchdog) {
  state.watchdog_miss_count = 3;
  on_flow_report(context, report(10));
  const Entries first = journal.take();
  EXPECT_EQ(Entries(first.begin(), first.begin() + 2),
            (Entries{"text 1052 \"Disconnect\"", "timer 1201 2500"}));
  EXPECT_TRUE(state.online);
  EXPECT_EQ(state.watchdog_miss_count, 0u);
  EXPECT_TRUE(sink.contains("KIVO: ^DSFLOWRPT received, assuming device is online"));

  state.watchdog_miss_count = 2;
  on_flow_report(context, report(12));
  EXPECT_EQ(journal.take().front(), "timer 1201 2500");
  EXPECT_EQ(state.watchdog_miss_count, 0u);
  EXPECT_EQ(logged_events(), Entries{"CONNECTION DETECTED"});
  // The row shows the counters before the report was taken in.
  EXPECT_EQ(session_log(),
            "\"2009/03/07\",\"14:05:09\",\"CONNECTION DETECTED\",7,700,7000,0,0,0\r\n");
}

TEST_F(FlowReportTest, AFirstReportPastAnyLimitIsDroppedAndTheModemCountersCleared) {
  const struct {
    FlowReport r;
    bool accepted;
  } cases[] = {
      {report(2, 0, 0, 98304, 0), true},      {report(2, 0, 0, 98305, 0), false},
      {report(2, 0, 0, 0, 460800), true},     {report(2, 0, 0, 0, 460801), false},
      {report(2, 262500, 0, 0, 0), true},     {report(2, 262501, 0, 0, 0), false},
      {report(2, 0, 912500, 0, 0), true},     {report(2, 0, 912501, 0, 0), false},
      {report(4, 0, 0, 98305, 460801), true},  // only at exactly two seconds
      {report(1, 0, 0, 98305, 460801), true},
  };
  state.online = true;
  for (const auto& c : cases) {
    state.session = {7, 700, 7000};
    on_flow_report(context, c.r);
    const Entries entries = journal.take();
    if (c.accepted) {
      EXPECT_EQ(state.session.duration, c.r.duration);
      EXPECT_EQ(state.session.tx_bytes, c.r.tx_bytes);
      EXPECT_EQ(state.session.rx_bytes, c.r.rx_bytes);
    } else {
      EXPECT_EQ(entries, (Entries{"timer 1201 2500", "at AT^DSFLOWCLR\r\n"}));
      EXPECT_EQ(state.session.duration, 7u);
      EXPECT_EQ(state.session.tx_bytes, 700);
    }
  }
  EXPECT_EQ(logged_events(), Entries(4, "RESET TOTALS (UNEXPECTED VALUES)"));
  EXPECT_EQ(sink.lines().size(), 4u);
  EXPECT_TRUE(sink.contains("KIVO: data counter values too high, resetting totals"));
  EXPECT_FALSE(files.exists(test::kUsagePath));  // nothing folded
}

TEST_F(FlowReportTest, ARateAboveTheLinkFoldsTheSessionAndClearsTheModemCounters) {
  state.online = true;
  on_flow_report(context, report(30, 262500, 912500, 1000, 2000));
  EXPECT_EQ(text(IDC_RATE_UP), "2100.000");
  EXPECT_EQ(text(IDC_RATE_DOWN), "7300.000");
  for (const FlowReport& r : {report(32, 262501, 0, 5, 5), report(34, 0, 912501, 5, 5)}) {
    journal.take();
    on_flow_report(context, r);
    EXPECT_EQ(commands(), Entries{"at AT^DSFLOWCLR\r\n"});
  }
  EXPECT_TRUE(sink.contains("KIVO: data speed too high, resetting counters"));
  EXPECT_EQ(logged_events(), (Entries{"RESET SESSION COUNTERS", "RESET SESSION COUNTERS"}));
  EXPECT_EQ(state.totals.total_duration, 30u);
  EXPECT_EQ(state.totals.total_tx_bytes, 1000);
  EXPECT_EQ(state.session.tx_bytes, 0);
  EXPECT_EQ(text(IDC_SESSION_SENT), "0 bytes");
  EXPECT_TRUE(files.exists(test::kUsagePath));
}

TEST_F(FlowReportTest, AnAcceptedReportShowsTheSessionWithItsSixtyFourBitSum) {
  FlowReport r;
  ASSERT_TRUE(parse_dsflowrpt(
      "^DSFLOWRPT:00000E11,00000000,00000000,0000000100000000,0000000000000400,00000000,00000000",
      r));
  on_flow_report(context, r);
  EXPECT_EQ(text(IDC_SESSION_DURATION), "01:00:01");
  EXPECT_EQ(text(IDC_SESSION_SENT), "4.000GB");
  EXPECT_EQ(text(IDC_SESSION_RECEIVED), "1.000KB");
  EXPECT_EQ(text(IDC_SESSION_TOTAL), "4.000GB");
  EXPECT_EQ(state.session.tx_bytes, 4294967296);
}

TEST_F(FlowReportTest, AveragesAreOverTheLastFiveReportsAndMaximaShowOnlyWhenBeaten) {
  const std::uint32_t rates[] = {100, 200, 300, 400, 500, 0};
  const std::uint32_t means[] = {20, 60, 120, 200, 300, 280};
  for (int i = 0; i < 6; ++i) {
    on_flow_report(context, report(10 + 2 * i, rates[i], 2 * rates[i]));
    EXPECT_EQ(state.rates.avg_tx_rate, means[i]);
    EXPECT_EQ(state.rates.avg_rx_rate, 2 * means[i]);
  }
  EXPECT_EQ(state.rates.max_tx_rate, 500u);
  EXPECT_EQ(state.rates.max_avg_tx_rate, 300u);
  EXPECT_EQ(state.rates.max_avg_rx_rate, 600u);
  EXPECT_EQ(text(IDC_RATE_UP_AVERAGE), "2.240");  // 280 bytes/s
  EXPECT_EQ(text(IDC_RATE_UP_MAX_AVERAGE), "2.400");
  EXPECT_EQ(text(IDC_RATE_DOWN_MAX), "8.000");

  // A lower rate leaves the maximum fields alone.
  journal.take();
  on_flow_report(context, report(30, 1, 1));
  for (const std::string& entry : journal.take()) {
    EXPECT_EQ(entry.find("text 1058"), std::string::npos);
    EXPECT_EQ(entry.find("text 1064"), std::string::npos);
  }

  reset_max_rates(context);
  reset_max_average_rates(context);
  EXPECT_EQ(journal.take(), (Entries{"text 1058 \"0.000\"", "text 1056 \"0.000\"",
                                     "text 1064 \"0.000\"", "text 1063 \"0.000\""}));
  on_flow_report(context, report(32, 50, 0));
  EXPECT_EQ(state.rates.max_tx_rate, 50u);
  EXPECT_EQ(text(IDC_RATE_UP_MAX), "0.400");
  EXPECT_EQ(state.rates.max_avg_tx_rate, state.rates.avg_tx_rate);
}

TEST_F(FlowReportTest, ProfilesLoseTheirEncodingOffsetOrShowRawInHex) {
  const struct {
    std::uint32_t qos_tx, qos_rx;
    const char* up;
    const char* down;
  } cases[] = {
      {6321784, 1297872, "0.000", "0.000"},
      {6321784 + 125, 1297872 + 125, "1.000", "1.000"},
      {185199178 + 250, 4517352 + 250, "2.000", "2.000"},
      {6321783, 1297871, "50574.264", "10382.968"},  // below both offsets: as reported
      {0xFFFFFFFF, 0x10000000, "32878144.936", "N/A"},
      {0, 0x1FFFFFFF, "0.000", "N/A"},
  };
  for (const auto& c : cases) {
    FlowReport r = report(10);
    r.qos_tx = c.qos_tx;
    r.qos_rx = c.qos_rx;
    on_flow_report(context, r);
    EXPECT_EQ(text(IDC_PROFILE_UP), c.up) << c.qos_tx;
    EXPECT_EQ(text(IDC_PROFILE_DOWN), c.down) << c.qos_rx;
  }
  context.settings.hex_profiles = true;
  FlowReport r = report(12);
  r.qos_tx = 6321784;
  r.qos_rx = 0x1000abcd;
  on_flow_report(context, r);
  EXPECT_EQ(text(IDC_PROFILE_UP), "00607678");
  EXPECT_EQ(text(IDC_PROFILE_DOWN), "1000ABCD");
}

TEST_F(FlowReportTest, ClearingAtStartZeroesEveryCounterAndField) {
  state.rates.max_tx_rate = 9;
  state.rates.tx_history[2] = 9;
  context.settings.hex_profiles = true;
  clear_flow_display(context);
  EXPECT_EQ(state.session.tx_bytes, 0);
  EXPECT_EQ(state.rates.max_tx_rate, 0u);
  EXPECT_EQ(state.rates.tx_history[2], 0u);
  EXPECT_EQ(journal.take(),
            (Entries{"text 1048 \"00:00:00\"", "text 1040 \"0 bytes\"", "text 1039 \"0 bytes\"",
                     "text 1038 \"0 bytes\"", "text 1061 \"0.000\"", "text 1060 \"0.000\"",
                     "text 1071 \"00000000\"", "text 1072 \"00000000\"", "text 1059 \"0.000\"",
                     "text 1057 \"0.000\"", "text 1058 \"0.000\"", "text 1056 \"0.000\"",
                     "text 1064 \"0.000\"", "text 1063 \"0.000\""}));
}

}  // namespace
}  // namespace kivo

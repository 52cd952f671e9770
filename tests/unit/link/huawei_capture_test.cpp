// The dispatcher against bursts of the Huawei stream (tests/unit/data/huawei-sample.bursts: 70
// bursts of bench/data/huawei-mix.bursts, in the same format: 4-byte LE length, then the bytes).

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/dispatch_harness.h"

namespace kivo {
namespace {

std::vector<std::string> load_bursts(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> bursts;
  std::size_t i = 0;
  while (i + 4 <= data.size()) {
    const auto* b = reinterpret_cast<const unsigned char*>(data.data() + i);
    const std::size_t n =
        b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::size_t>(b[3]) << 24);
    bursts.push_back(data.substr(i + 4, n));
    i += 4 + n;
  }
  return bursts;
}

bool starts(const std::string& s, const char* prefix) {
  return s.rfind(prefix, 0) == 0;
}

TEST(HuaweiCapture, EveryBurstIsEitherReportedOrCaptured) {
  const auto bursts = load_bursts(std::string(KIVO_TEST_DATA_DIR) + "/huawei-sample.bursts");
  ASSERT_EQ(bursts.size(), 70u);
  test::DispatchHarness h;
  std::vector<std::string> expected_captures;
  std::size_t signals = 0, flows = 0, modes = 0, registrations = 0;
  for (const std::string& burst : bursts) {
    h.feed(burst);
    const std::string line = burst.substr(2);  // every burst begins with CR LF
    if (starts(line, "^RSSI:"))
      ++signals;
    else if (starts(line, "^DSFLOWRPT:"))
      ++flows;
    else if (starts(line, "^MODE:"))
      ++modes;
    else if (starts(line, "+CGREG: 1,"))
      ++registrations;
    else if (!starts(line, "^SRVST:") && !starts(line, "^SIMST:"))
      expected_captures.push_back(line);
  }
  EXPECT_EQ(h.responses.captures(), expected_captures);
  EXPECT_EQ(h.notices.count(NoticeId::Signal), signals);
  EXPECT_EQ(h.notices.count(NoticeId::FlowReport), flows);
  EXPECT_EQ(h.notices.count(NoticeId::Mode), modes);
  EXPECT_EQ(h.notices.count(NoticeId::Registration), registrations);
  EXPECT_EQ(h.notices.size(), signals + flows + modes + registrations);
  EXPECT_EQ(signals, 9u);
  EXPECT_EQ(flows, 23u);
  EXPECT_EQ(modes, 2u);
  EXPECT_EQ(registrations, 1u);
  EXPECT_EQ(expected_captures.size(), 33u);
  EXPECT_EQ(h.responses.bare_events(), 0);
}

}  // namespace
}  // namespace kivo

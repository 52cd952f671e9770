#include "setup/answer_parsers.h"

#include <gtest/gtest.h>

#include "status/mode_setting_parsers.h"

namespace kivo {
namespace {

TEST(SetupAnswersTest, CpinStatesFromCapturedAnswers) {
  const struct {
    const char* text;
    CommandSet command_set;
    bool accepted;
    SimState state;
    std::uint32_t attempts;
  } cases[] = {
      {"^CPIN: READY,,10,3,10,3\r\n", CommandSet::Huawei, true, SimState::Ready, 0},
      {"+CPIN: SIM PIN\r\n\r\nOK\r\n", CommandSet::Standard, true, SimState::PinWanted, 99},
      {"+CPIN: SIM PIN2\r\n", CommandSet::Sierra, true, SimState::PinWanted, 99},
      {"^CPIN: SIM PIN,3,10,3,10,3\r\n", CommandSet::Huawei, true, SimState::PinWanted, 3},
      {"^CPIN: SIM PUK,10,10,0,10,3\r\n", CommandSet::Huawei, true, SimState::PukWanted, 10},
      {"+CPIN: PH-NET PIN\r\n", CommandSet::Standard, false, SimState::Ready, 0},
      {"+CME ERROR: 10", CommandSet::Standard, false, SimState::Ready, 0},
      {"+CPIN: SIM", CommandSet::Huawei, false, SimState::Ready, 0},
  };
  for (const auto& c : cases) {
    PinState state;
    ASSERT_EQ(parse_cpin(c.text, c.command_set, state), c.accepted) << c.text;
    if (!c.accepted) continue;
    EXPECT_EQ(state.state, c.state) << c.text;
    EXPECT_EQ(state.attempts, c.attempts) << c.text;
  }
}

TEST(SetupAnswersTest, NumberedAnswersReadTheirFirstLine) {
  CardLockInfo lock;
  ASSERT_TRUE(parse_cardlock("^CARDLOCK: 1,10,65501\r\n\r\nOK\r\n", lock));
  EXPECT_EQ(lock.status, 1u);
  EXPECT_EQ(lock.attempts, 10u);
  EXPECT_EQ(lock.operator_number, 65501u);
  ASSERT_TRUE(parse_cardlock("^CARDLOCK: 2\r\n9,9", lock));  // missing numbers read as 0
  EXPECT_EQ(lock.attempts, 0u);
  EXPECT_EQ(lock.operator_number, 0u);
  EXPECT_FALSE(parse_cardlock("^CARDLOCK 2,0,0", lock));

  HsInfo hs;
  ASSERT_TRUE(parse_hs("^HS:31415926,0,2,0,99999999999\r\n\r\nOK\r\n", hs));
  EXPECT_EQ(hs.id, 31415926u);
  EXPECT_EQ(hs.is_offline, 2u);
  EXPECT_EQ(hs.product_id, 4294967295u);  // saturates
  EXPECT_FALSE(parse_hs("^hs:1,0,0,0,0", hs));

  SysInfo info;
  ASSERT_TRUE(parse_sysinfo("^SYSINFO:2,3,0,5,1,,4\r\n\r\nOK\r\n", info));
  EXPECT_EQ(info.sys_mode, 5u);
  EXPECT_EQ(info.lock_state, 0u);
  EXPECT_EQ(info.sys_submode, 4u);
}

}  // namespace
}  // namespace kivo

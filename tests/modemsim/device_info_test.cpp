// What each vendor's modem says about itself, and the spells in which it is still busy.

#include <gtest/gtest.h>

#include "model_fixture.h"

namespace modemsim {
namespace {

struct Answer {
  const Profile& profile;
  std::vector<std::pair<std::string, std::string>> keys;  // set first
  const char* command;
  std::string expected;  // the framed answer
};

const Answer kDeviceInfo[] = {
    {huawei_profile(), {}, "AT^SN", ok({"^SN: R3B7NA1580200374"})},
    {huawei_profile(), {{"serial", "A1B2"}}, "AT^SN", ok({"^SN: A1B2"})},
    {huawei_profile(), {}, "AT^HWVER", ok({"^HWVER:\"CD25TCPU\""})},
    {huawei_profile(), {}, "AT^SPN=0", ok({"^SPN:0,0,Simnet"})},
    {huawei_profile(), {{"spn", ""}}, "AT^SPN=0", ok({"^SPN:0,0," + std::string(32, 'F')})},
    {huawei_profile(), {{"sim", "pin"}}, "AT^SPN=0", "\r\nERROR\r\n"},
    {option_profile(), {{"hardware", "2.1"}}, "AT_OHWV", ok({"_OHWV: 2.1"})},
    {option_profile(), {}, "AT+CGSN", ok({"356938035643809,0AF06971A2113"})},
    {sierra_profile(), {}, "AT^HVER", ok({"^HVER: \"1.0\""})},
    {novatel_profile(), {}, "AT$NWICCID?", ok({"$NWICCID: 8927001234567890123"})},
    {standard_profile(), {}, "AT+CGSN", ok({"356938035643809"})},
    {standard_profile(), {}, "AT^SN", "\r\nERROR\r\n"},
    {nokia_profile(), {}, "AT_OHWV", "\r\nERROR\r\n"},
};

TEST(DeviceInfo, EachVendorAnswersItsOwnQueries) {
  for (const Answer& a : kDeviceInfo) {
    ModemModel model(a.profile);
    for (const auto& [key, value] : a.keys) ASSERT_EQ(model.set(key, value), "") << key;
    EXPECT_EQ(model.execute(a.command), a.expected) << a.profile.name << " " << a.command;
  }
}

// The hardware version is read a fixed distance behind the start of the prefix.
TEST(DeviceInfo, TheHardwareVersionStandsWhereItIsLookedFor) {
  const std::tuple<const Profile&, const char*, const char*, std::size_t> cases[] = {
      {huawei_profile(), "AT^HWVER", "^HWVER:", 8},
      {option_profile(), "AT_OHWV", "_OHWV:", 7},
      {sierra_profile(), "AT^HVER", "^HVER:", 8},
  };
  for (const auto& [profile, command, prefix, offset] : cases) {
    ModemModel model(profile);
    ASSERT_EQ(model.set("hardware", "HW-7"), "");
    std::string answer = model.execute(command);
    std::size_t start = answer.find(prefix);
    ASSERT_NE(start, std::string::npos) << command;
    EXPECT_EQ(answer.substr(start + offset, 4), "HW-7") << command;
  }
}

struct BusySpell {
  const Profile& profile;
  const char* key;
  const char* command;
  const char* busy;  // the answer while busy
  std::string after;
};

const BusySpell kBusySpells[] = {
    {standard_profile(), "sim_busy", "AT+CPIN?", "\r\n+CME ERROR: 14\r\n", ok({"+CPIN: READY"})},
    {huawei_profile(), "sim_busy", "AT^CPIN?", "\r\n+CME ERROR: 14\r\n",
     ok({"^CPIN: READY,,10,3,10,3"})},
    {huawei_profile(), "cardlock_busy", "AT^CARDLOCK?", "\r\n+CME ERROR: 14\r\n",
     ok({"^CARDLOCK: 2,10,0"})},
    {standard_profile(), "cnmi_busy", "AT+CNMI=1,1,2,1,0", "\r\n+CMS ERROR: 500\r\n", ok()},
};

TEST(BusySpells, TheModemIsBusyAsOftenAsSetThenAnswers) {
  for (const BusySpell& b : kBusySpells) {
    ModemModel model(b.profile);
    model.execute("AT+CMEE=1");
    ASSERT_EQ(model.set(b.key, "2"), "") << b.key;
    EXPECT_EQ(model.execute(b.command), b.busy) << b.key;
    EXPECT_EQ(model.execute(b.command), b.busy) << b.key;
    EXPECT_EQ(model.execute(b.command), b.after) << b.key;
  }
}

TEST(BusySpells, TheRadioStateSetIsTheOneReported) {
  ModemModel model(standard_profile());
  for (const char* state : {"4", "0", "1"}) {
    ASSERT_EQ(model.set("cfun", state), "");
    EXPECT_EQ(model.execute("AT+CFUN?"), ok({std::string("+CFUN: ") + state}));
  }
  EXPECT_NE(model.set("cfun", "6"), "");
}

}  // namespace
}  // namespace modemsim

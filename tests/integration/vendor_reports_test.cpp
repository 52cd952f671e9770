#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "link_over_pty.h"

namespace kivo {
namespace {

// The vendor modems' own reports, from the simulator's profiles to the link's notices.
class VendorReportsOverPty : public integration::LinkOverPty {
 protected:
  void start(CommandSet set, const std::string& profile) {
    ASSERT_NO_FATAL_FAILURE(LinkOverPty::start(set, "", {"--profile", profile}));
    ASSERT_EQ(link->tx_at_command("ATE0\r\n").result, 1);
  }
};

TEST_F(VendorReportsOverPty, HuaweiSignalModeAndBootReportsBecomeNotices) {
  start(CommandSet::Huawei, "huawei");
  EXPECT_EQ(link->tx_at_command("AT^CURC=1\r\n").text, "OK\r\n");
  modem->control("set rssi 21");
  ASSERT_TRUE(notices.wait_for_size(1));
  modem->control("set tech hsdpa");
  ASSERT_TRUE(notices.wait_for_size(2));
  // A modem that restarts in place, on the same port, announces it there.
  modem->control("set reenumerate_ms 0");
  modem->control("restart");
  ASSERT_TRUE(notices.wait_for_size(3));

  auto posted = notices.notices();
  EXPECT_EQ(posted[0].id, NoticeId::Signal);
  EXPECT_EQ(posted[0].value, 21u);
  ASSERT_EQ(posted[1].id, NoticeId::Mode);
  EXPECT_EQ(std::get<ModeReport>(posted[1].report).sys_mode, 5u);
  EXPECT_EQ(std::get<ModeReport>(posted[1].report).sub_mode, 5u);
  ASSERT_EQ(posted[2].id, NoticeId::Boot);
  EXPECT_EQ(std::get<BootReport>(posted[2].report).values[0], 24117505u);
}

TEST_F(VendorReportsOverPty, OptionSignalBecomesANoticeAndItsOtherReportsAreNoAnswers) {
  start(CommandSet::Option, "option");
  for (const char* command : {"AT_OSSYS=1\r\n", "AT_OSQI=1\r\n", "AT_OEANT=1\r\n"}) {
    EXPECT_EQ(link->tx_at_command(command).text, "OK\r\n") << command;
  }
  // _OSIGQ, then the antenna level; later the system: GSM now.
  modem->control("set rssi 7");
  ASSERT_TRUE(notices.wait_for_size(1));
  modem->control("set tech edge");
  Reply reply = link->tx_at_command("AT_OCTI?\r\n");
  EXPECT_EQ(reply.result, 1);
  EXPECT_EQ(reply.text, "_OCTI: 0,3\r\n\r\nOK\r\n");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices.notices()[0].id, NoticeId::Signal);
  EXPECT_EQ(notices.notices()[0].value, 7u);
  EXPECT_NE(modem->transcript().find("AT_OSQI=1\\r\\n"), std::string::npos);
}

}  // namespace
}  // namespace kivo

#include "link/modem_link.h"

#include <gtest/gtest.h>

#include <string>

#include "link_over_pty.h"

namespace kivo {
namespace {

using ModemLinkOverPty = integration::LinkOverPty;

TEST_F(ModemLinkOverPty, CommandsRoundTripAndTheEchoIsSkipped) {
  start(CommandSet::Standard);
  Reply reply = link->tx_at_command("AT\r\n");
  EXPECT_EQ(reply.result, 1);
  EXPECT_EQ(reply.text, "OK\r\n");
  EXPECT_EQ(link->tx_at_command("ATE0\r\n").result, 1);
  reply = link->tx_at_command("AT+CSQ\r\n");
  EXPECT_EQ(reply.result, 1);
  EXPECT_EQ(reply.text, "+CSQ: 17,99\r\n\r\nOK\r\n");
  EXPECT_EQ(modem->transcript(), "AT\\r\\n\nATE0\\r\\n\nAT+CSQ\\r\\n");
}

TEST_F(ModemLinkOverPty, ASilentModemTimesOutAndKeepsThePreviousResponse) {
  start(CommandSet::Standard, "on AT+CGMI silence\n");
  link->tx_at_command("ATE0\r\n");
  Reply reply = link->tx_at_command("AT+CGMI\r\n");
  EXPECT_EQ(reply.result, 0);
  EXPECT_EQ(reply.text, "OK\r\n");
  EXPECT_TRUE(trace_lines.contains("KIVO: timeout waiting for command response"));
}

TEST_F(ModemLinkOverPty, ReportsOfTheModemArriveAsNotices) {
  start(CommandSet::Standard);
  link->tx_at_command("ATE0\r\n");
  ASSERT_EQ(link->tx_at_command("AT+CGREG=2\r\n").result, 1);
  modem->control("set ci 1234");
  ASSERT_TRUE(notices.wait_for_size(1));
  modem->control("send ^RSSI:21");
  ASSERT_TRUE(notices.wait_for_size(2));
  auto posted = notices.notices();
  ASSERT_EQ(posted[0].id, NoticeId::Registration);
  auto report = std::get<RegistrationReport>(posted[0].report);
  EXPECT_EQ(report.stat, 1u);
  EXPECT_EQ(report.lac, 0xa1u);
  EXPECT_EQ(report.ci, 0x1234u);
  EXPECT_EQ(posted[1].id, NoticeId::Signal);
  EXPECT_EQ(posted[1].value, 21u);
}

TEST_F(ModemLinkOverPty, NovatelCommandsTravelInFramesAndAResendGoesOnChannelFour) {
  start(CommandSet::Novatel, "on AT+CGREG=2 times 1 status 99\n", {"--profile", "novatel"});
  const unsigned char command_zero[] = {0x00, 0x78, 0xf0, 0x7e};
  EXPECT_EQ(link->tx_data_and_get_response(command_zero, sizeof command_zero).result, 1);
  Reply reply = link->tx_at_command("AT+CFUN=1\r\n");
  EXPECT_EQ(reply.result, 1);
  EXPECT_EQ(reply.text, "OK\r\n");
  reply = link->tx_at_command("AT+CGREG=2\r\n");
  EXPECT_EQ(reply.result, 1);
  EXPECT_EQ(reply.text, "OK\r\n");
  EXPECT_TRUE(
      trace_lines.contains("KIVO: novatel status = 99, resending command on alternate channel"));
  std::string transcript = modem->transcript();
  EXPECT_NE(transcript.find("[frame ch=3 status=0 len=11 crc=ok] AT+CFUN=1\\r\\n"),
            std::string::npos);
  EXPECT_NE(transcript.find("[frame ch=3 status=0 len=12 crc=ok] AT+CGREG=2\\r\\n"),
            std::string::npos);
  EXPECT_NE(transcript.find("[frame ch=4 status=0 len=12 crc=ok] AT+CGREG=2\\r\\n"),
            std::string::npos);
}

TEST_F(ModemLinkOverPty, APortThatSpeaksOnlyDiagnosticsAnswersTheProbeWithAFrame) {
  start(CommandSet::Standard, "set diag_only 1\n");
  EXPECT_EQ(link->tx_at_command("AT\r\n").result, 0);
  const unsigned char probe[] = {0x0c, 0x14, 0x3a, 0x7e};
  Reply reply = link->tx_data_and_get_response(probe, sizeof probe);
  EXPECT_EQ(reply.result, 1);
  ASSERT_GE(reply.text.size(), 5u);
  EXPECT_EQ(static_cast<unsigned char>(reply.text[4]), 0x7e);
}

}  // namespace
}  // namespace kivo

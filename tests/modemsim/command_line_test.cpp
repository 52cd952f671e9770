#include "command_line.h"

#include <gtest/gtest.h>

namespace modemsim {
namespace {

TEST(CommandLine, BasicCommandsFollowEachOtherAndExtendedOnesNeedSemicolons) {
  auto commands = parse_command_line("ATE0&F0Z;+CMEE=1;^CURC?;$NWRAT=?");
  ASSERT_TRUE(commands);
  ASSERT_EQ(commands->size(), 6u);
  EXPECT_EQ((*commands)[0].name, "E");
  EXPECT_EQ((*commands)[0].args, "0");
  EXPECT_EQ((*commands)[1].name, "&F");
  EXPECT_EQ((*commands)[2].name, "Z");
  EXPECT_EQ((*commands)[3].name, "+CMEE");
  EXPECT_EQ((*commands)[3].kind, CommandKind::Set);
  EXPECT_EQ((*commands)[3].args, "1");
  EXPECT_EQ((*commands)[4].kind, CommandKind::Read);
  EXPECT_EQ((*commands)[5].name, "$NWRAT");
  EXPECT_EQ((*commands)[5].kind, CommandKind::Test);
}

TEST(CommandLine, NamesIgnoreCaseButParametersKeepIt) {
  auto commands = parse_command_line("at+cgdcont=1,\"IP\",\"Internet;x\"");
  ASSERT_TRUE(commands);
  ASSERT_EQ(commands->size(), 1u);
  EXPECT_EQ((*commands)[0].name, "+CGDCONT");
  EXPECT_EQ((*commands)[0].args, "1,\"IP\",\"Internet;x\"");
}

TEST(CommandLine, RefusesLinesThatAreNoCommands) {
  EXPECT_FALSE(parse_command_line("\x1b"));
  EXPECT_FALSE(parse_command_line("A"));
  EXPECT_FALSE(parse_command_line("AT+"));
  EXPECT_FALSE(parse_command_line("AT#"));
  ASSERT_TRUE(parse_command_line("AT"));
  EXPECT_TRUE(parse_command_line("AT")->empty());
}

TEST(CommandLine, ArgumentsLoseQuotesAndBlanksButKeepQuotedCommas) {
  EXPECT_EQ(split_args("1, \"*111#,1\" ,15"), (std::vector<std::string>{"1", "*111#,1", "15"}));
  EXPECT_EQ(split_args("0,\"0-65535\",\"\""), (std::vector<std::string>{"0", "0-65535", ""}));
  EXPECT_EQ(split_args(""), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace modemsim

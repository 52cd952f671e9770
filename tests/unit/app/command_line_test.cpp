#include <gtest/gtest.h>

#include <string>

#include "app/options.h"

namespace kivo {
namespace {

struct Parsed {
  CommandLineResult result;
  Options options;
  CommandSet command_set;
  std::string text_after;
};

Parsed parse(const std::string& line) {
  std::string buffer = line;
  Parsed p{};
  p.command_set = CommandSet::Nokia;  // parsing must reset it
  p.options.session_log = true;
  p.result = parse_command_line(buffer.data(), p.options, p.command_set);
  p.text_after = buffer;
  return p;
}

TEST(CommandLine, EmptyLineGivesDefaults) {
  Parsed p = parse("");
  EXPECT_EQ(p.result, CommandLineResult::Run);
  EXPECT_FALSE(p.options.port_given);
  EXPECT_STREQ(p.options.port_name, "");
  EXPECT_FALSE(p.options.session_log);
  EXPECT_EQ(p.command_set, CommandSet::Standard);
}

TEST(CommandLine, LowerCasePortAndCommandSetAreAccepted) {
  Parsed p = parse("/port:com3 /commandset:huawei");
  EXPECT_TRUE(p.options.port_given);
  EXPECT_STREQ(p.options.port_name, "COM3");
  EXPECT_EQ(p.command_set, CommandSet::Huawei);
  EXPECT_EQ(p.text_after, "/PORT:COM3 /COMMANDSET:HUAWEI");  // upper-cased in place
}

TEST(CommandLine, PortNumberIsNormalisedOrRefused) {
  EXPECT_STREQ(parse("/PORT:COM03").options.port_name, "COM3");
  EXPECT_STREQ(parse("/PORT:COM  12x").options.port_name, "COM12");  // blanks skipped, stops at x
  EXPECT_STREQ(parse("/PORT:COM2147483647").options.port_name, "COM2147483647");
  for (const char* refused : {"/PORT:COM0", "/PORT:COMX", "/PORT:LPT1", "/PORT:COM", "/PORT:COM-5",
                              "/PORT:COM4294967296", "/PORT:COM2147483648"}) {
    Parsed p = parse(refused);
    EXPECT_FALSE(p.options.port_given) << refused;
    EXPECT_STREQ(p.options.port_name, "") << refused;
  }
}

TEST(CommandLine, CommandSetNeedsAnAcceptedPort) {
  EXPECT_EQ(parse("/COMMANDSET:NOKIA").command_set, CommandSet::Standard);
  EXPECT_EQ(parse("/PORT:COM0 /COMMANDSET:NOKIA").command_set, CommandSet::Standard);
  EXPECT_EQ(parse("/PORT:LPT1 /COMMANDSET:NOKIA").command_set, CommandSet::Standard);
  // The command set may stand anywhere, also before the port.
  EXPECT_EQ(parse("/COMMANDSET:SIERRA /PORT:COM1").command_set, CommandSet::Sierra);
}

TEST(CommandLine, CommandSetNamesArePrefixMatches) {
  EXPECT_EQ(parse("/PORT:COM1 /COMMANDSET:OPTION").command_set, CommandSet::Option);
  EXPECT_EQ(parse("/PORT:COM1 /COMMANDSET:NOVATELS").command_set, CommandSet::Novatel);
  EXPECT_EQ(parse("/PORT:COM1 /COMMANDSET:NOVA").command_set, CommandSet::Standard);
  EXPECT_EQ(parse("/PORT:COM1 /COMMANDSET:Nokia123").command_set, CommandSet::Nokia);
  EXPECT_EQ(parse("/PORT:COM1 /COMMANDSET: HUAWEI").command_set, CommandSet::Standard);
}

TEST(CommandLine, SwitchesAreFoundAsSubstrings) {
  Parsed p = parse("x/sessionlogging/HexProfilesY /NOPOLLCID");
  EXPECT_TRUE(p.options.session_log);
  EXPECT_TRUE(p.options.hex_profiles);
  EXPECT_TRUE(p.options.no_poll_cell_id);
  EXPECT_FALSE(parse("/SESSION").options.session_log);
}

TEST(CommandLine, HelpWinsOverEverythingElse) {
  EXPECT_EQ(parse("/port:com3 /?").result, CommandLineResult::ShowHelp);
  EXPECT_EQ(parse("abc/?def").result, CommandLineResult::ShowHelp);
  EXPECT_EQ(parse("/ ?").result, CommandLineResult::Run);
}

TEST(CommandLine, HelpTextLinesAreJoinedByCarriageReturnsOnly) {
  std::string help = kCommandLineHelp;
  EXPECT_EQ(help.find('\n'), std::string::npos);
  EXPECT_EQ(help.rfind("Usage:\r", 0), 0u);
  EXPECT_NE(help.find("\r\r/commandset may only be specified if /port is specified\r"),
            std::string::npos);
  EXPECT_NE(help.find("/nopollcid\t\tdisables Cell ID polling"), std::string::npos);
  EXPECT_EQ(help.back(), 'g');
  EXPECT_STREQ(kCommandLineHelpCaption, "KIVO Command Line Help");
}

TEST(PortName, LongerThanFifteenCharactersIsRefusedWhole) {
  Options options;
  EXPECT_TRUE(set_port_name(options, "COM123456789012"));  // exactly 15
  EXPECT_STREQ(options.port_name, "COM123456789012");
  EXPECT_FALSE(set_port_name(options, "COM1234567890123"));
  EXPECT_STREQ(options.port_name, "COM123456789012");
}

}  // namespace
}  // namespace kivo

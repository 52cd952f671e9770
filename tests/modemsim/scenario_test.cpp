#include "scenario.h"

#include <gtest/gtest.h>

namespace modemsim {
namespace {

ScenarioLine parse(std::string_view line) {
  std::string error;
  auto parsed = parse_scenario_line(line, error);
  EXPECT_TRUE(parsed) << line << ": " << error;
  return parsed ? *parsed : ScenarioLine{};
}

std::string error_of(std::string_view line) {
  std::string error;
  EXPECT_FALSE(parse_scenario_line(line, error)) << line;
  return error;
}

TEST(Scenario, RulesTakeModifiersThenOneAction) {
  ScenarioLine line = parse("on AT+CNMI=* times 15 delay 100 reply +CMS ERROR: 500");
  ASSERT_EQ(line.kind, LineKind::Rule);
  EXPECT_EQ(line.rule.pattern, "AT+CNMI=*");
  EXPECT_EQ(line.rule.remaining, 15);
  EXPECT_EQ(line.rule.delay_ms, 100u);
  EXPECT_EQ(line.rule.action, RuleAction::Reply);
  EXPECT_EQ(line.rule.text, "\r\n+CMS ERROR: 500\r\n");

  line = parse("on AT+CSQ split 9 gap 50");
  EXPECT_EQ(line.rule.action, RuleAction::Answer);
  EXPECT_EQ(line.rule.split_at, 9u);
  EXPECT_EQ(line.rule.gap_ms, 50u);

  line = parse("on AT+CFUN=1 times 1 status 99 escape crc-hi");
  EXPECT_EQ(line.rule.status, 99u);
  EXPECT_EQ(line.rule.escape, EscapedByte::CrcHigh);

  EXPECT_EQ(parse("on AT garbage 12").rule.garbage, 12u);
  EXPECT_EQ(parse("on AT raw \\r\\nOK\\r\\n").rule.text, "\r\nOK\r\n");
  EXPECT_EQ(parse("on AT+COPS? unplug").rule.action, RuleAction::Unplug);
}

TEST(Scenario, StepsRunAtOnceOrLater) {
  ScenarioLine line = parse("after 1500 send +CGREG: 5,\"00A1\",\"1234\"");
  EXPECT_EQ(line.kind, LineKind::After);
  EXPECT_EQ(line.ms, 1500u);
  EXPECT_EQ(line.step.kind, StepKind::Send);
  EXPECT_EQ(line.step.text, "\r\n+CGREG: 5,\"00A1\",\"1234\"\r\n");

  line = parse("  set operator_name  Simnet Two  ");
  EXPECT_EQ(line.kind, LineKind::Step);
  EXPECT_EQ(line.step.text, "operator_name");
  EXPECT_EQ(line.step.value, "Simnet Two");

  EXPECT_EQ(parse("every 2000 raw ^RSSI:17\\r\\n").step.text, "^RSSI:17\r\n");
  EXPECT_TRUE(parse("silence on").step.on);
  EXPECT_FALSE(parse("stall off").step.on);
  EXPECT_EQ(parse("garbage 7").step.count, 7u);
  EXPECT_EQ(parse("# a comment").kind, LineKind::Nothing);
  EXPECT_EQ(parse("").kind, LineKind::Nothing);
}

TEST(Scenario, SetTakesAnEmptyValueButNeedsAKey) {
  ScenarioLine line = parse("set operator_name");
  EXPECT_EQ(line.step.text, "operator_name");
  EXPECT_EQ(line.step.value, "");
  EXPECT_NE(error_of("set"), "");
}

TEST(Scenario, UssdAnswersWithAndWithoutText) {
  ScenarioLine line = parse("ussd *111# 1 Menu\\n1 Balance");
  EXPECT_EQ(line.ussd_code, "*111#");
  EXPECT_EQ(line.ussd.status, 1);
  EXPECT_EQ(line.ussd.text, "Menu\n1 Balance");
  EXPECT_TRUE(line.ussd.has_text);
  EXPECT_FALSE(parse("ussd *999# 4").ussd.has_text);
}

TEST(Scenario, MistakesAreNamed) {
  EXPECT_NE(error_of("on"), "");
  EXPECT_NE(error_of("on AT times x reply OK").find("times"), std::string::npos);
  EXPECT_NE(error_of("on AT silence reply OK").find("silence"), std::string::npos);
  EXPECT_NE(error_of("on AT escape crc").find("escape"), std::string::npos);
  EXPECT_NE(error_of("every 0 send RING"), "");
  EXPECT_NE(error_of("after x send RING"), "");
  EXPECT_NE(error_of("silence maybe"), "");
  EXPECT_NE(error_of("fly away").find("fly"), std::string::npos);
  EXPECT_NE(error_of("ussd *1#"), "");
}

TEST(Scenario, PatternsAreGlobsWithoutCase) {
  EXPECT_TRUE(glob_match("AT+CSQ", "at+csq"));
  EXPECT_FALSE(glob_match("AT+CSQ", "AT+CSQ=?"));
  EXPECT_TRUE(glob_match("AT+CPIN=*", "AT+CPIN=1234"));
  EXPECT_TRUE(glob_match("AT+C?EG?", "AT+CREG?"));
  EXPECT_TRUE(glob_match("*", ""));
  EXPECT_TRUE(glob_match("AT+CUSD=1,\"\\*111#\"*", "AT+CUSD=1,\"*111#\",15"));
  EXPECT_FALSE(glob_match("AT+CUSD=1,\"\\*111#\"*", "AT+CUSD=1,\"x111#\",15"));
  EXPECT_TRUE(glob_match("*CGREG*", "AT+CGREG=2"));
}

}  // namespace
}  // namespace modemsim

#include "setup/initialize_modem.h"

#include <algorithm>

#include "setup/setup_fixture.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;
using InitSequenceTest = test::SetupTest;

Entries at(std::initializer_list<const char*> commands) {
  Entries entries;
  for (const char* command : commands) entries.push_back(std::string("at ") + command + "\r\n");
  return entries;
}

Entries operator+(Entries first, const Entries& more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}

const Entries kEscapeAndAt = Entries{"data 1B 0D 0A"} + at({"AT"});
const Entries kDefaults = at({"AT&F0", "ATE0", "AT+CMEE=1"});
const Entries kMessagesAndReports =
    at({"AT+CMGF=0", "AT+CNMI=1,1,2,1,0", "AT+CSCB=1", "AT+CSCB=0,\"0-65535\",\"\"", "AT+CREG=0",
        "AT+CGREG=2", "AT+CUSD=1"});
const Entries kFirstReadings =
    at({"AT+CGDCONT?", "AT+CSQ", "AT+COPS=3,2", "AT+COPS?", "AT+CGREG?"});

TEST_F(InitSequenceTest, AcceptingModemGetsItsCommandSetsSequence) {
  const Entries plain =
      kEscapeAndAt + kDefaults + at({"AT+CFUN?", "AT+CPIN?"}) + kMessagesAndReports;
  const struct {
    CommandSet command_set;
    Entries sent;
    const char* technology;
  } cases[] = {
      {CommandSet::Standard, plain + kFirstReadings, "Unknown"},
      {CommandSet::Huawei,
       kEscapeAndAt + at({"AT^HS=0,0"}) + kDefaults +
           at({"AT^BOOT=0,0", "AT+CFUN?", "AT^CPIN?", "AT^CARDLOCK?"}) + kMessagesAndReports +
           at({"AT^CURC=1", "AT^SYSINFO", "AT^SYSCFG?"}) + kFirstReadings,
       "3G"},
      {CommandSet::Option,
       plain + at({"AT_OSSYS=1", "AT_OSQI=1", "AT_OEANT=1", "AT_OCTI?", "AT_OWCTI?", "AT_OPSYS?"}) +
           kFirstReadings,
       "Unknown"},
      {CommandSet::Novatel,
       Entries{"exchange 00 78 F0 7E", "exchange 4B FA 00 00 32 D5 7E"} + at({"AT+CFUN=1"}) +
           kDefaults + at({"AT+CPIN?"}) + kMessagesAndReports + at({"AT$NWRAT?"}) + kFirstReadings,
       nullptr},
      {CommandSet::Sierra, plain + at({"AT*CNTI=0", "AT^SYSCONFIG?"}) + kFirstReadings, "Unknown"},
      {CommandSet::Nokia, plain + kFirstReadings, nullptr},
  };
  for (const auto& c : cases) {
    modem.clear_script();
    view.texts.clear();
    accepting_modem(c.command_set);
    EXPECT_EQ(initialize_modem(context), InitResult::Ready) << int(c.command_set);
    EXPECT_EQ(sent(), c.sent) << int(c.command_set);
    EXPECT_TRUE(network.location_reports_enabled);
    EXPECT_EQ(view.texts.count(IDC_TECHNOLOGY), c.technology ? 1u : 0u) << int(c.command_set);
    if (c.technology) {
      EXPECT_EQ(view.text(IDC_TECHNOLOGY), c.technology);
    }
  }
  EXPECT_TRUE(boxes.shown().empty());
}

// Each step's unexpected answer: its box (or none, for the answers a step also takes), and
// whether the sequence goes on.
TEST_F(InitSequenceTest, EachStepJudgesItsAnswer) {
  const auto box = [](const char* sent, const char* expected, const char* received) {
    return std::string("Sent: \"") + sent + "\"\nExpected: " + expected + "\nReceived: \"" +
           received + "\"";
  };
  const char* const kOk = "\"OK\"";
  const struct {
    CommandSet command_set;
    const char* command;
    const char* answer;
    std::string box;  // empty: none
    InitResult result;
    const char* not_sent = nullptr;
    const char* rejected_before = nullptr;  // a command answered ERROR as well
  } cases[] = {
      {CommandSet::Huawei, "AT^HS=0,0", "HS?",
       box("AT^HS=0,0", "\"^HS:a,b,c,d,e\" or \"ERROR\"", "HS?"), InitResult::Ready, "AT^BOOT"},
      {CommandSet::Huawei, "AT^HS=0,0", "ERROR", "", InitResult::Ready, "AT^BOOT"},
      {CommandSet::Standard, "AT&F0", "ERROR", box("AT^&F0", kOk, "ERROR"), InitResult::Ready},
      {CommandSet::Standard, "ATE0", "ERROR", box("ATE0", kOk, "ERROR"), InitResult::Ready},
      {CommandSet::Standard, "AT+CMEE=1", "ERROR", box("AT+CMEE=1", kOk, "ERROR"),
       InitResult::Ready},
      {CommandSet::Huawei, "AT^BOOT=0,0", "ERROR",
       box("AT^BOOT=x,0", "\"OK\" or \"COMMAND NOT SUPPORT\"", "ERROR"), InitResult::InitError},
      {CommandSet::Huawei, "AT^BOOT=0,0", "COMMAND NOT SUPPORT", "", InitResult::Ready},
      {CommandSet::Standard, "AT+CMGF=0", "ERROR", box("AT+CMGF", kOk, "ERROR"),
       InitResult::InitError},
      {CommandSet::Standard, "AT+CNMI=1,1,2,1,0", "+CMS ERROR: 301",
       box("AT+CNMI=1,1,2,1,0", "\"OK\" or \"+CMS ERROR: 500\"", "+CMS ERROR: 301"),
       InitResult::InitError},
      {CommandSet::Standard, "AT+CNMI=1,1,2,1,0", "error", "", InitResult::Ready},
      {CommandSet::Standard, "AT+CNMI=1,1,2,1,0", "+CMS ERROR: 303", "", InitResult::Ready},
      {CommandSet::Standard, "AT+CSCB=1", "+CMS ERROR: 304",
       box("AT+CSCB=1", "\"OK\", \"ERROR\" or \"+CMS ERROR: 500\"", "+CMS ERROR: 304"),
       InitResult::Ready, "AT+CSCB=0"},
      {CommandSet::Standard, "AT+CSCB=1", "+cms error: 500", "", InitResult::Ready, "AT+CSCB=0"},
      {CommandSet::Standard, "AT+CSCB=0,\"0-65535\",\"\"", "ERROR",
       box("AT+CSCB=0,\"0-65535\",\"\"", kOk, "ERROR"), InitResult::Ready},
      {CommandSet::Standard, "AT+CREG=0", "ERROR", box("AT+CREG=0", kOk, "ERROR"),
       InitResult::Ready},
      {CommandSet::Standard, "AT+CGREG=2", "ERROR", "", InitResult::Ready, "AT+CGREG?"},
      {CommandSet::Standard, "AT+CGREG=1", "ERROR", box("AT+CGREG=1", kOk, "ERROR"),
       InitResult::Ready, "AT+CGREG?", "AT+CGREG=2"},
      {CommandSet::Standard, "AT+CUSD=1", "ERROR", box("AT+CUSD=1", kOk, "ERROR"),
       InitResult::InitError},
      {CommandSet::Huawei, "AT^CURC=1", "BUSY", box("AT^CURC=1", "\"OK\" or \"ERROR\"", "BUSY"),
       InitResult::InitError},
      {CommandSet::Huawei, "AT^SYSINFO", "ERROR",
       box("AT^SYSINFO", "\"^SYSINFO:a,b,c,d,e,f,g\"", "ERROR"), InitResult::InitError},
      {CommandSet::Option, "AT_OSSYS=1", "ERROR", box("AT_OSSYS=1", kOk, "ERROR"),
       InitResult::Ready},
      {CommandSet::Option, "AT_OSQI=1", "ERROR", box("AT_OSQI=1", kOk, "ERROR"), InitResult::Ready},
      {CommandSet::Option, "AT_OEANT=1", "BUSY", box("AT_OEANT=1", "\"OK\" or \"ERROR\"", "BUSY"),
       InitResult::Ready},
  };
  for (const auto& c : cases) {
    modem.clear_script();
    modem.answer(c.command, c.answer);
    if (c.rejected_before) modem.answer(c.rejected_before, "ERROR");
    accepting_modem(c.command_set);
    EXPECT_EQ(initialize_modem(context), c.result) << c.command << " " << c.answer;
    EXPECT_EQ(box_texts(), c.box.empty() ? Entries{} : Entries{c.box}) << c.command;
    EXPECT_EQ(network.location_reports_enabled,
              std::string(c.command).rfind("AT+CGREG", 0) == std::string::npos);
    if (c.not_sent) {
      const Entries sent_now = sent();
      EXPECT_TRUE(std::none_of(sent_now.begin(), sent_now.end(), [&](const std::string& e) {
        return e.find(c.not_sent) != std::string::npos;
      })) << c.not_sent;
    }
    journal.take();
  }
  for (const test::ShownBox& shown : boxes.shown()) {
    EXPECT_EQ(shown.owner, BoxOwner::None);
    EXPECT_EQ(shown.caption, "KIVO");
    EXPECT_EQ(shown.icon, BoxIcon::Error);
  }
}

TEST_F(InitSequenceTest, SilentPortIsProbedThreeTimesForTheDiagnosticProtocol) {
  const Entries probe{"data 0C 14 3A 7E", "exchange 0C 14 3A 7E"};
  EXPECT_EQ(initialize_modem(context), InitResult::NotResponding);
  EXPECT_EQ(sent(), kEscapeAndAt + probe + probe + probe);
  EXPECT_EQ(sleeper.waits, (std::vector<unsigned>{1000, 1000, 1000}));

  modem.answer_exchange(std::string("\x0C\x14\x3A\x7E\x7E\x00", 6));
  EXPECT_EQ(initialize_modem(context), InitResult::ResetByDiag);
  const Entries restart{"exchange 29 01 00 31 40 7E", "exchange 29 02 00 59 6A 7E"};
  EXPECT_EQ(sent(), kEscapeAndAt + probe + restart);
  EXPECT_EQ(sleeper.waits.size(), 3u);  // none more

  device.command_set = CommandSet::Novatel;  // framed AT only: no probe
  EXPECT_EQ(initialize_modem(context), InitResult::NotResponding);
  EXPECT_EQ(sent(),
            (Entries{"exchange 00 78 F0 7E", "exchange 4B FA 00 00 32 D5 7E", "at AT+CFUN=1\r\n"}));
}

TEST_F(InitSequenceTest, RadioIsTurnedOnOrTheModemRestarted) {
  const struct {
    std::vector<const char*> states;  // answers to AT+CFUN?, in order
    Entries sent;                     // the AT+CFUN commands
    InitResult result;
    bool box;
  } cases[] = {
      {{"+CFUN: 4"}, at({"AT+CFUN?", "AT+CFUN=6"}), InitResult::ResetByCfun, false},
      {{"+CFUN: 0", "+CFUN: 1"},
       at({"AT+CFUN?", "AT+CFUN=1", "AT+CFUN?"}),
       InitResult::Ready,
       false},
      {{"+CFUN: 0", "+CFUN: 7"},
       at({"AT+CFUN?", "AT+CFUN=1", "AT+CFUN?", "AT+CFUN=4", "AT+CFUN=6"}),
       InitResult::ResetByCfun,
       false},
      {{"ERROR", "ERROR"}, at({"AT+CFUN?", "AT+CFUN=1", "AT+CFUN?"}), InitResult::InitError, true},
  };
  for (const auto& c : cases) {
    modem.clear_script();
    for (const char* state : c.states) modem.answer("AT+CFUN?", state);
    accepting_modem(CommandSet::Standard);
    EXPECT_EQ(initialize_modem(context), c.result) << c.states.back();
    Entries radio;
    for (const std::string& entry : sent())
      if (entry.rfind("at AT+CFUN", 0) == 0) radio.push_back(entry);
    EXPECT_EQ(radio, c.sent) << c.states.back();
    EXPECT_EQ(box_texts(),
              c.box ? Entries{"Sent: \"AT+CFUN?\"\nExpected: \"+CFUN: x\"\nReceived: \"ERROR\""}
                    : Entries{});
  }
}

TEST_F(InitSequenceTest, MessageIndicationsAreRetriedWhileTheModemAnswers500) {
  modem.answer("AT+CNMI=1,1,2,1,0", "+CMS ERROR: 500");
  accepting_modem(CommandSet::Standard);
  EXPECT_EQ(initialize_modem(context), InitResult::InitError);
  const Entries commands = sent();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "at AT+CNMI=1,1,2,1,0\r\n"), 15);
  EXPECT_EQ(sleeper.waits, std::vector<unsigned>(15, 1000));
  EXPECT_EQ(box_texts(), Entries{"Sent: \"AT+CNMI=1,1,2,1,0\"\nError: Exceeded 15 retries"});
}

}  // namespace
}  // namespace kivo

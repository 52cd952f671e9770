#include "setup/sim_steps.h"

#include "setup/setup_fixture.h"

namespace kivo {
namespace {

using test::Entries;

constexpr char kWrongPin[] = "Warning: Incorrect PIN entered.";
constexpr char kLastAttempt[] =
    "Warning: An incorrect PIN will lock your SIM card.\r\nPlease have your PUK code handy.";

struct PinTest : test::SetupTest {
  PinTest() { device.command_set = CommandSet::Standard; }
};

TEST_F(PinTest, WrongPinTwiceThenTheRightOne) {
  modem.answer("AT+CPIN?", "+CPIN: SIM PIN\r\n\r\nOK\r\n");
  modem.answer("AT+CPIN=1111", "+CME ERROR: 16\r\n");
  modem.answer("AT+CPIN=2222", "+CME ERROR: 16\r\n");
  modem.answer("AT+CPIN=1234", "OK\r\n");
  for (const char* pin : {"1111", "2222", "1234"}) pin_prompt.type(pin);
  EXPECT_TRUE(unlock_sim(context));
  EXPECT_EQ(sent(), (Entries{"at AT+CPIN?\r\n", "pin 99", "at AT+CPIN=1111\r\n", "at AT+CPIN?\r\n",
                             "pin 99", "at AT+CPIN=2222\r\n", "at AT+CPIN?\r\n", "pin 99",
                             "at AT+CPIN=1234\r\n"}));
  EXPECT_EQ(box_texts(), (Entries{kWrongPin, kWrongPin}));
  for (const test::ShownBox& box : boxes.shown()) {
    EXPECT_EQ(box.icon, BoxIcon::Warning);
    EXPECT_EQ(box.buttons, BoxButtons::Ok);
    EXPECT_EQ(box.caption, "KIVO");
  }
}

// Huawei reports the attempts left; the warning comes only before the very last one.
TEST_F(PinTest, HuaweiWarnsBeforeTheLastAttempt) {
  const struct {
    const char* state;
    std::uint32_t attempts;
    bool warned;
  } cases[] = {{"^CPIN: SIM PIN,3,10,3,10,3", 3, false},
               {"^CPIN: SIM PIN,1,10,1,10,3", 1, true},
               {"^CPIN: SIM PIN,0,10,0,10,3", 0, false}};
  device.command_set = CommandSet::Huawei;
  for (const auto& c : cases) {
    modem.clear_script();
    modem.answer("AT^CPIN?", c.state);
    modem.answer("AT^CPIN=4321", "OK\r\n");
    pin_prompt.type("4321");
    EXPECT_TRUE(unlock_sim(context)) << c.state;
    EXPECT_EQ(sent(), (Entries{"at AT^CPIN?\r\n", "pin " + std::to_string(c.attempts),
                               "at AT^CPIN=4321\r\n"}));
    EXPECT_EQ(box_texts(), c.warned ? Entries{kLastAttempt} : Entries{}) << c.state;
  }
  const test::ShownBox warning = boxes.shown().at(0);
  EXPECT_EQ(warning.icon, BoxIcon::Warning);
  EXPECT_EQ(warning.buttons, BoxButtons::OkCancel);

  boxes.queue_answer(BoxAnswer::Cancel);
  pin_prompt.type("4321");
  modem.clear_script();
  modem.answer("AT^CPIN?", "^CPIN: SIM PIN,1,10,1,10,3");
  EXPECT_FALSE(unlock_sim(context));
  EXPECT_EQ(sent(), (Entries{"at AT^CPIN?\r\n", "pin 1"}));  // the PIN is not sent
}

TEST_F(PinTest, SimStatesThatEndTheSequence) {
  const struct {
    const char* answer;
    std::string box;
  } cases[] = {
      {"+CPIN: SIM PUK",
       "Error: SIM card is locked.\r\nInsert the SIM card into a mobile telephone\r\nand unlock "
       "the SIM card using your PUK code."},
      {"+CME ERROR: 10", "Error: SIM card failure or SIM card not present."},
      {"+CME ERROR: 13", "Error: SIM card failure or SIM card not present."},
      {"+CPIN: PH-SIM PIN",
       "Sent: \"AT+CPIN?\"\nExpected: \"+CPIN: READY\", \"+CPIN: SIM PIN\" or \"+CPIN: SIM "
       "PUK\"\nReceived: \"+CPIN: PH-SIM PIN\""},
  };
  for (const auto& c : cases) {
    modem.clear_script();
    modem.answer("AT+CPIN?", c.answer);
    EXPECT_FALSE(unlock_sim(context)) << c.answer;
    EXPECT_EQ(sent(), Entries{"at AT+CPIN?\r\n"}) << c.answer;  // no PIN dialog
    EXPECT_EQ(box_texts(), Entries{c.box});
  }
  EXPECT_EQ(boxes.shown().at(0).icon, BoxIcon::Error);
}

TEST_F(PinTest, BusySimIsAskedAgainEverySecond) {
  for (int i = 0; i < 2; ++i) modem.answer("AT+CPIN?", "+CME ERROR: 14");
  modem.answer("AT+CPIN?", "+CPIN: READY");
  EXPECT_TRUE(unlock_sim(context));
  EXPECT_EQ(sleeper.waits, (std::vector<unsigned>{1000, 1000}));

  modem.clear_script();
  modem.answer("AT+CPIN?", "+CME ERROR: 14");
  EXPECT_FALSE(unlock_sim(context));
  EXPECT_EQ(sleeper.waits.size(), 2u + 15u);
  EXPECT_EQ(box_texts(), Entries{"Sent: \"AT+CPIN?\"\nError: Exceeded 15 retries"});
}

TEST_F(PinTest, PinNeverShows) {
  modem.answer("AT+CPIN?", "+CPIN: SIM PIN");
  modem.answer("AT+CPIN=12345678", "AT+CPIN=12345678\r\r\n+CME ERROR: 3\r\n");  // still echoing
  pin_prompt.type("12345678");
  EXPECT_FALSE(unlock_sim(context));
  EXPECT_EQ(box_texts(),
            Entries{"Sent: \"AT+CPIN=********\"\nExpected: \"OK\" or \"+CME ERROR: 16\"\nReceived: "
                    "\"AT+CPIN=********\r\r\n+CME ERROR: 3\r\n\""});
}

TEST_F(PinTest, CancelledOrMalformedPin) {
  modem.answer("AT+CPIN?", "+CPIN: SIM PIN");
  pin_prompt.type("12\r\nAT");  // pasted: never sent, asked again
  pin_prompt.cancel();
  EXPECT_FALSE(unlock_sim(context));
  EXPECT_EQ(sent(), (Entries{"at AT+CPIN?\r\n", "pin 99", "at AT+CPIN?\r\n", "pin 99"}));
  EXPECT_EQ(box_texts(), Entries{kWrongPin});
}

TEST_F(PinTest, NetworkLockStates) {
  device.command_set = CommandSet::Huawei;
  const std::string kUnknown =
      "Sent: \"AT^CARDLOCK?\"\nExpected: \"^CARDLOCK: 2,0,0\" or \"+CME ERROR: 14\" or \"COMMAND "
      "NOT SUPPORT\"\nReceived: \"OK\"";
  const struct {
    std::vector<const char*> answers;
    bool goes_on;
    std::string box;
    std::size_t sleeps;
    std::size_t queries;
  } cases[] = {
      {{"^CARDLOCK: 2,10,0\r\n\r\nOK"}, true, "", 0, 1},
      {{"COMMAND NOT SUPPORT"}, true, "", 0, 1},
      {{"^CARDLOCK: 1,10,65501"},
       false,
       "Your mobile data device is network locked.\r\nYou can only use a SIM card from operator "
       "65501.\r\nPlease contact them for an 8-digit unlock code.\r\nYou have 10 remaining "
       "attempts to enter the unlock code.",
       0,
       1},
      {{"+CME ERROR: 14", "+CME ERROR: 14", "^CARDLOCK: 2,3,0"}, true, "", 2, 3},
      {{"+CME ERROR: 14"}, false, "Sent: \"AT^CARDLOCK?\"\nError: Exceed 15 retries", 15, 15},
      {{"OK"}, false, kUnknown, 0, 1},
  };
  for (const auto& c : cases) {
    modem.clear_script();
    sleeper.waits.clear();
    for (const char* answer : c.answers) modem.answer("AT^CARDLOCK?", answer);
    EXPECT_EQ(check_network_lock(context), c.goes_on) << c.answers.front();
    EXPECT_EQ(box_texts(), c.box.empty() ? Entries{} : Entries{c.box});
    EXPECT_EQ(sleeper.waits.size(), c.sleeps);
    EXPECT_EQ(sent().size(), c.queries);
  }
}

}  // namespace
}  // namespace kivo

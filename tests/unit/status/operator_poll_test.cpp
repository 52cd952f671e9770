#include "status/operator_poll.h"

#include "status/apn_read.h"
#include "status/network_fixture.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using test::Entries;

std::string numeric(const std::string& code) {
  return "+COPS: 0,2,\"" + code + "\",2\r\n\r\nOK\r\n";
}
std::string named(const std::string& name) {
  return "+COPS: 0,0,\"" + name + "\",2\r\n\r\nOK\r\n";
}

struct OperatorTest : test::NetworkTest {
  // One operator poll's answers: the numeric query, then the long-name query.
  void script(const std::string& code_answer, const std::string& name_answer) {
    modem.clear_script();
    modem.answer("AT+COPS=3,2", "OK\r\n");
    modem.answer("AT+COPS=3,0", "OK\r\n");
    modem.answer("AT+COPS?", code_answer);
    modem.answer("AT+COPS?", name_answer);
  }
};

TEST_F(OperatorTest, FiveDigitCodeSplitsIntoMccAndTwoDigitMnc) {
  script(numeric("65501"), named("Vodacom ZA"));
  poll_operator(context);
  EXPECT_EQ(journal.take(), (Entries{"at AT+COPS=3,2\r\n", "at AT+COPS?\r\n", "text 1077 \"655\"",
                                     "text 1078 \"01\"", "at AT+COPS=3,0\r\n", "at AT+COPS?\r\n",
                                     "text 1015 \"Vodacom ZA\""}));
  EXPECT_EQ(network.snapshot.operator_code, 65501u);
}

TEST_F(OperatorTest, SixDigitCodeHasAThreeDigitMnc) {
  script("AT+COPS?\r\r\n+COPS: 1,2,310410,2\r\n\r\nOK\r\n", named("AT&T"));  // echo, no quotes
  poll_operator(context);
  EXPECT_EQ(view.text(IDC_MCC), "310");
  EXPECT_EQ(view.text(IDC_MNC), "410");
  EXPECT_EQ(network.snapshot.operator_code, 310410u);
}

TEST_F(OperatorTest, WithoutAUsableNameTheCodeNamesTheOperator) {
  const struct {
    const char* code;
    const char* name;
    const char* shown;
  } cases[] = {{"65507", "FFFFFFFFFFFF", "Cell-C"},
               {"65510", "", "MTN"},
               {"23415", "FF", "Unknown"},
               {"00001", "", ""}};
  for (const auto& c : cases) {
    network.snapshot.operator_code = 4242;
    script(numeric(c.code), named(c.name));
    poll_operator(context);
    EXPECT_EQ(view.text(IDC_OPERATOR), c.shown) << c.code;
  }
  // A modem that refuses the long format.
  network.snapshot.operator_code = 4242;
  modem.clear_script();
  modem.answer("AT+COPS=3,2", "OK\r\n");
  modem.answer("AT+COPS?", numeric("65501"));
  modem.answer("AT+COPS=3,0", "ERROR\r\n");
  poll_operator(context);
  EXPECT_EQ(view.text(IDC_OPERATOR), "Vodacom");
}

TEST_F(OperatorTest, AnUnchangedCodeAsksOnlyForTheCode) {
  script(numeric("65501"), named("Vodacom"));
  modem.answer("AT+COPS?", numeric("65501"));
  poll_operator(context);
  journal.take();
  poll_operator(context);
  EXPECT_EQ(journal.take(), (Entries{"at AT+COPS=3,2\r\n", "at AT+COPS?\r\n"}));
}

TEST_F(OperatorTest, AFailedNumericQueryEmptiesMccAndMncButStillAsksForTheName) {
  network.snapshot.operator_code = 65501;
  modem.answer("AT+COPS=3,2", "ERROR\r\n");
  modem.answer("AT+COPS=3,0", "OK\r\n");
  modem.answer("AT+COPS?", named("Vodacom"));
  poll_operator(context);
  EXPECT_EQ(journal.take(),
            (Entries{"at AT+COPS=3,2\r\n", "text 1077 \"\"", "text 1078 \"\"", "at AT+COPS=3,0\r\n",
                     "at AT+COPS?\r\n", "text 1015 \"Vodacom\""}));
  EXPECT_EQ(network.snapshot.operator_code, 0u);
}

TEST_F(OperatorTest, ALongNameIsCutToSeventyNineBytesOnACharacterBoundary) {
  script(numeric("65501"), named(std::string(100, 'N')));
  poll_operator(context);
  EXPECT_EQ(view.text(IDC_OPERATOR), std::string(79, 'N'));
  network.snapshot.operator_code = 0;
  // The 79th byte would be the first half of the two-byte "é".
  script(numeric("65501"), named(std::string(78, 'N') + "\xC3\xA9" + "xyz"));
  poll_operator(context);
  EXPECT_EQ(view.text(IDC_OPERATOR), std::string(78, 'N'));
}

TEST_F(OperatorTest, TheFirstContextsApnFillsTheApnBoxAndTheButtonIsDisabled) {
  modem.answer("AT+CGDCONT?",
               "+CGDCONT: 1,\"IP\",\"internet\",\"0.0.0.0\",0,0\r\n"
               "+CGDCONT: 2,\"IP\",\"mms\",\"0.0.0.0\",0,0\r\n\r\nOK\r\n");
  read_apn(context);
  EXPECT_EQ(journal.take(),
            (Entries{"at AT+CGDCONT?\r\n", "text 1035 \"internet\"", "enable 1034 0"}));
  for (const char* answer : {"ERROR\r\n", "+CGDCONT: 1,\"IP\",\"internet\r\n\r\nOK\r\n",
                             "+CGDCONT: 1,\"IP\",\"internet\",\"0.0.0.0\",0,0\r\n"}) {
    modem.clear_script();
    modem.answer("AT+CGDCONT?", answer);
    read_apn(context);
    EXPECT_EQ(journal.take(), (Entries{"at AT+CGDCONT?\r\n", "enable 1034 0"})) << answer;
  }
}

}  // namespace
}  // namespace kivo

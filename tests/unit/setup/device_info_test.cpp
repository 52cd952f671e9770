#include "setup/device_info.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/journal.h"
#include "support/scripted_at_channel.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using Fields = std::map<int, std::string>;
using Entries = std::vector<std::string>;

class FieldRecorder : public DeviceInfoView {
 public:
  Fields fields;
  void set_field(int control, const char* text) override { fields[control] = text; }
};

struct DeviceInfoTest : ::testing::Test {
  test::Journal journal;
  test::ScriptedAtChannel modem{journal};
  FieldRecorder view;

  Fields fill(CommandSet command_set) {
    fill_device_info(modem, command_set, "COM7", view);
    return view.fields;
  }
  Entries commands_sent() {
    Entries commands;
    for (std::string& entry : journal.take()) commands.push_back(entry.substr(3));
    return commands;
  }
};

// The bare minimum every set shows when the modem answers nothing.
const Fields kSilentModem{{IDC_INFO_PORT, "COM7"}, {IDC_INFO_PROVIDER, "Not Available"}};

Entries with_common(Entries vendor, const char* iccid) {
  for (const char* command : {"AT+CGMI\r\n", "AT+CGMR\r\n", "AT+CIMI\r\n", "AT+CGMM\r\n"})
    vendor.push_back(command);
  vendor.push_back(iccid);
  vendor.push_back("AT+CGSN\r\n");
  return vendor;
}

TEST_F(DeviceInfoTest, EachCommandSetAsksItsQueriesInOrder) {
  const char* crsm = "AT+CRSM=176,12258,0,0,10\r\n";
  const std::map<CommandSet, Entries> expected{
      {CommandSet::Standard, with_common({}, crsm)},
      {CommandSet::Huawei, with_common({"AT^SN\r\n", "AT^HWVER\r\n", "AT^SPN=0\r\n"}, crsm)},
      {CommandSet::Option, with_common({"AT_OHWV\r\n"}, crsm)},
      {CommandSet::Novatel, with_common({}, "AT$NWICCID?\r\n")},
      {CommandSet::Sierra, with_common({"AT^HVER\r\n"}, crsm)},
      {CommandSet::Nokia, with_common({}, crsm)},
  };
  for (const auto& [command_set, commands] : expected) {
    view.fields.clear();
    EXPECT_EQ(fill(command_set), kSilentModem) << static_cast<int>(command_set);
    EXPECT_EQ(commands_sent(), commands) << static_cast<int>(command_set);
  }
}

struct CapturedAnswer {
  CommandSet command_set;
  const char* command;  // without CR LF
  const char* answer;
  Fields shown;  // beside the port
};

TEST_F(DeviceInfoTest, EachAnswerShowsItsFieldOrKeepsTheTemplateText) {
  const CommandSet huawei = CommandSet::Huawei, option = CommandSet::Option;
  const char* na = "Not Available";
  const CapturedAnswer cases[] = {
      {huawei, "AT^SN", "^SN: 0123456789ABCDEF\r\n\r\nOK\r\n", {{1026, "0123456789ABCDEF"}}},
      {huawei, "AT^SN", "^SN:X\r\n\r\nOK\r\n", {}},
      {huawei, "AT^HWVER", "^HWVER:\"CD6ATCPU\"\r\n\r\nOK\r\n", {{1018, "CD6ATCPU"}}},
      {huawei, "AT^HWVER", "^HWVER:\"CD6ATCPU\r\n\r\nOK\r\n", {}},
      {huawei, "AT^HWVER", "OK^HWVER:", {}},
      {huawei, "AT^SPN=0", "^SPN:0,0,Simnet ZA\r\n\r\nOK\r\n", {{1033, "Simnet ZA"}}},
      {huawei, "AT^SPN=0", "^SPN:0,0,FFFFFFFFFFFFFFFF\r\n\r\nOK\r\n", {{1033, na}}},
      {huawei, "AT^SPN=0", "^SPN:0,0\r\n\r\nOK\r\n", {{1033, na}}},
      {huawei, "AT^SPN=0", "+CME ERROR: 13\r\n", {{1033, na}}},
      {option, "AT_OHWV", "_OHWV: 1.0,0000\r\n\r\nOK\r\n", {{1018, "1.0,0000"}}},
      {CommandSet::Sierra,
       "AT^HVER",
       "^HVER: \"MC8775-1.0\"\r\n\r\nOK\r\n",
       {{1018, "MC8775-1.0"}}},
      {option, "AT+CGMI", "Option N.V.\r\n\r\nOK\r\n", {{1021, "Option N.V."}}},
      {option, "AT+CGMI", " huawei\r\n\r\nOK\r\n", {{1021, "huawei"}}},
      {option, "AT+CGMI", "OK\r\n", {{1021, "OK"}}},
      {option, "AT+CGMI", "+CGMI: x\r\n\r\nOK\r\n", {}},
      {option, "AT+CGMI", "ERROR\r\n", {}},
      {option, "AT+CGMR", "+CGMR: 11.608.02.00.00\r\n\r\nOK\r\n", {{1020, " 11.608.02.00.00"}}},
      {option, "AT+CGMR", "2.5.11Hd\r\n\r\nOK\r\n", {{1020, "2.5.11Hd"}}},
      {option, "AT+CGMR", "OK+CGMR:", {}},
      {option, "AT+CIMI", "655011234567890\r\n\r\nOK\r\n", {{1029, "655011234567890"}}},
      {option, "AT+CIMI", "OK\r\n", {}},
      {option, "AT+CGMM", "OK\r\n", {{1019, "OK"}}},
      {option,
       "AT+CGMM",
       "GlobeTrotter HSDPA Modem\r\n\r\nOK\r\n",
       {{1019, "GlobeTrotter HSDPA Modem"}}},
      {option,
       "AT+CRSM=176,12258,0,0,10",
       "+CRSM: 144,0,\"98942000002143658709\"\r\n\r\nOK\r\n",
       {{1030, "98942000002143658709"}}},
      {option, "AT+CRSM=176,12258,0,0,10", "+CRSM: 106,130\r\n\r\nOK\r\n", {}},
      {option, "AT+CRSM=176,12258,0,0,10", "OK+CRSM: 144,0,\"98", {}},
      {CommandSet::Novatel,
       "AT$NWICCID?",
       "$NWICCID: 89490200001234567890\r\n\r\nOK\r\n",
       {{1030, "89490200001234567890"}}},
      {option,
       "AT+CGSN",
       "356938035643809,0123456789\r\n\r\nOK\r\n",
       {{1027, "356938035643809"}, {1026, "0123456789"}}},
      {option, "AT+CGSN", "356938035643809\r\n\r\nOK\r\n", {{1027, "356938035643809"}}},
      {huawei, "AT+CGSN", "356938035643809,0123\r\n\r\nOK\r\n", {{1027, "356938035643809,0123"}}},
      {huawei, "AT+CGSN", "356938035643809 OK", {}},
  };
  for (const CapturedAnswer& captured : cases) {
    modem.clear_script();
    modem.answer(captured.command, captured.answer);
    view.fields.clear();
    Fields expected{{IDC_INFO_PORT, "COM7"}, {IDC_INFO_PROVIDER, na}};
    for (const auto& [control, text] : captured.shown) expected[control] = text;
    EXPECT_EQ(fill(captured.command_set), expected) << captured.command << " " << captured.answer;
  }
}

TEST_F(DeviceInfoTest, AnMc950dIsNotAskedForItsImei) {
  modem.answer("AT+CGMM", "MC950D\r\n\r\nOK\r\n");
  modem.answer("AT+CGSN", "356938035643809\r\n\r\nOK\r\n");
  const Fields fields = fill(CommandSet::Novatel);
  EXPECT_EQ(fields.count(IDC_INFO_IMEI), 0u);
  EXPECT_EQ(fields.at(IDC_INFO_MODEL), "MC950D");
  EXPECT_EQ(commands_sent(), (Entries{"AT+CGMI\r\n", "AT+CGMR\r\n", "AT+CIMI\r\n", "AT+CGMM\r\n",
                                      "AT$NWICCID?\r\n"}));
}

// A query that times out finds the previous answer still in the response buffer; that answer
// is not the firmware's.
TEST_F(DeviceInfoTest, AQueryThatTimesOutDoesNotShowThePreviousAnswer) {
  modem.answer("AT+CGMI", "huawei\r\n\r\nOK\r\n");
  const Fields fields = fill(CommandSet::Huawei);
  EXPECT_EQ(fields.at(IDC_INFO_MANUFACTURER), "huawei");
  for (int control : {IDC_INFO_FIRMWARE, IDC_INFO_MODEL, IDC_INFO_IMSI, IDC_INFO_IMEI})
    EXPECT_EQ(fields.count(control), 0u) << control;
}

}  // namespace
}  // namespace kivo

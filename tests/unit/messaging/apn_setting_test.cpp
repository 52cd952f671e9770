#include "messaging/apn_setting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_main_view.h"
#include "support/fake_message_boxes.h"
#include "support/journal.h"
#include "support/scripted_at_channel.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

TEST(SetApnThread, WritesContextOneAndReportsWhatTheModemSaid) {
  const std::string long_apn(90, 'a');
  const struct {
    std::string typed;
    const char* answer;  // null: no answer
    Entries journal;
    const char* box;
  } rows[] = {
      {"internet",
       "\r\nOK\r\n",
       {"at AT+CGDCONT=1,\"IP\",\"internet\"\r\n", "enable 1034 0", "default 1052"},
       nullptr},
      {"internet", "\r\nERROR\r\n", {"at AT+CGDCONT=1,\"IP\",\"internet\"\r\n"}, "Set APN failed."},
      {"internet", nullptr, {"at AT+CGDCONT=1,\"IP\",\"internet\"\r\n"}, "Set APN failed."},
      {long_apn,
       "OK",
       {"at AT+CGDCONT=1,\"IP\",\"" + long_apn.substr(0, 79) + "\"\r\n", "enable 1034 0",
        "default 1052"},
       nullptr},
      {"a\",\"x", "OK", {}, "The APN may not contain double quotes or control characters."},
      {"net\r\nATD1", "OK", {}, "The APN may not contain double quotes or control characters."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.typed);
    test::Journal journal;
    test::FakeMainView view{journal};
    test::ScriptedAtChannel modem{journal};
    test::FakeMessageBoxes boxes;
    modem.answer("AT", "OK");
    modem.tx_at_command("AT\r\n");  // an earlier OK stays in the buffer
    journal.take();
    if (row.answer) modem.answer_others(row.answer);
    view.texts[IDC_APN_INPUT] = row.typed;
    set_apn_thread({modem, view, boxes});
    Entries expected = row.journal;
    expected.push_back("post 4");
    EXPECT_EQ(journal.take(), expected);
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), row.box ? 1u : 0u);
    if (row.box) {
      EXPECT_EQ(shown[0].text, row.box);
      EXPECT_EQ(shown[0].owner, BoxOwner::MainWindow);
      EXPECT_EQ(shown[0].icon, BoxIcon::Warning);
    }
  }
}

}  // namespace
}  // namespace kivo

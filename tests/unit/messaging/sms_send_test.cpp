#include "messaging/sms_send.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "messaging/sms_dialogs.h"
#include "support/fake_link_control.h"
#include "support/fake_main_view.h"
#include "support/journal.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

const std::string kPdu = "00110005912143F50000FF05C8329BFD06";  // 17 octets: TPDU 16

std::string data_of(const std::string& text) {
  return "data " + test::hex_bytes(text.data(), text.size());
}

TEST(SendPdu, TextAndCtrlZFollowOnlyAFreshPrompt) {
  struct Row {
    const char* answer;  // null: AT+CMGS times out
    int write_result;
    bool sent;
    Entries after_command;
  };
  const Row rows[] = {
      {"> ", 1, true, {"sms pending 1", data_of(kPdu + "\x1A")}},
      {"+CMS ERROR: 331\r\n", 1, false, {}},
      {"ERROR\r\n", 1, false, {}},
      // The buffer still holds the prompt of an earlier send: that is no answer.
      {nullptr, 1, false, {"data 1B 0D 0A"}},
      {"> ", 0, false, {"sms pending 1", data_of(kPdu + "\x1A"), "sms pending 0", "data 1B 0D 0A"}},
  };
  for (const Row& row : rows) {
    test::Journal journal;
    test::FakeLinkControl link(journal);
    link.answers["AT+CMGS=16\r\n"] = row.answer ? row.answer : "> ";
    if (!row.answer) {
      link.tx_at_command("AT+CMGS=16\r\n");
      link.timing_out.insert("AT+CMGS=16\r\n");
      journal.take();
    }
    link.data_result = row.write_result;
    EXPECT_EQ(send_pdu(link, kPdu), row.sent);
    Entries expected{"exclusive", "at AT+CMGS=16\r\n"};
    expected.insert(expected.end(), row.after_command.begin(), row.after_command.end());
    expected.push_back("exclusive end");
    EXPECT_EQ(journal.take(), expected) << (row.answer ? row.answer : "time-out");
  }
}

// The SMS dialog's controls: texts typed by the test, everything else recorded.
class FakeSmsDialog : public SmsDialogView {
 public:
  explicit FakeSmsDialog(test::Journal& journal) : journal_(journal) {}
  std::map<int, std::u16string> typed;
  BoxAnswer answer = BoxAnswer::Yes;

  std::u16string text(int control) const override {
    const auto it = typed.find(control);
    return it == typed.end() ? u"" : it->second;
  }
  void set_text(int control, const char* text) override { add("text", control, text); }
  void enable(int control, bool enabled) override { add("enable", control, enabled ? "1" : "0"); }
  void limit_text(int control, unsigned characters) override {
    add("limit", control, std::to_string(characters));
  }
  void focus(int control) override { add("focus", control, ""); }
  BoxAnswer show_box(const BoxRequest& request) override {
    journal_.add(std::string("box ") + request.text);
    return answer;
  }
  void run_dialog(SmsDialogEvents& dialog) override {
    journal_.add(dialog.kind() == SmsDialogKind::AnyNumber ? "any-number dialog" : "dialog");
  }
  void end_dialog() override { journal_.add("end"); }

 private:
  void add(const char* what, int control, const std::string& detail) {
    journal_.add(std::string(what) + " " + std::to_string(control) +
                 (detail.empty() ? "" : " " + detail));
  }
  test::Journal& journal_;
};

class SmsDialogTest : public ::testing::Test {
 protected:
  void type(SmsDialogEvents& dialog, int control, std::u16string text) {
    view.typed[control] = std::move(text);
    dialog.on_change(view, control);
  }

  test::Journal journal;
  test::FakeLinkControl link{journal};
  DeviceState device;
  SmsContext context{link, device};
  FakeSmsDialog view{journal};
};

TEST_F(SmsDialogTest, FixedRecipientCountsSeptetsAndSendsOnlyToAReadyModem) {
  FixedRecipientDialog dialog(context);
  dialog.on_open(view);
  EXPECT_EQ(journal.take(), (Entries{"text 1043 +12025550100", "limit 1037 160", "text 1035 160",
                                     "enable 1040 0", "focus 1037"}));
  type(dialog, IDC_SMS_MESSAGE, u"[Hi]");
  type(dialog, IDC_SMS_MESSAGE, std::u16string(81, u'\u20AC'));
  type(dialog, IDC_SMS_MESSAGE, u"");
  EXPECT_EQ(journal.take(), (Entries{"text 1035 154", "enable 1040 1", "text 1035 -2",
                                     "enable 1040 0", "text 1035 160", "enable 1040 0"}));

  view.typed[IDC_SMS_MESSAGE] = u"Hello";
  dialog.on_click(view, IDC_SMS_SEND);
  EXPECT_EQ(journal.take(), Entries{});  // not ready

  device.device_ready = true;
  link.answers["AT+CMGS=19\r\n"] = "> ";
  dialog.on_click(view, IDC_SMS_SEND);
  EXPECT_EQ(journal.take()[3], data_of("0011000B912120550501F00000FF05C8329BFD06\x1A"));

  // '?' goes out only once the user agrees; no prompt tells the user.
  view.typed[IDC_SMS_MESSAGE] = u"Gr\u00FC\u00DFe \u263A";
  view.answer = BoxAnswer::No;
  dialog.on_click(view, IDC_SMS_SEND);
  const std::string question =
      "box 1 character(s) of the message are not in the SMS alphabet and will be sent as '?'. "
      "Send it anyway?";
  EXPECT_EQ(journal.take(), Entries{question});
  view.answer = BoxAnswer::Yes;
  link.answers["AT+CMGS=21\r\n"] = "ERROR\r\n";
  dialog.on_click(view, IDC_SMS_SEND);
  EXPECT_EQ(journal.take(), (Entries{question, "exclusive", "at AT+CMGS=21\r\n", "exclusive end",
                                     "box SMS message sending failed."}));

  dialog.on_click(view, IDC_SMS_ANY_NUMBER);
  dialog.on_click(view, IDC_SMS_CLOSE);
  EXPECT_EQ(journal.take(), (Entries{"any-number dialog", "end"}));
}

TEST_F(SmsDialogTest, AnyNumberNeedsBothFieldsAndRefusesABadNumber) {
  AnyNumberDialog dialog(context);
  dialog.on_open(view);
  EXPECT_EQ(journal.take(), (Entries{"limit 1042 20", "limit 1037 70", "text 1035 70",
                                     "enable 1040 0", "focus 1042"}));
  type(dialog, IDC_SMS_MESSAGE, u"\u041F\u0440\u0438");
  type(dialog, IDC_SMS_NUMBER, u"+1 202");
  EXPECT_EQ(journal.take(), (Entries{"text 1035 67", "enable 1040 0", "enable 1040 1"}));

  dialog.on_click(view, IDC_SMS_SEND);
  EXPECT_EQ(journal.take(), Entries{"box The number may hold only digits, after an optional '+'."});

  // Sent whatever the modem's state; the link says whether it got there.
  view.typed[IDC_SMS_NUMBER] = u"0821";
  link.answers["AT+CMGS=16\r\n"] = "> ";
  dialog.on_click(view, IDC_SMS_SEND);
  EXPECT_EQ(journal.take()[3], data_of("00110004A180120018FF06041F04400438\x1A"));
}

TEST(SmsWorker, ButtonStartsOneDialogThreadThatPostsWhenClosed) {
  test::Journal journal;
  test::FakeMainView view(journal);
  test::FakeLinkControl link(journal);
  DeviceState device;
  sms_thread({link, device}, view);
  EXPECT_EQ(journal.take(), (Entries{"sms dialog", "sms dialog closed", "post 0"}));
}

}  // namespace
}  // namespace kivo

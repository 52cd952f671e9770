#include "messaging/ussd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "messaging/ussd_help.h"
#include "support/fake_main_view.h"
#include "support/fake_message_boxes.h"
#include "support/fake_worker_threads.h"
#include "support/journal.h"
#include "support/scripted_at_channel.h"
#include "view/control_ids.h"

namespace kivo {
namespace {

using Entries = std::vector<std::string>;

const char kCancel[] = "at AT+CUSD=2\r\n";
const char kStarRule[] = "USSD commands must start with '*' when not in a session.";
const char kHashRule[] = "USSD commands must end with '#'.";
const char kUnsafe[] = "The USSD code may not contain double quotes or control characters.";
const char kFailed[] = "USSD send failed.";

std::string cusd(const std::string& command) {
  return "at AT+CUSD=1,\"" + command + "\",15\r\n";
}

// What a command the modem took does to the window.
Entries accepted(const std::string& command) {
  return {cusd(command),   "text 1032 \"\"", "text 1031 \"\"",
          "enable 1030 0", "enable 1033 1",  "status USSD session active",
          "default 1052"};
}

UssdResponse answer(std::int32_t status, const char* text) {
  UssdResponse response;
  response.status = status;
  std::snprintf(response.text, sizeof response.text, "%s", text);
  return response;
}

struct UssdTest : ::testing::Test {
  test::Journal journal;
  test::FakeMainView view{journal};
  test::ScriptedAtChannel modem{journal};
  test::FakeMessageBoxes boxes;
  UssdSession session;
  UssdContext context{modem, view, boxes, session};

  UssdTest() { modem.answer_others("\r\nOK\r\n"); }

  // The texts of the boxes shown since the last call.
  std::vector<std::string> box_texts() {
    std::vector<std::string> texts;
    const auto shown = boxes.shown();
    for (std::size_t i = boxes_seen; i < shown.size(); ++i) texts.push_back(shown[i].text);
    boxes_seen = shown.size();
    return texts;
  }
  std::size_t boxes_seen = 0;
};

TEST_F(UssdTest, SendRules) {
  const struct {
    bool in_session;
    const char* command;
    Entries journal;
    const char* box;  // null: none
  } rows[] = {
      {false, "*100#", accepted("*100#"), nullptr},
      {false, "1", {}, kStarRule},
      {false, "", {}, kStarRule},
      {true, "1", accepted("1"), nullptr},  // a reply to the menu, no '#' needed
      {false, "*111", {}, kHashRule},
      {true, "*111", {}, kHashRule},
      {false, "*1\"#", {}, kUnsafe},
      {true, "1\r\nAT+CFUN=0", {}, kUnsafe},
      {true, "", {}, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    session.set_active(row.in_session);
    EXPECT_EQ(send_ussd(context, row.command), row.box == nullptr && !row.journal.empty());
    EXPECT_EQ(journal.take(), row.journal);
    EXPECT_EQ(box_texts(), row.box ? Entries{row.box} : Entries{});
  }
}

TEST_F(UssdTest, ANewCodeEndsTheRunningSessionFirstAndKeepsItsTimeOut) {
  session.set_active(true);
  ASSERT_TRUE(send_ussd(context, "*100#"));
  Entries expected{kCancel, "text 1031 \"\""};
  for (const auto& entry : accepted("*100#")) expected.push_back(entry);
  EXPECT_EQ(journal.take(), expected);
}

TEST_F(UssdTest, AnErrorOrATimeOutIsAFailedSendThatLeavesTheSessionAsItWas) {
  modem.answer("AT+CUSD=1,\"*100#\",15", "\r\nERROR\r\n");
  EXPECT_FALSE(send_ussd(context, "*100#"));
  modem.clear_script();
  modem.answer("AT", "\r\nOK\r\n");
  modem.tx_at_command("AT\r\n");  // the buffer now holds an OK the next command times out on
  EXPECT_FALSE(send_ussd(context, "*100#"));
  EXPECT_EQ(box_texts(), (Entries{kFailed, kFailed}));
  EXPECT_FALSE(session.active());
}

TEST_F(UssdTest, ASequenceWalksTheMenuOneAnswerAtATimeAndSkipsEmptyCommands) {
  test::FakeWorkerThreads threads{journal};
  WorkerSlots slots{threads};
  view.texts[IDC_USSD_INPUT] = ",*111#,,1,6,";
  on_ussd_send_button(context, slots);
  on_ussd_send_button(context, slots);  // still sending
  EXPECT_EQ(journal.take(), (Entries{"kill 1203", "timer 1202 20000", "start thread 1"}));
  threads.run(1);
  Entries expected = accepted("*111#");
  expected.push_back("post 5");
  EXPECT_EQ(journal.take(), expected);

  for (const char* reply : {"1", "6"}) {
    on_ussd_response(context, answer(1, "menu"));
    expected = {"kill 1202", "enable 1033 1", "status USSD session active", "timer 1202 20000"};
    for (const auto& entry : accepted(reply)) expected.push_back(entry);
    expected.push_back("text 1031 \"menu\"");
    EXPECT_EQ(journal.take(), expected);
  }
  on_ussd_response(context, answer(1, "more?"));  // nothing left to send: the user answers
  EXPECT_EQ(journal.take(), (Entries{"kill 1202", "enable 1033 1", "status USSD session active",
                                     "timer 1202 20000", "text 1031 \"more?\""}));
  on_ussd_response(context, answer(0, "Done"));
  EXPECT_EQ(journal.take(), (Entries{"kill 1202", "text 1031 \"Done\"", "post 16"}));
}

TEST_F(UssdTest, FinalAnswersShowTheirTextAndEndTheSession) {
  const struct {
    std::int32_t status;
    const char* text;
    const char* shown;
  } rows[] = {
      {0, "Balance R5", "Balance R5"},
      {2, "Bye", "Bye"},
      {2, "", "*** USSD terminated by network ***"},
      {3, "x", "*** other local client has responded ***"},
      {4, "", "*** operation not supported ***"},
      {5, "", "*** network time out ***"},
      {255, "", "*** bad USSD response received ***"},
      {9, "odd", "odd"},
  };
  for (const auto& row : rows) {
    on_ussd_response(context, answer(row.status, row.text));
    EXPECT_EQ(journal.take(),
              (Entries{"kill 1202", "text 1031 \"" + std::string(row.shown) + '"', "post 16"}));
  }
}

TEST_F(UssdTest, EndingTheSessionCancelsItAndResumesThePollUnlessDiscoveryRuns) {
  session.set_active(true);
  session.set_pending("1,2");
  end_ussd_session(context);
  EXPECT_EQ(journal.take(), (Entries{"kill 1202", kCancel, "text 1031 \"\"", "enable 1033 0",
                                     "status Ready", "timer 1203 2000"}));
  EXPECT_FALSE(session.active());
  EXPECT_EQ(session.take_pending(), "");

  context.discovery_running = true;
  ussd_ready(context);
  EXPECT_EQ(journal.take(), (Entries{"enable 1033 0", "status Ready"}));
}

TEST_F(UssdTest, TheHelpBoxHasNoOwnerAndItsLinesEndInCrAlone) {
  show_ussd_help(boxes, view);
  EXPECT_EQ(journal.take(), (Entries{"post 6"}));
  const auto shown = boxes.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].owner, BoxOwner::None);
  EXPECT_EQ(shown[0].caption, "USSD Help");
  EXPECT_EQ(shown[0].icon, BoxIcon::None);
  const std::string& text = shown[0].text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 34);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.rfind("MTN:\r*141#\t\t\tPre-paid TopUp balance enquiry\r*141*1#", 0), 0u);
  EXPECT_NE(text.find("\r\rVodacom:\r*100#\t\t\tBalance enquiry\r"), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind('\r') + 1),
            "KIVO will wait for a response before sending the next command.");
}

}  // namespace
}  // namespace kivo

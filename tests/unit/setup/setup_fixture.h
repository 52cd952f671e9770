#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/setup_context.h"
#include "support/fake_clock.h"
#include "support/fake_file_system.h"
#include "support/fake_main_view.h"
#include "support/fake_message_boxes.h"
#include "support/fake_pin_prompt.h"
#include "support/fake_sleeper.h"
#include "support/journal.h"
#include "support/scripted_at_channel.h"

namespace kivo::test {

using Entries = std::vector<std::string>;

// The modem setup against a scripted modem, a recording window, boxes and PIN dialog, and a
// sleeper that returns at once.
struct SetupTest : ::testing::Test {
  Journal journal;
  FakeMainView view{journal};
  ScriptedAtChannel modem{journal};
  FakeMessageBoxes boxes;
  RecordingSleeper sleeper;
  FakePinPrompt pin_prompt{journal};
  NetworkState network;
  DeviceState device;
  FakeFileSystem files;
  FakeClock clock;
  SetupContext context{modem, view, boxes, sleeper, pin_prompt, network, device, files, clock};

  // A modem of `command_set` that accepts whatever it is sent, except where a test has already
  // scripted the command.
  void accepting_modem(CommandSet command_set) {
    device.command_set = command_set;
    modem.answer_others("OK\r\n");
    const char* answers[][2] = {{"AT+CFUN?", "+CFUN: 1"},
                                {"AT+CPIN?", "+CPIN: READY"},
                                {"AT^CPIN?", "^CPIN: READY,,,,,"},
                                {"AT^HS=0,0", "^HS:0,0,2,0,0"},
                                {"AT^CARDLOCK?", "^CARDLOCK: 2,10,0"},
                                {"AT^SYSINFO", "^SYSINFO:2,3,0,5,1,,4"}};
    for (const auto& a : answers)
      if (!modem.scripted(a[0])) modem.answer(a[0], std::string(a[1]) + "\r\n\r\nOK\r\n");
  }

  // What went to the modem, in order: commands, raw writes and exchanges, PIN dialogs.
  Entries sent() {
    Entries kept;
    for (std::string& entry : journal.take())
      for (const char* kind : {"at ", "data ", "exchange ", "pin "})
        if (entry.rfind(kind, 0) == 0) kept.push_back(entry);
    return kept;
  }

  // The texts of the boxes shown since the last call.
  Entries box_texts() {
    const std::vector<ShownBox> shown = boxes.shown();
    Entries texts;
    for (std::size_t i = boxes_seen_; i < shown.size(); ++i) texts.push_back(shown[i].text);
    boxes_seen_ = shown.size();
    return texts;
  }

 private:
  std::size_t boxes_seen_ = 0;
};

}  // namespace kivo::test

#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "link/modem_link.h"
#include "modemsim_process.h"
#include "support/fake_message_boxes.h"
#include "support/recording_notices.h"
#include "support/recording_trace.h"
#include "termios_serial_port.h"

namespace kivo::integration {

// A modem link to the simulator over its pseudo-terminal, with sinks that record what it posts.
class LinkOverPty : public ::testing::Test {
 protected:
  // Starts the simulator (as ModemsimProcess does) and opens the link to it.
  void start(CommandSet set, const std::string& scenario = "",
             std::vector<std::string> arguments = {}) {
    command_set = set;
    modem = std::make_unique<ModemsimProcess>(scenario, std::move(arguments));
    ASSERT_FALSE(modem->pty().empty());
    // Short waits: a test that expects a time-out need not wait two seconds for it.
    link = std::make_unique<ModemLink>(ModemLinkContext{opener, notices, trace, boxes, command_set},
                                       ModemLinkTimings{500, 1000});
    ASSERT_EQ(link->open_modem_link(modem->pty().c_str()), 1);
  }

  TermiosSerialPortOpener opener;
  test::RecordingNoticeSink notices;
  test::RecordingTraceSink trace_lines;
  Trace trace{trace_lines};
  test::FakeMessageBoxes boxes;
  std::atomic<CommandSet> command_set{CommandSet::Standard};
  std::unique_ptr<ModemsimProcess> modem;
  std::unique_ptr<ModemLink> link;
};

}  // namespace kivo::integration

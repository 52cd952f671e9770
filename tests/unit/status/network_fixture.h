#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "status/network_context.h"
#include "support/fake_clock.h"
#include "support/fake_file_system.h"
#include "support/fake_main_view.h"
#include "support/journal.h"
#include "support/scripted_at_channel.h"

namespace kivo::test {

using Entries = std::vector<std::string>;

// The network-status operations against a scripted modem and a recording window.
struct NetworkTest : ::testing::Test {
  Journal journal;
  FakeMainView view{journal};
  ScriptedAtChannel modem{journal};
  NetworkState network;
  DeviceState device;
  FakeFileSystem files;
  FakeClock clock;
  NetworkContext context{modem, view, network, device, files, clock};

  // Only the commands sent, in order.
  Entries commands() {
    Entries sent;
    for (std::string& entry : journal.take())
      if (entry.compare(0, 3, "at ") == 0) sent.push_back(std::move(entry));
    return sent;
  }
};

}  // namespace kivo::test

#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/fake_clock.h"
#include "support/fake_file_system.h"
#include "support/fake_main_view.h"
#include "support/fake_sleeper.h"
#include "support/journal.h"
#include "support/recording_trace.h"
#include "support/scripted_at_channel.h"
#include "usage/usage_context.h"
#include "usage/usage_state.h"

namespace kivo::test {

using Entries = std::vector<std::string>;

constexpr char kUsagePath[] = "C:\\ProgramData\\KIVO\\usage.bin";
constexpr char kSessionLogPath[] = "C:\\ProgramData\\KIVO\\sessionlog.csv";

// The usage and connection operations against a scripted modem, a recording window, files in
// memory and a clock standing at 2009-03-07 14:05:09.
struct UsageTest : ::testing::Test {
  Journal journal;
  FakeMainView view{journal};
  ScriptedAtChannel modem{journal};
  FakeFileSystem files;
  FakeClock clock;
  RecordingTraceSink sink;
  Trace trace{sink};
  UsageState state;
  RecordingSleeper sleeper;
  UsageContext context{modem, view, state, files, clock, sleeper, trace};

  UsageTest() {
    std::snprintf(state.data_paths.usage_file_path, sizeof state.data_paths.usage_file_path, "%s",
                  kUsagePath);
    std::snprintf(state.data_paths.session_log_path, sizeof state.data_paths.session_log_path, "%s",
                  kSessionLogPath);
    clock.set(2009, 3, 7, 14, 5, 9);
  }

  std::string text(int control) const { return view.text(control); }
  std::string session_log() const {
    auto it = files.files.find(kSessionLogPath);
    return it == files.files.end() ? std::string() : it->second;
  }
  // The event column of every session-log row, in order.
  Entries logged_events() const {
    Entries events;
    std::istringstream rows(session_log());
    for (std::string row; std::getline(rows, row);) {
      // "date","time","event",numbers
      const std::size_t start = row.find("\",\"", row.find("\",\"") + 3) + 3;
      events.push_back(row.substr(start, row.find('"', start) - start));
    }
    return events;
  }
  // Only the commands sent, in order.
  Entries commands() {
    Entries sent;
    for (std::string& entry : journal.take())
      if (entry.compare(0, 3, "at ") == 0) sent.push_back(std::move(entry));
    return sent;
  }
  std::vector<std::string> traces() const { return sink.lines(); }
};

}  // namespace kivo::test
